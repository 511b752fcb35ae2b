#include "services/bases_usadas.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "services/carpetas.h"

namespace bases_usadas {
namespace {

const QString kClave = QStringLiteral("Datos/BasesUsadas");

QSettings Estacion() {
  return QSettings(carpetas::DeConfiguracion() + QStringLiteral("/estacion.ini"),
                   QSettings::IniFormat);
}

QString Normal(const QString& ruta) { return QDir::cleanPath(QFileInfo(ruta).absoluteFilePath()); }

}  // namespace

bool UsadaAntes(const QString& ruta) {
  return Estacion().value(kClave).toStringList().contains(Normal(ruta));
}

void Recordar(const QString& ruta) {
  QSettings estacion = Estacion();
  QStringList usadas = estacion.value(kClave).toStringList();
  if (usadas.contains(Normal(ruta))) return;
  usadas.append(Normal(ruta));
  estacion.setValue(kClave, usadas);
}

}  // namespace bases_usadas
