#include "services/conexion.h"

#include <sys/stat.h>

#include <QFile>
#include <QSqlError>
#include <chrono>
#include <utility>

#include "services/accion_operador.h"
#include "services/falla.h"
#include "services/fallas_motor.h"
#include "services/guardia_archivo.h"
#include "services/vigilante_socket.h"

namespace {

// Seconds a server may stay silent beyond the statement's lock wait.
constexpr int kMargenSilencio = 5;

bool Identidad(const QByteArray& archivo, quint64& dispositivo, quint64& inodo) {
  struct stat datos {};
  if (::stat(archivo.constData(), &datos) != 0) return false;
  dispositivo = static_cast<quint64>(datos.st_dev);
  inodo = static_cast<quint64>(datos.st_ino);
  return true;
}

bool Es(QStringView verbo, QLatin1String cual) {
  return verbo.compare(cual, Qt::CaseInsensitive) == 0;
}

}  // namespace

Conexion::Conexion(QString nombreConexion, Motor motor, QString archivo, QString donde,
                   bool soloLectura)
    : nombre_(std::move(nombreConexion)),
      archivo_(std::move(archivo)),
      donde_(std::move(donde)),
      soloLectura_(soloLectura),
      dialecto_(motor),
      // Looked up once: the lookup takes a process-wide lock, and every
      // statement asks for the connection twice.
      base_(QSqlDatabase::database(nombre_, false)) {
  if (!archivo_.isEmpty()) {
    archivoCodificado_ = QFile::encodeName(archivo_);
    Identidad(archivoCodificado_, dispositivo_, inodo_);
  }
}

QSqlDatabase Conexion::Base() const { return base_; }

bool Conexion::Pasajera(const Falla& falla) const {
  if (falla.Codigo() == Falla::kConexion) return true;
  return falla.Codigo() == Falla::kArchivoCambiado && !archivo_.isEmpty() &&
         !QFile::exists(archivo_);
}

bool Conexion::Perdida() const {
  const QSqlDatabase base = Base();
  return !base.isOpen() || VigilanteSocket::Caida(base);
}

void Conexion::ComprobarArchivo(bool escribe) const {
  if (archivo_.isEmpty()) return;
  // The guard is set up by the first write, before that write's look at the
  // path: a session that only reads never pays for it, nor does its end
  // wait for the kernel to take the watch down (some milliseconds).
  if (!guardia_ && escribe) guardia_ = std::make_unique<GuardiaArchivo>(archivoCodificado_);
  if (guardia_ && guardia_->SinCambios()) return;
  quint64 dispositivo = 0;
  quint64 inodo = 0;
  const bool esta = Identidad(archivoCodificado_, dispositivo, inodo);
  const bool mismo = esta && dispositivo == dispositivo_ && inodo == inodo_;
  if (guardia_) guardia_->Confirmar(mismo);
  if (!esta) throw fallas_motor::ArchivoCambiado(donde_, true, escribe);
  if (!mismo) throw fallas_motor::ArchivoCambiado(donde_, false, escribe);
}

bool Conexion::Antes(const QString& sql) {
  // The operator has been told this action that the database is out of
  // reach: no second message, and no second wait.
  if (const std::optional<Falla> avisada = accion_operador::Avisada()) throw *avisada;
  // A transaction's file is checked at its COMMIT, not at its BEGIN nor in
  // between: what it writes reaches the file only with the COMMIT, which is
  // refused on a file replaced or gone meanwhile (a stat costs a system call,
  // and every stored cell is a transaction).
  const QStringView verbo = fallas_motor::Verbo(sql);
  const bool comienzo = Es(verbo, QLatin1String("BEGIN"));
  const bool fin = Es(verbo, QLatin1String("COMMIT"));
  if ((!transaccion_ && !comienzo) || fin) ComprobarArchivo(fallas_motor::Escribe(sql));
  if (!Base().isOpen() && !Reabrir())
    throw fallas_motor::Construir(fallas_motor::Clase::SinConexion, Base().lastError(), donde_,
                                  fallas_motor::Escribe(sql), 0);
  // A statement of a transaction is never run again on a reopened
  // connection: the transaction went with the old one, and the rest of it
  // would be written outside any transaction (a COMMIT then "succeeds" with
  // nothing to commit).
  const bool dentro = transaccion_;
  if (comienzo)
    transaccion_ = true;
  else if (fin || Es(verbo, QLatin1String("ROLLBACK")))
    transaccion_ = false;
  return !Es(verbo, QLatin1String("INSERT")) && !dentro;
}

Recordset Conexion::Execute(const QString& sql, int* filasAfectadas) {
  const bool dentro = transaccion_;
  const bool reintentable = Antes(sql);
  try {
    return Ejecutar(sql, filasAfectadas, reintentable);
  } catch (const Falla&) {
    if (!dentro) transaccion_ = false;
    throw;
  }
}

QVariantList Conexion::Execute(const QString& sql, const QVariantList& valores,
                               int* filasAfectadas) {
  const bool dentro = transaccion_;
  const bool reintentable = Antes(sql);
  try {
    return EjecutarPreparada(sql, valores, filasAfectadas, reintentable);
  } catch (const Falla&) {
    if (!dentro) transaccion_ = false;
    throw;
  }
}

QList<QVariantList> Conexion::Filas(const QString& sql) {
  QList<QVariantList> filas;
  if (dialecto_.motor() != Motor::Sqlite) {
    Recordset leidas = Execute(sql);
    const int campos = leidas.FieldCount();
    for (; !leidas.Eof(); leidas.MoveNext()) {
      QVariantList fila;
      fila.reserve(campos);
      for (int c = 0; c < campos; ++c) fila.append(leidas.Valor(c));
      filas.append(std::move(fila));
    }
    return filas;
  }
  const bool dentro = transaccion_;
  Antes(sql);
  std::optional<QSqlError> error;
  {
    accion_operador::Espera espera;
    error = nativas_.Todas(Base(), sql, filas);
  }
  if (error) {
    if (!dentro) transaccion_ = false;
    Rechazar(sql, *error);
  }
  return filas;
}

bool Conexion::Correr(QSqlQuery& consulta, const QString* sql, bool& silencio) {
  accion_operador::Espera espera;
  // A server that holds the connection open and never answers is given up
  // after the lock wait and a margin: the statement then fails as a lost
  // connection instead of holding the window.
  VigilanteSocket& vigilante = VigilanteSocket::Instancia();
  // Only a server's connection has a socket to watch.
  const int socket = archivo_.isEmpty() ? VigilanteSocket::SocketDe(Base()) : -1;
  if (socket >= 0) vigilante.Armar(socket, std::chrono::seconds(EsperaActual() + kMargenSilencio));
  const bool bien = sql ? consulta.exec(*sql) : consulta.exec();
  silencio = socket >= 0 && vigilante.Desarmar();
  return bien;
}

void Conexion::Reintentar(const QString& sql, const QSqlError& error, bool silencio,
                          bool reintentable) {
  const fallas_motor::Clase clase = silencio ? fallas_motor::Clase::SinConexion
                                             : fallas_motor::Clasificar(dialecto_.motor(), error);
  // A silent server is not asked again at once: it would hold the window
  // for the connection's time-out.
  if (clase == fallas_motor::Clase::SinConexion && !silencio && archivo_.isEmpty() && Reabrir() &&
      reintentable)
    return;
  throw fallas_motor::Construir(clase, error, donde_, fallas_motor::Escribe(sql), EsperaActual());
}

void Conexion::Rechazar(const QString& sql, const QSqlError& error) const {
  throw fallas_motor::Construir(fallas_motor::Clasificar(dialecto_.motor(), error), error, donde_,
                                fallas_motor::Escribe(sql), EsperaActual());
}

Recordset Conexion::Ejecutar(const QString& sql, int* filasAfectadas, bool reintentable) {
  QSqlQuery consulta(Base());
  consulta.setForwardOnly(true);
  bool silencio = false;
  if (!Correr(consulta, &sql, silencio)) {
    const QSqlError error = consulta.lastError();
    consulta = QSqlQuery();
    Reintentar(sql, error, silencio, reintentable);
    return Ejecutar(sql, filasAfectadas, false);
  }
  if (filasAfectadas) *filasAfectadas = consulta.numRowsAffected();
  Recordset filas;
  filas.Abrir(std::move(consulta));
  return filas;
}

QVariantList Conexion::EjecutarPreparada(const QString& sql, const QVariantList& valores,
                                         int* filasAfectadas, bool reintentable) {
  if (dialecto_.motor() == Motor::Sqlite) {
    QVariantList fila;
    std::optional<QSqlError> error;
    {
      accion_operador::Espera espera;
      error = nativas_.Ejecutar(Base(), sql, valores, fila, filasAfectadas);
    }
    if (error) Rechazar(sql, *error);
    return fila;
  }
  auto preparada = preparadas_.find(sql);
  if (preparada == preparadas_.end()) {
    QSqlQuery nueva(Base());
    nueva.setForwardOnly(true);
    if (!nueva.prepare(sql)) {
      const QSqlError error = nueva.lastError();
      nueva = QSqlQuery();
      Reintentar(sql, error, false, reintentable);
      return EjecutarPreparada(sql, valores, filasAfectadas, false);
    }
    preparada = preparadas_.insert(sql, std::move(nueva));
  }
  QSqlQuery& consulta = *preparada;
  for (qsizetype i = 0; i < valores.size(); ++i) {
    const QVariant& valor = valores.at(i);
    // A null QString would be bound as Null: an empty text stays a text.
    if (valor.typeId() == QMetaType::QString && valor.toString().isNull())
      consulta.bindValue(static_cast<int>(i), QStringLiteral(""));
    else
      consulta.bindValue(static_cast<int>(i), valor);
  }
  bool silencio = false;
  if (!Correr(consulta, nullptr, silencio)) {
    const QSqlError error = consulta.lastError();
    consulta.finish();
    Reintentar(sql, error, silencio, reintentable);
    return EjecutarPreparada(sql, valores, filasAfectadas, false);
  }
  if (filasAfectadas) *filasAfectadas = consulta.numRowsAffected();
  QVariantList fila;
  if (consulta.next()) {
    const int campos = consulta.record().count();
    for (int c = 0; c < campos; ++c) fila.append(consulta.value(c));
  } else if (consulta.lastError().isValid()) {
    const QSqlError error = consulta.lastError();
    consulta.finish();
    Rechazar(sql, error);
  }
  // The statement lets go of what it read: it is run again later.
  consulta.finish();
  return fila;
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
  // Statements prepared on the old connection are gone with it.
  preparadas_.clear();
  QSqlDatabase base = Base();
  nativas_.Olvidar(base);
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
