#pragma once
// EntornoPrueba: a clean world for one test case. A temporary folder holds the
// program's folder, the data and configuration folders and the database; the
// scripted operator is installed; the session's shared state and connection are
// reset. With PRUEBA_MOTOR=postgresql the database is a new one on the test
// server (PRUEBA_PG_PUERTO), with the schema applied, and the configuration folder's INI says so.
//
// Parametros() is the start-up parameter string that reaches that database.

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "services/dialecto.h"
#include "soporte/operador_guionado.h"

class EntornoPrueba {
 public:
  EntornoPrueba();
  ~EntornoPrueba();

  // True when the engine asked for can be used; otherwise the reason is in
  // Motivo() (the test skips, or fails on CI).
  bool Listo() const { return listo_; }
  QString Motivo() const { return motivo_; }

  Motor motor() const { return motor_; }
  bool EsPostgresql() const { return motor_ == Motor::Postgresql; }
  QString Carpeta() const { return temporal_.path(); }
  QString CarpetaPrograma() const;
  QString Parametros(const QString& usuarioLogeado = QStringLiteral("ana")) const;

  // Runs the session start with Parametros(); its result.
  bool Iniciar(const QString& usuarioLogeado = QStringLiteral("ana"));

  // Writes a file whole, making its folder; false when it cannot.
  static bool EscribirArchivo(const QString& ruta, const QByteArray& contenido);

  // Writes RO000za.INI in the program's folder. (For PostgreSQL the engine's
  // [Datos] section lies in the configuration folder's INI.)
  void EscribirIni(const QString& contenido) const;

  // A second connection to the test database, for reading what the program
  // wrote. Opens the database on first use (after the program created it).
  QSqlDatabase Otra();

  // A new connection of that name to the test database, opened; for another
  // station in a thread of its own (a connection is used in the thread that
  // opened it).
  QSqlDatabase Abrir(const QString& nombre) const;

  // Runs one statement on the second connection; fails the test when it fails.
  void Ejecutar(const QString& sql);

  OperadorGuionado& operador() { return *operador_; }

 private:
  void PrepararPostgresql();

  QTemporaryDir temporal_;
  Motor motor_ = Motor::Sqlite;
  bool listo_ = true;
  QString motivo_;
  QString basePg_;
  QString conexionOtra_;
  OperadorGuionado* operador_ = nullptr;
  std::unique_ptr<Operador> anterior_;
};

// Skips the test when the engine is out of reach, or fails it on CI, where the
// server must be there.
#define REQUIERE_ENTORNO(entorno)                                                 \
  do {                                                                            \
    if (!(entorno).Listo()) {                                                     \
      if (qEnvironmentVariableIsSet("CI")) QFAIL(qPrintable((entorno).Motivo())); \
      QSKIP(qPrintable((entorno).Motivo()));                                      \
    }                                                                             \
  } while (false)
