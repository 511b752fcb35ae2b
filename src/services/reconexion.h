#pragma once
// Reconexion: brings the session's connection back after it was lost,
// without holding the window and without a message per try. It waits a
// growing pause (Pausa), checks without blocking that the database can be
// reached again (the server's port takes a connection, or the embedded
// file is there), and only then runs one short statement on the session's
// connection, which reopens it. Recuperada says the connection works again;
// a try that fails is followed by the next pause, quietly.

#include <QObject>
#include <QTcpSocket>
#include <QTimer>

class Reconexion : public QObject {
  Q_OBJECT

 public:
  explicit Reconexion(QObject* padre = nullptr);

  // Starts trying from the shortest pause; a second call while trying
  // changes nothing.
  void Empezar();
  void Detener();
  bool Activa() const { return activa_; }
  // Tries made since Empezar.
  int Intentos() const { return intento_; }

  // Milliseconds before try n (0 the first): from a quarter of a second,
  // doubling, five seconds at most.
  static int Pausa(int intento);

 signals:
  void Recuperada();

 private:
  void Probar();
  void Abrir();
  void Siguiente();

  QTimer reloj_;
  QTcpSocket sonda_;
  QTimer plazoSonda_;
  int intento_ = 0;
  bool activa_ = false;
};
