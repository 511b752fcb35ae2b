#pragma once
// Vigia: tells the window that another station (or another program window)
// may have changed the database, so that the loaded day can be read again.
// It says "something changed", never what: the sheet finds that out itself.
//
// PostgreSQL: it listens on the channel every change sends a notice on
// (Dialecto::CanalDeCambios), and subscribes again after the connection was
// reopened, saying Cambio then too, since notices were lost meanwhile. The
// notices that arrive together (other stations storing while the day was
// being read) say Cambio once, when the event loop comes back to it.
// SQLite: it reads Dialecto::VersionDeDatos on a short timer; the number
// changes only when another connection commits.
//
// A failure while watching is kept quiet: the operator hears of the database
// through his own actions, not through a timer. A connection found lost
// (closed by the server, or the file gone) is said by SinConexion, at every
// look while it lasts, so that the window can show it and bring it back.

#include <QObject>
#include <QPointer>
#include <QSqlDriver>
#include <QTimer>
#include <QVariant>

class Vigia : public QObject {
  Q_OBJECT

 public:
  explicit Vigia(QObject* padre = nullptr);

  // Starts watching the session's connection, from what it holds now.
  void Vigilar();
  void Detener();

 signals:
  void Cambio();
  void SinConexion();
  // Every look, changed or not: for what waits on the window's own state.
  void Pulso();

 private:
  void Mirar();

  QTimer reloj_;
  QTimer aviso_;  // single shot: the notices received meanwhile
  QVariant version_;
  QPointer<QSqlDriver> conductor_;  // the driver whose notices are connected
};
