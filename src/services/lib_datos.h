#pragma once
// LibDatos: the session's one database connection and the statements run on
// it. Set Servidor, BaseDeDatos, Usuario and Password, then Conectar.
//
// The engine: with no server, the embedded SQLite database, whose file is
// BaseDeDatos (an absolute path, or a name in the data folder; empty means
// "laboratorio"), created with its schema on first use. With a server,
// PostgreSQL at that host; a database there without tables gets the schema.
// On both, an older schema is upgraded and a newer one refused (esquema.h).
// The INI file may choose the engine: section "Datos",
// key "Motor" ("sqlite", "postgresql" or "odbc" for SQL Server), key "Puerto".
//
// The embedded file: a file that does not exist where this station opened one
// before is not created without the operator's Yes; a file with tables of
// another program and none of the lab's is refused; only an empty or new file
// gets the schema, and a creation that fails leaves no file behind. A file
// that cannot be written is opened to be read (SoloLectura()); its stores
// are refused with a message.
//
// Conectar never throws: when no connection can be opened it tells the operator
// why (the engine's reason, never the password) and Conectado() stays false.
// Every other operation throws Falla on failure (conexion.h says which).
//
// INI section "Datos", key "EsperaBloqueo": the seconds an operator's
// statement waits for another station's lock (5 when missing).

#include <QString>
#include <QVariant>
#include <memory>

#include "services/conexion.h"
#include "services/recordset.h"

class LibDatos {
 public:
  static LibDatos& Instancia();

  QString Servidor;
  QString BaseDeDatos;
  QString Usuario;
  QString Password;

  // sinServidor: the embedded database (unless the INI says otherwise). modo
  // and extra (the old library's prompt mode and extra text) are ignored: this
  // library never prompts. Returns Conectado().
  bool Conectar(bool sinServidor, int modo, const QString& extra);
  bool Conectado() const;
  // The session has a connection, open or lost since (it may be reopened).
  bool HayConexion() const { return conexion_ != nullptr; }
  // Closes the connection (tests, and a later Conectar to another database).
  void Desconectar();

  // The embedded file could only be opened to be read.
  bool SoloLectura() const;

  ::Conexion& Conexion();
  // The connection's description, without the password.
  QString CadenaConexion() const;

  // Runs one statement that returns no rows.
  void Ejecutar(const QString& sql);
  // Opens the caller's recordset on a statement, forward only and read only;
  // tipoCursor, tipoBloqueo and opcion are ignored.
  void AbrirConsulta(const QString& sql, Recordset& filas, int tipoCursor = 0, int tipoBloqueo = 1,
                     bool opcion = true);
  void CerrarConsulta(Recordset& filas);
  // Whether the table has the column, names compared without regard to case. A
  // table that does not exist has no columns.
  bool ExisteCampo(const QString& tabla, const QString& columna);

  // The value as statement text. Format "@" is a number: an optional sign,
  // digits and at most one decimal separator ("," or "."), written back with a
  // point; an empty value gives NULL. The number must be one every engine's
  // number column stores as that very value: at most 15 significant digits,
  // and zero or between about 2.2E-308 and 1.8E+308 in absolute value (a
  // double's range). Anything else throws Falla (kTipoIncompatible).
  static QString FormatoSql(const QVariant& valor, const QString& formato);

 private:
  LibDatos() = default;
  bool AbrirSqlite();  // lib_datos_sqlite.cpp
  bool AbrirServidor(const QString& driver, int puerto);
  void NoSePudo(const QString& razon);

  std::unique_ptr<::Conexion> conexion_;
  QString descripcion_;
  int esperaBloqueo_ = 5;
};

// The name of the session's connection among Qt's connections.
inline const QString kNombreConexion = QStringLiteral("harina");
