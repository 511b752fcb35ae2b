#include "services/vigilante_socket.h"

#include <libpq-fe.h>
#include <sys/socket.h>

#include <QSqlDriver>
#include <QVariant>
#include <condition_variable>
#include <mutex>
#include <thread>

struct VigilanteSocket::Estado {
  std::mutex cerrojo;
  std::condition_variable cambio;
  int socket = -1;
  std::chrono::steady_clock::time_point plazo;
  bool disparado = false;
  bool fin = false;
  std::thread hilo;

  void Vigilar() {
    std::unique_lock<std::mutex> bloqueo(cerrojo);
    while (!fin) {
      if (socket < 0) {
        cambio.wait(bloqueo);
        continue;
      }
      const std::chrono::steady_clock::time_point hasta = plazo;
      cambio.wait_until(bloqueo, hasta);
      if (socket >= 0 && plazo == hasta && std::chrono::steady_clock::now() >= hasta) {
        // The statement's read returns at once, as if the server had gone.
        ::shutdown(socket, SHUT_RDWR);
        disparado = true;
        socket = -1;
      }
    }
  }
};

VigilanteSocket& VigilanteSocket::Instancia() {
  static VigilanteSocket vigilante;
  return vigilante;
}

VigilanteSocket::VigilanteSocket() : estado_(new Estado) {
  estado_->hilo = std::thread([this] { estado_->Vigilar(); });
}

VigilanteSocket::~VigilanteSocket() {
  {
    std::lock_guard<std::mutex> bloqueo(estado_->cerrojo);
    estado_->fin = true;
  }
  estado_->cambio.notify_one();
  estado_->hilo.join();
  delete estado_;
}

namespace {

PGconn* ConexionPg(const QSqlDatabase& base) {
  if (!base.isOpen() || !base.driver()) return nullptr;
  const QVariant manija = base.driver()->handle();
  // Qt names the handle's type after libpq's struct.
  if (!manija.isValid() ||
      (qstrcmp(manija.typeName(), "PGconn*") != 0 && qstrcmp(manija.typeName(), "pg_conn*") != 0))
    return nullptr;
  return *static_cast<PGconn* const*>(manija.constData());
}

}  // namespace

int VigilanteSocket::SocketDe(const QSqlDatabase& base) {
  PGconn* conexion = ConexionPg(base);
  return conexion ? PQsocket(conexion) : -1;
}

bool VigilanteSocket::Caida(const QSqlDatabase& base) {
  PGconn* conexion = ConexionPg(base);
  return conexion && PQstatus(conexion) == CONNECTION_BAD;
}

void VigilanteSocket::Armar(int socket, std::chrono::milliseconds limite) {
  {
    std::lock_guard<std::mutex> bloqueo(estado_->cerrojo);
    estado_->socket = socket;
    estado_->plazo = std::chrono::steady_clock::now() + limite;
    estado_->disparado = false;
  }
  estado_->cambio.notify_one();
}

bool VigilanteSocket::Desarmar() {
  std::lock_guard<std::mutex> bloqueo(estado_->cerrojo);
  estado_->socket = -1;
  const bool disparado = estado_->disparado;
  estado_->disparado = false;
  return disparado;
}
