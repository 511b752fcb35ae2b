#include "services/reconexion.h"

#include <QFileInfo>
#include <algorithm>

#include "services/accion_operador.h"
#include "services/falla.h"
#include "services/lib_datos.h"

namespace {

constexpr int kPrimeraPausaMs = 250;
constexpr int kPausaMaximaMs = 5000;
// A server's port that takes no connection in this time is not back yet.
constexpr int kPlazoSondaMs = 2000;

}  // namespace

Reconexion::Reconexion(QObject* padre) : QObject(padre) {
  reloj_.setSingleShot(true);
  plazoSonda_.setSingleShot(true);
  connect(&reloj_, &QTimer::timeout, this, &Reconexion::Probar);
  connect(&sonda_, &QTcpSocket::connected, this, [this] {
    plazoSonda_.stop();
    sonda_.abort();
    Abrir();
  });
  connect(&sonda_, &QTcpSocket::errorOccurred, this, [this] {
    plazoSonda_.stop();
    sonda_.abort();
    Siguiente();
  });
  connect(&plazoSonda_, &QTimer::timeout, this, [this] {
    sonda_.abort();
    Siguiente();
  });
}

int Reconexion::Pausa(int intento) {
  const int exponente = std::clamp(intento, 0, 10);
  return std::min(kPrimeraPausaMs << exponente, kPausaMaximaMs);
}

void Reconexion::Empezar() {
  if (activa_) return;
  activa_ = true;
  intento_ = 0;
  reloj_.start(Pausa(0));
}

void Reconexion::Detener() {
  activa_ = false;
  reloj_.stop();
  plazoSonda_.stop();
  sonda_.abort();
}

void Reconexion::Siguiente() {
  if (!activa_) return;
  ++intento_;
  reloj_.start(Pausa(intento_));
}

void Reconexion::Probar() {
  LibDatos& datos = LibDatos::Instancia();
  if (!activa_ || !datos.HayConexion()) return;
  Conexion& conexion = datos.Conexion();
  if (!conexion.Archivo().isEmpty()) {
    // The embedded file: back when it is there again (a share remounted).
    if (QFileInfo::exists(conexion.Archivo()))
      Abrir();
    else
      Siguiente();
    return;
  }
  const QSqlDatabase base = conexion.Base();
  const QString servidor = base.hostName();
  // A local socket refuses at once: nothing to wait for.
  if (servidor.isEmpty() || servidor.startsWith(QLatin1Char('/'))) {
    Abrir();
    return;
  }
  const int puerto = base.port() > 0 ? base.port() : conexion.dialecto().PuertoPorDefecto();
  if (puerto <= 0) {
    Abrir();
    return;
  }
  plazoSonda_.start(kPlazoSondaMs);
  sonda_.connectToHost(servidor, static_cast<quint16>(puerto));
}

void Reconexion::Abrir() {
  if (!activa_) return;
  // A try of the program's own, not of the operator's action: a message
  // shown to the operator meanwhile must not stop it.
  accion_operador::Olvidar();
  try {
    LibDatos::Instancia().Conexion().Execute(QStringLiteral("SELECT 1")).Close();
  } catch (const Falla&) {
    Siguiente();
    return;
  }
  activa_ = false;
  emit Recuperada();
}
