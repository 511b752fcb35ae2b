#include "services/carpetas.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace carpetas {
namespace {

QString& Fijada() {
  static QString carpeta;
  return carpeta;
}

}  // namespace

QString DelPrograma() {
  if (!Fijada().isEmpty()) return Fijada();
  return QCoreApplication::applicationDirPath();
}

QString DeDatos() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
         QStringLiteral("/analisis-harina");
}

QString DeConfiguracion() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/analisis-harina");
}

bool Instalado() {
  return QDir(DelPrograma() + QStringLiteral("/../share/analisis-harina")).exists();
}

void FijarCarpetaDelPrograma(const QString& carpeta) { Fijada() = carpeta; }

bool SePuedeEscribir(const QString& carpeta) {
  // Permission bits say nothing for root or on a read-only mount: try it.
  if (!QDir(carpeta).exists()) return false;
  QTemporaryFile prueba(carpeta + QStringLiteral("/.escritura-XXXXXX"));
  return prueba.open();
}

}  // namespace carpetas
