#pragma once
// VigilanteSocket: bounds how long the session waits for a database server
// that stops answering without closing its connection (its process stopped,
// the machine frozen, a network that swallows packets while the kernel at the
// other end still acknowledges them). Armed around each statement with the
// connection's socket and a bound; past the bound it shuts the socket down,
// so that the statement fails as a lost connection and the window answers
// again. One thread for the whole session: arming and disarming take a lock,
// nothing more.

#include <QSqlDatabase>
#include <chrono>

class VigilanteSocket {
 public:
  static VigilanteSocket& Instancia();

  // The socket of a PostgreSQL connection, or -1 (another engine, closed).
  static int SocketDe(const QSqlDatabase& base);
  // A PostgreSQL connection that the server has closed (libpq found it so
  // while reading notices); false for another engine.
  static bool Caida(const QSqlDatabase& base);

  // A statement on `socket` starts now and may last `limite`.
  void Armar(int socket, std::chrono::milliseconds limite);
  // The statement ended. True when it outlasted its bound and its socket was
  // shut down.
  bool Desarmar();

  ~VigilanteSocket();
  VigilanteSocket(const VigilanteSocket&) = delete;
  VigilanteSocket& operator=(const VigilanteSocket&) = delete;

 private:
  VigilanteSocket();
  struct Estado;
  Estado* estado_;
};
