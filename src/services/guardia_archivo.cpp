#include "services/guardia_archivo.h"

#include <QFile>
#include <QFileInfo>
#include <QtGlobal>

#ifdef Q_OS_LINUX
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace {

#ifdef Q_OS_LINUX
// File systems whose every change is made through this kernel, so that it
// raises the events: local disks and memory. A network share (NFS, SMB) or a
// FUSE mount is changed by others without a word.
bool Local(const QByteArray& ruta) {
  struct statfs datos {};
  if (::statfs(ruta.constData(), &datos) != 0) return false;
  switch (static_cast<unsigned long>(datos.f_type)) {
    case 0xEF53UL:      // ext2, ext3, ext4
    case 0x58465342UL:  // xfs
    case 0x9123683EUL:  // btrfs
    case 0xF2F52010UL:  // f2fs
    case 0x2FC12FC1UL:  // zfs
    case 0x01021994UL:  // tmpfs
    case 0x794C7630UL:  // overlayfs
      return true;
    default:
      return false;
  }
}
#endif

}  // namespace

GuardiaArchivo::GuardiaArchivo(const QByteArray& archivo) {
#ifdef Q_OS_LINUX
  if (archivo.isEmpty() || !Local(archivo)) return;
  cola_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (cola_ < 0) return;
  // The file's link count changes when it is deleted or another file is
  // renamed over it (IN_ATTRIB); its folder, when that is removed or renamed.
  // Writes raise none of these.
  const QByteArray carpeta = QFile::encodeName(QFileInfo(QFile::decodeName(archivo)).path());
  if (::inotify_add_watch(cola_, archivo.constData(), IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF) <
          0 ||
      ::inotify_add_watch(cola_, carpeta.constData(), IN_DELETE_SELF | IN_MOVE_SELF) < 0) {
    ::close(cola_);
    cola_ = -1;
  }
#else
  Q_UNUSED(archivo);
#endif
}

GuardiaArchivo::~GuardiaArchivo() {
#ifdef Q_OS_LINUX
  if (cola_ >= 0) ::close(cola_);
#endif
}

bool GuardiaArchivo::SinCambios() {
#ifdef Q_OS_LINUX
  if (cola_ < 0) return false;
  alignas(inotify_event) char eventos[4096];
  for (;;) {
    const ssize_t leidos = ::read(cola_, eventos, sizeof eventos);
    if (leidos > 0) {
      confirmado_ = false;
      // A watch the kernel dropped (its file or folder gone) or events it
      // could not keep leave nothing to trust from here on.
      for (ssize_t i = 0; i < leidos;) {
        const auto* evento = reinterpret_cast<const inotify_event*>(eventos + i);
        if (evento->mask & (IN_IGNORED | IN_Q_OVERFLOW | IN_UNMOUNT)) {
          ::close(cola_);
          cola_ = -1;
          return false;
        }
        i += static_cast<ssize_t>(sizeof(inotify_event) + evento->len);
      }
      continue;
    }
    if (leidos < 0 && errno == EINTR) continue;
    if (leidos < 0 && errno == EAGAIN) return confirmado_;
    // The queue cannot be read: it is not trusted again.
    ::close(cola_);
    cola_ = -1;
    return false;
  }
#else
  return false;
#endif
}

void GuardiaArchivo::Confirmar(bool mismo) { confirmado_ = mismo && cola_ >= 0; }
