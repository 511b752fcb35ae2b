#include "services/vigia.h"

#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/recordset.h"

namespace {

// Another station's value shows within this, plus the time to read the day.
constexpr int kIntervaloMs = 500;

}  // namespace

Vigia::Vigia(QObject* padre) : QObject(padre) {
  reloj_.setInterval(kIntervaloMs);
  connect(&reloj_, &QTimer::timeout, this, [this] {
    Mirar();
    emit Pulso();
  });
  // Stopped before it says Cambio: a notice that arrives while the day is
  // read again starts it anew, so none is missed.
  aviso_.setSingleShot(true);
  aviso_.setInterval(0);
  connect(&aviso_, &QTimer::timeout, this, &Vigia::Cambio);
}

void Vigia::Vigilar() {
  version_ = {};
  Mirar();
  reloj_.start();
}

void Vigia::Detener() {
  reloj_.stop();
  aviso_.stop();
  version_ = {};
}

void Vigia::Mirar() {
  LibDatos& datos = LibDatos::Instancia();
  if (!datos.HayConexion()) return;
  Conexion& conexion = datos.Conexion();
  const Dialecto& d = conexion.dialecto();
  const QString canal = d.CanalDeCambios();
  if (conexion.Perdida()) {
    emit SinConexion();
    return;
  }
  if (!canal.isEmpty()) {
    QSqlDriver* conductor = conexion.Base().driver();
    if (!conductor || conductor->subscribedToNotifications().contains(canal)) return;
    if (conductor_ != conductor) {
      connect(conductor, &QSqlDriver::notification, this, [this, canal](const QString& nombre) {
        if (nombre == canal) aviso_.start();
      });
      conductor_ = conductor;
    }
    // A first subscription, or one lost with the connection: what changed
    // meanwhile sent no notice here.
    if (conductor->subscribeToNotification(canal)) emit Cambio();
    return;
  }
  const QString pregunta = d.VersionDeDatos();
  if (pregunta.isEmpty()) return;
  try {
    Recordset fila = conexion.Execute(pregunta);
    const QVariant version = fila.Bof() ? QVariant() : fila.Valor(0);
    fila.Close();
    const bool cambio = version_.isValid() && version != version_;
    version_ = version;
    if (cambio) emit Cambio();
  } catch (const Falla& falla) {
    // Tried again at the next tick.
    if (conexion.Pasajera(falla)) emit SinConexion();
  }
}
