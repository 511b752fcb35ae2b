#include "services/conexion.h"

#include <sys/stat.h>

#include <QFile>
#include <QSqlError>
#include <chrono>
#include <utility>

#include "services/accion_operador.h"
#include "services/falla.h"
#include "services/fallas_motor.h"
#include "services/vigilante_socket.h"

namespace {

// Seconds a server may stay silent beyond the statement's lock wait.
constexpr int kMargenSilencio = 5;

bool Identidad(const QString& archivo, quint64& dispositivo, quint64& inodo) {
  struct stat datos {};
  if (::stat(QFile::encodeName(archivo).constData(), &datos) != 0) return false;
  dispositivo = static_cast<quint64>(datos.st_dev);
  inodo = static_cast<quint64>(datos.st_ino);
  return true;
}

bool EmpiezaCon(const QString& sql, QLatin1String verbo) {
  return sql.trimmed().section(QLatin1Char(' '), 0, 0).compare(verbo, Qt::CaseInsensitive) == 0;
}

bool EsInsert(const QString& sql) { return EmpiezaCon(sql, QLatin1String("INSERT")); }

}  // namespace

Conexion::Conexion(QString nombreConexion, Motor motor, QString archivo, QString donde,
                   bool soloLectura)
    : nombre_(std::move(nombreConexion)),
      archivo_(std::move(archivo)),
      donde_(std::move(donde)),
      soloLectura_(soloLectura),
      dialecto_(motor) {
  if (!archivo_.isEmpty()) Identidad(archivo_, dispositivo_, inodo_);
}

QSqlDatabase Conexion::Base() const { return QSqlDatabase::database(nombre_, false); }

void Conexion::ComprobarArchivo(bool escribe) const {
  if (archivo_.isEmpty()) return;
  quint64 dispositivo = 0;
  quint64 inodo = 0;
  if (!Identidad(archivo_, dispositivo, inodo))
    throw fallas_motor::ArchivoCambiado(donde_, true, escribe);
  if (dispositivo != dispositivo_ || inodo != inodo_)
    throw fallas_motor::ArchivoCambiado(donde_, false, escribe);
}

Recordset Conexion::Execute(const QString& sql, int* filasAfectadas) {
  // The operator has been told this action that the database is out of
  // reach: no second message, and no second wait.
  if (const std::optional<Falla> avisada = accion_operador::Avisada()) throw *avisada;
  ComprobarArchivo(fallas_motor::Escribe(sql));
  if (!Base().isOpen() && !Reabrir())
    throw fallas_motor::Construir(fallas_motor::Clase::SinConexion, Base().lastError(), donde_,
                                  fallas_motor::Escribe(sql), 0);
  // A statement of a transaction is never run again on a reopened
  // connection: the transaction went with the old one, and the rest of it
  // would be written outside any transaction (a COMMIT then "succeeds" with
  // nothing to commit).
  const bool dentro = transaccion_;
  if (EmpiezaCon(sql, QLatin1String("BEGIN")))
    transaccion_ = true;
  else if (EmpiezaCon(sql, QLatin1String("COMMIT")) || EmpiezaCon(sql, QLatin1String("ROLLBACK")))
    transaccion_ = false;
  try {
    return Ejecutar(sql, filasAfectadas, !EsInsert(sql) && !dentro);
  } catch (const Falla&) {
    if (!dentro) transaccion_ = false;
    throw;
  }
}

Recordset Conexion::Ejecutar(const QString& sql, int* filasAfectadas, bool reintentable) {
  const QSqlDatabase base = Base();
  QSqlQuery consulta(base);
  consulta.setForwardOnly(true);
  bool bien = false;
  bool silencio = false;
  {
    accion_operador::Espera espera;
    // A server that holds the connection open and never answers is given up
    // after the lock wait and a margin: the statement then fails as a lost
    // connection instead of holding the window.
    VigilanteSocket& vigilante = VigilanteSocket::Instancia();
    const int socket = VigilanteSocket::SocketDe(base);
    if (socket >= 0)
      vigilante.Armar(socket, std::chrono::seconds(EsperaActual() + kMargenSilencio));
    bien = consulta.exec(sql);
    if (socket >= 0) silencio = vigilante.Desarmar();
  }
  if (!bien) {
    const QSqlError error = consulta.lastError();
    consulta = QSqlQuery();
    const fallas_motor::Clase clase = silencio ? fallas_motor::Clase::SinConexion
                                               : fallas_motor::Clasificar(dialecto_.motor(), error);
    // A silent server is not asked again at once: it would hold the window
    // for the connection's time-out.
    if (clase == fallas_motor::Clase::SinConexion && !silencio && archivo_.isEmpty() && Reabrir() &&
        reintentable)
      return Ejecutar(sql, filasAfectadas, false);
    throw fallas_motor::Construir(clase, error, donde_, fallas_motor::Escribe(sql), EsperaActual());
  }
  if (filasAfectadas) *filasAfectadas = consulta.numRowsAffected();
  Recordset filas;
  filas.Abrir(std::move(consulta));
  return filas;
}

void Conexion::Preparar(const QString& sentencia) {
  Execute(sentencia);
  preparacion_.append(sentencia);
}

void Conexion::SetCommandTimeout(int segundos) {
  const QString sentencia = dialecto_.TiempoLimite(segundos);
  if (!sentencia.isEmpty()) Execute(sentencia);
  sentenciaTiempo_ = sentencia;
  tiempoLimite_ = segundos;
  if (larga_ > 0) AplicarEspera();
}

void Conexion::SetEsperaBloqueo(int segundos) {
  esperaBloqueo_ = segundos;
  if (larga_ == 0) AplicarEspera();
}

void Conexion::AplicarEspera() {
  const QString sentencia = dialecto_.EsperaBloqueo(EsperaActual());
  if (!sentencia.isEmpty()) QSqlQuery(Base()).exec(sentencia);
}

bool Conexion::Reabrir() {
  QSqlDatabase base = Base();
  base.close();
  if (!base.open()) return false;
  for (const QString& sentencia : preparacion_) QSqlQuery(base).exec(sentencia);
  if (!sentenciaTiempo_.isEmpty()) QSqlQuery(base).exec(sentenciaTiempo_);
  AplicarEspera();
  return true;
}

Conexion::EsperaLarga::EsperaLarga(Conexion& conexion) : conexion_(conexion) {
  if (conexion_.larga_++ == 0) conexion_.AplicarEspera();
}

Conexion::EsperaLarga::~EsperaLarga() {
  if (--conexion_.larga_ == 0) conexion_.AplicarEspera();
}
