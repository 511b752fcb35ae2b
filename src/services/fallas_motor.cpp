#include "services/fallas_motor.h"

namespace fallas_motor {
namespace {

// SQLite's primary result codes, as QSQLITE reports them.
constexpr int kBusy = 5;
constexpr int kLocked = 6;
constexpr int kReadonly = 8;
constexpr int kIoerr = 10;
constexpr int kCorrupt = 11;
constexpr int kFull = 13;
constexpr int kCantopen = 14;
constexpr int kNotadb = 26;

Clase ClaseSqlite(const QSqlError& error) {
  bool numero = false;
  const int codigo = error.nativeErrorCode().toInt(&numero) & 0xff;
  if (!numero) return Clase::Otra;
  switch (codigo) {
    case kBusy:
    case kLocked:
      return Clase::Ocupada;
    case kReadonly:
      return Clase::SoloLectura;
    case kFull:
      return Clase::DiscoLleno;
    case kCorrupt:
    case kNotadb:
      return Clase::Danada;
    case kIoerr:
    case kCantopen:
      return Clase::SinConexion;
    default:
      return Clase::Otra;
  }
}

Clase ClaseServidor(const QSqlError& error) {
  const QString estado = error.nativeErrorCode().trimmed();
  // SQLSTATE: 55P03 lock_not_available, 40P01 deadlock, 53100 disk_full,
  // 25006 read_only_sql_transaction, class 08 and 57P0x: the connection.
  if (estado == QLatin1String("55P03") || estado == QLatin1String("40P01")) return Clase::Ocupada;
  if (estado == QLatin1String("53100")) return Clase::DiscoLleno;
  if (estado == QLatin1String("25006")) return Clase::SoloLectura;
  if (estado.startsWith(QLatin1String("08")) || estado.startsWith(QLatin1String("57P")))
    return Clase::SinConexion;
  if (error.type() == QSqlError::ConnectionError) return Clase::SinConexion;
  // libpq reports a connection that went away without a state of its own.
  const QString texto = error.text().toLower();
  for (const char* senal :
       {"server closed the connection", "terminating connection", "no connection to the server",
        "could not connect", "connection refused", "could not send data", "could not receive data",
        "connection timed out", "ssl syscall"}) {
    if (texto.contains(QLatin1String(senal))) return Clase::SinConexion;
  }
  return Clase::Otra;
}

QString Razon(const QSqlError& error) {
  const QString texto = error.text().trimmed();
  return texto.isEmpty() ? QString() : QStringLiteral("\n(%1)").arg(texto);
}

}  // namespace

Clase Clasificar(Motor motor, const QSqlError& error) {
  return motor == Motor::Sqlite ? ClaseSqlite(error) : ClaseServidor(error);
}

QStringView Verbo(const QString& sql) {
  // A view: every statement asks, and a copy of its text each time showed
  // on the path of a stored cell.
  const QStringView texto = QStringView(sql).trimmed();
  const qsizetype fin = texto.indexOf(QLatin1Char(' '));
  return fin < 0 ? texto : texto.left(fin);
}

bool Escribe(const QString& sql) {
  const QStringView inicio = Verbo(sql);
  return inicio.compare(QLatin1String("SELECT"), Qt::CaseInsensitive) != 0 &&
         inicio.compare(QLatin1String("WITH"), Qt::CaseInsensitive) != 0 &&
         inicio.compare(QLatin1String("PRAGMA"), Qt::CaseInsensitive) != 0;
}

QString QuePaso(bool escribe) {
  return escribe ? QStringLiteral("No se guardó nada: lo que tecleó sigue en pantalla.")
                 : QStringLiteral("No se leyó nada; los datos guardados no cambiaron.");
}

Falla Construir(Clase clase, const QSqlError& error, const QString& donde, bool escribe,
                int espera) {
  const QString entrada = QuePaso(escribe);
  const QString razon = Razon(error);
  switch (clase) {
    case Clase::Ocupada:
      return Falla(Falla::kOcupada,
                   QStringLiteral("La base de datos %1 está ocupada: otra estación u otro "
                                  "programa la tiene bloqueada y no la soltó en %2 s.\n%3\n"
                                  "Espere un momento y pulse Reintentar.%4")
                       .arg(donde)
                       .arg(espera)
                       .arg(entrada, razon));
    case Clase::SinConexion:
      return Falla(Falla::kConexion,
                   QStringLiteral("Se perdió la conexión con la base de datos %1.\n%2\n"
                                  "Compruebe la red, el disco o que el servidor esté en marcha, "
                                  "y pulse Reintentar.%3")
                       .arg(donde, entrada, razon));
    case Clase::SoloLectura:
      return Falla(Falla::kSoloLectura,
                   QStringLiteral("La base de datos %1 está abierta solo para lectura: no admite "
                                  "cambios.\n%2\nPida permiso de escritura sobre ella y vuelva a "
                                  "abrir el programa.%3")
                       .arg(donde, entrada, razon));
    case Clase::DiscoLleno:
      return Falla(Falla::kDiscoLleno,
                   QStringLiteral("No queda espacio en el disco de la base de datos %1.\n%2\n"
                                  "Libere espacio en ese disco y pulse Reintentar.%3")
                       .arg(donde, entrada, razon));
    case Clase::Danada:
      return Falla(Falla::kDanada,
                   QStringLiteral("La base de datos %1 está dañada.\n%2\nNo siga trabajando en "
                                  "ella: avise a quien la administra para recuperarla de la copia "
                                  "de seguridad.%3")
                       .arg(donde, entrada, razon));
    case Clase::Otra:
      break;
  }
  return Falla(
      Falla::kBaseDeDatos,
      QStringLiteral("La base de datos rechazó la sentencia: %1").arg(error.text().trimmed()));
}

Falla ArchivoCambiado(const QString& donde, bool desaparecido, bool escribe) {
  const QString que = desaparecido
                          ? QStringLiteral(
                                "El archivo de la base de datos %1 ya no está: se quitó el "
                                "disco, se desconectó la carpeta compartida o se borró.")
                          : QStringLiteral(
                                "El archivo de la base de datos %1 fue reemplazado por otro "
                                "archivo desde que se abrió.");
  return Falla(Falla::kArchivoCambiado,
               que.arg(donde) + QLatin1Char('\n') + QuePaso(escribe) +
                   QStringLiteral("\nVuelva a conectar el disco o la carpeta y pulse Reintentar; "
                                  "si no vuelve, cierre el programa."));
}

}  // namespace fallas_motor
