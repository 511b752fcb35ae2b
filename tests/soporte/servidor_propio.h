#pragma once
// ServidorPropio: a small PostgreSQL server of one test's own, on 127.0.0.1 and
// a free port, so that a test may stop it and start it again without
// disturbing the server the other tests share. Its data folder lives in a
// temporary folder; the server is stopped when the object goes. As root the
// server runs as "postgres" (initdb refuses root).

#include <QString>
#include <QTemporaryDir>

class EntornoPrueba;

class ServidorPropio {
 public:
  ServidorPropio();
  ~ServidorPropio();

  // False (with the reason in Motivo) when no server could be made here.
  bool Listo() const { return listo_; }
  QString Motivo() const { return motivo_; }
  int Puerto() const { return puerto_; }

  // Gives the server the lab's tables and points the session at it: the
  // [Datos] section of the test's INI (extra: more lines of it) and the
  // start-up parameters, for IniciarSesion.
  bool Preparar(EntornoPrueba& e, const QString& extra = {});

  bool Detener();
  bool Arrancar();
  // Stops (SIGSTOP) or continues (SIGCONT) the server and its processes: a
  // server that keeps its connections open and answers nothing.
  bool Congelar(bool congelado);

 private:
  bool Correr(const QStringList& argumentos, int esperaMs = 60000);

  QTemporaryDir carpeta_;
  QString binarios_;
  int puerto_ = 0;
  bool listo_ = false;
  QString motivo_;
};
