#pragma once
// GuardiaArchivo: says, without looking the path up, that the database file
// is still the one that was opened, as long as nothing has happened to it or
// to its folder since the caller last looked.
//
// On a local disk under Linux the kernel queues an event (inotify) at the
// moment the file is deleted, renamed, replaced by another one renamed over
// it, or its folder removed or renamed; while that queue stays empty the
// path still names the file. Looking the path up instead costs a system call
// that walks every folder of it, on every stored cell.
//
// SinCambios() is true only when the queue is empty and the last look found
// the file opened. Otherwise (an event, a file system that is not local, such
// as a network share, whose changes made by other computers raise no event
// here, or another system) the caller looks the path up and reports what it
// found with Confirmar(); a file found changed stays unconfirmed until a look
// finds it again.

#include <QByteArray>

class GuardiaArchivo {
 public:
  explicit GuardiaArchivo(const QByteArray& archivo);
  ~GuardiaArchivo();
  GuardiaArchivo(const GuardiaArchivo&) = delete;
  GuardiaArchivo& operator=(const GuardiaArchivo&) = delete;

  // Reads whatever the kernel queued; true when nothing was and the last
  // look found the file opened.
  bool SinCambios();
  // What the caller's look at the path found: the file that was opened
  // (true) or none, or another (false).
  void Confirmar(bool mismo);

 private:
  int cola_ = -1;  // the inotify descriptor; -1 when there is none to trust
  bool confirmado_ = false;
};
