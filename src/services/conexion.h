#pragma once
// Conexion: the one open database connection of the session, as the program
// statements see it. Execute runs a statement and returns its rows forward
// only; every failure throws a Falla whose message says what happened, what
// became of the operator's entry and what to do (fallas_motor.h).
//
// Before every statement:
//  - on the embedded database, the file must still be the one that was
//    opened (same device and inode): a disk pulled out or a share unmounted
//    refuses the statement (kArchivoCambiado) instead of writing into a file
//    nobody will see again. The path is looked up only when the file's guard
//    cannot vouch for it (guardia_archivo.h);
//  - a connection lost and not yet reopened is reopened first.
// While a statement runs the busy cursor shows; keys typed while it waited
// are dropped, never taken as the answer to the message that follows.
//
// Waits: an interactive statement waits for another station's lock at most
// EsperaBloqueo() seconds (SQLite's busy wait, PostgreSQL's lock_timeout);
// inside an EsperaLarga (the report) it waits CommandTimeout() seconds.
//
// A connection lost under a statement is reopened at once; a statement that
// may be run twice without harm (anything but an INSERT, or a statement of a
// transaction, which was lost with the connection) is then run once more, so that a server
// restarted while the window sat idle costs the operator nothing. The settings given to Preparar,
// SetCommandTimeout and SetEsperaBloqueo are applied again on every reopening.

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <memory>

#include "services/dialecto.h"
#include "services/falla.h"
#include "services/guardia_archivo.h"
#include "services/recordset.h"
#include "services/sentencias_sqlite.h"

class Conexion {
 public:
  // archivo: the embedded database's file (empty for a server); donde: how
  // the messages name the database (the file, or "servidor:puerto/base").
  Conexion(QString nombreConexion, Motor motor, QString archivo = {}, QString donde = {},
           bool soloLectura = false);
  Conexion(const Conexion&) = delete;
  Conexion& operator=(const Conexion&) = delete;

  const Dialecto& dialecto() const { return dialecto_; }
  QSqlDatabase Base() const;
  const QString& Donde() const { return donde_; }
  // The embedded database's file; empty for a server.
  const QString& Archivo() const { return archivo_; }
  // A failure that may pass by itself: the server out of reach, or the
  // embedded file not there (a share unmounted). A file replaced by another
  // is not: nothing waits for it.
  bool Pasajera(const Falla& falla) const;
  // The connection is known to be gone: closed after a reopening failed, or
  // closed by the server (seen without running a statement).
  bool Perdida() const;
  bool SoloLectura() const { return soloLectura_; }

  // filasAfectadas, when given, receives how many rows an INSERT, UPDATE or
  // DELETE changed (-1 when the engine cannot tell).
  Recordset Execute(const QString& sql, int* filasAfectadas = nullptr);
  // A statement with values bound in the order of its '?' marks, prepared
  // once per text and kept while the connection lives, so that the
  // statements of every stored cell are not parsed again: the values of its
  // first row (empty when it gives none). A null text is bound as an empty
  // one, never as Null.
  QVariantList Execute(const QString& sql, const QVariantList& valores,
                       int* filasAfectadas = nullptr);

  // Every row of a statement, read at once (a day's sheet): each row's
  // values by position, as Recordset::Valor gives them. On the embedded
  // engine the rows are read straight from it.
  QList<QVariantList> Filas(const QString& sql);

  // Runs a setting now and on every reopening (PRAGMA synchronous, ...).
  void Preparar(const QString& sentencia);

  // Seconds a statement may run before the engine gives up; also the lock
  // wait of the statements inside an EsperaLarga.
  void SetCommandTimeout(int segundos);
  int CommandTimeout() const { return tiempoLimite_; }

  // Seconds an interactive statement waits for a lock.
  void SetEsperaBloqueo(int segundos);
  int EsperaBloqueo() const { return esperaBloqueo_; }

  // While one lives, statements wait for locks as long as CommandTimeout().
  class EsperaLarga {
   public:
    explicit EsperaLarga(Conexion& conexion);
    ~EsperaLarga();
    EsperaLarga(const EsperaLarga&) = delete;
    EsperaLarga& operator=(const EsperaLarga&) = delete;

   private:
    Conexion& conexion_;
  };

 private:
  int EsperaActual() const { return larga_ > 0 ? tiempoLimite_ : esperaBloqueo_; }
  void AplicarEspera();
  // Throws kArchivoCambiado when the file is no longer the one opened.
  void ComprobarArchivo(bool escribe) const;
  // Opens the connection again and applies its settings; false when it
  // cannot be opened.
  bool Reabrir();
  Recordset Ejecutar(const QString& sql, int* filasAfectadas, bool reintentable);
  QVariantList EjecutarPreparada(const QString& sql, const QVariantList& valores,
                                 int* filasAfectadas, bool reintentable);
  // Runs the statement (the text sql, or the prepared one when sql is null)
  // under the busy cursor and the silence watch; silencio tells whether the
  // watch cut it off.
  bool Correr(QSqlQuery& consulta, const QString* sql, bool& silencio);
  // A failed statement: returns when the connection was reopened and the
  // statement may run again; otherwise throws its Falla.
  void Reintentar(const QString& sql, const QSqlError& error, bool silencio, bool reintentable);
  // Throws the Falla of a statement the engine refused, with no second try:
  // a statement already under way, or one on the embedded engine, whose
  // file is never reopened under a statement.
  [[noreturn]] void Rechazar(const QString& sql, const QSqlError& error) const;
  // The checks and bookkeeping every statement passes before it runs; its
  // run may be retried on a reopened connection.
  bool Antes(const QString& sql);

  QString nombre_;
  QString archivo_;
  QString donde_;
  bool soloLectura_;
  // The file's name as the system takes it, made once: it is looked at on
  // every COMMIT that the guard cannot vouch for.
  QByteArray archivoCodificado_;
  mutable std::unique_ptr<GuardiaArchivo> guardia_;
  quint64 dispositivo_ = 0;
  quint64 inodo_ = 0;
  QStringList preparacion_;
  QString sentenciaTiempo_;  // the latest time-out setting
  Dialecto dialecto_;
  int tiempoLimite_ = 30;
  int esperaBloqueo_ = 5;
  int larga_ = 0;
  bool transaccion_ = false;              // between a BEGIN and its COMMIT or ROLLBACK
  QHash<QString, QSqlQuery> preparadas_;  // of the open connection
  SentenciasSqlite nativas_;              // the same, on the embedded engine
  // The connection named nombre_, held while this lives (the session closes
  // and removes it only after this is gone).
  QSqlDatabase base_;
};
