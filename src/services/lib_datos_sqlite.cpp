// LibDatos: opening the embedded database file.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include "services/bases_usadas.h"
#include "services/carpetas.h"
#include "services/convenciones.h"
#include "services/esquema.h"
#include "services/falla.h"
#include "services/fallas_motor.h"
#include "services/lib_datos.h"
#include "services/operador.h"

namespace {

// The file and the files SQLite keeps beside it.
void BorrarArchivos(const QString& ruta) {
  for (const char* sufijo : {"", "-wal", "-shm", "-journal"})
    QFile::remove(ruta + QLatin1String(sufijo));
}

// The first sentence of the failure's message: what happened, without what
// to do about an entry, since at start there is none.
QString Causa(const Falla& falla) { return falla.Mensaje().section(QLatin1Char('\n'), 0, 0); }

}  // namespace

bool LibDatos::AbrirSqlite() {
  if (BaseDeDatos.trimmed().isEmpty()) BaseDeDatos = QStringLiteral("laboratorio");
  QString ruta = BaseDeDatos.trimmed();
  if (!QDir::isAbsolutePath(ruta)) ruta = carpetas::DeDatos() + QLatin1Char('/') + ruta;
  if (QFileInfo(ruta).suffix().isEmpty()) ruta += QStringLiteral(".sqlite");
  const QString donde = QStringLiteral("«%1»").arg(ruta);

  const bool existia = QFileInfo::exists(ruta);
  if (!existia && bases_usadas::UsadaAntes(ruta)) {
    // A disk not plugged in, a share not mounted: a new empty database in
    // its place would take the lab's entries from now on without a word.
    const bool crear = ElOperador().Confirmar(
        QStringLiteral("Atención!"),
        QStringLiteral("Muy importante...\r\nLa base de datos %1, que este equipo ya usó, no "
                       "está. Si está en un disco o carpeta de red, responda No, conéctelo y "
                       "vuelva a abrir el programa; Sí crea una base nueva y vacía en su "
                       "lugar.\r\n-Esta seguro de Continuar...?")
            .arg(donde),
        Operador::PorDefecto::No);
    if (!crear) return false;
  }
  // A file that cannot be written is opened to be read: immutable, since a
  // file in WAL mode otherwise needs to write beside itself even to read.
  const bool soloLectura = existia && !QFileInfo(ruta).isWritable();
  if (!existia) QDir().mkpath(QFileInfo(ruta).absolutePath());

  QString falla;
  {
    QSqlDatabase base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kNombreConexion);
    if (soloLectura) {
      base.setDatabaseName(QUrl::fromLocalFile(ruta).toString(QUrl::FullyEncoded) +
                           QStringLiteral("?immutable=1"));
      base.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI"));
    } else {
      base.setDatabaseName(ruta);
    }
    if (!base.open()) {
      falla = QStringLiteral("No se pudo abrir el archivo %1: %2")
                  .arg(donde, base.lastError().text().trimmed());
    } else {
      try {
        const QStringList tablas = esquema::Tablas(base, Motor::Sqlite, donde);
        if (tablas.isEmpty() && soloLectura)
          throw Falla(Falla::kSoloLectura,
                      QStringLiteral("El archivo %1 está vacío y no se puede escribir: no se "
                                     "pueden crear en él las tablas del laboratorio.")
                          .arg(donde));
        // Before anything is written: a file of another program, or of a newer
        // version of this one, is refused untouched. Its message is the whole
        // of what the operator is told.
        try {
          esquema::Preparar(base, Motor::Sqlite, donde, soloLectura);
        } catch (const Falla& error) {
          falla = error.Mensaje();
        }
        if (falla.isEmpty() && !soloLectura) {
          QSqlQuery pragma(base);
          // A cell the operator confirmed must survive a crash or a power cut.
          for (const char* sentencia : {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL"}) {
            if (!pragma.exec(QString::fromLatin1(sentencia))) {
              const QSqlError error = pragma.lastError();
              throw fallas_motor::Construir(fallas_motor::Clasificar(Motor::Sqlite, error), error,
                                            donde, true, 0);
            }
          }
        }
      } catch (const Falla& error) {
        if (error.Codigo() == Falla::kBaseDeDatos)
          falla = QStringLiteral("No se pudo preparar la base de datos %1: %2")
                      .arg(donde, error.Mensaje());
        else if (error.Codigo() == Falla::kArgumentoInvalido ||
                 error.Codigo() == Falla::kSoloLectura)
          falla = error.Mensaje();
        else
          falla = Causa(error);
      }
    }
  }
  // The connection's handles must be gone before NoSePudo removes it, and
  // before the files a failed creation made are removed.
  if (!falla.isEmpty()) {
    NoSePudo(falla);
    if (!existia) BorrarArchivos(ruta);
    return false;
  }
  conexion_ =
      std::make_unique<::Conexion>(kNombreConexion, Motor::Sqlite, ruta, donde, soloLectura);
  // Per connection: applied again whenever the connection is reopened.
  // (It ran a moment ago on this same handle; Conectar never throws.)
  if (!soloLectura)
    Intentar([&] { conexion_->Preparar(QStringLiteral("PRAGMA synchronous = FULL")); });
  bases_usadas::Recordar(ruta);
  descripcion_ = QStringLiteral("Motor=sqlite;Archivo=%1").arg(ruta);
  return true;
}
