#include "services/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace twips {
namespace {

double Dpi(Qt::Orientation orientacion) {
  const QScreen* pantalla = QGuiApplication::primaryScreen();
  if (!pantalla) return 96.0;
  return orientacion == Qt::Horizontal ? pantalla->logicalDotsPerInchX()
                                       : pantalla->logicalDotsPerInchY();
}

}  // namespace

int APixeles(int twips, Qt::Orientation orientacion) {
  return static_cast<int>(std::lround(twips * Dpi(orientacion) / 1440.0));
}

int DePixeles(int pixeles, Qt::Orientation orientacion) {
  return static_cast<int>(std::lround(pixeles * 1440.0 / Dpi(orientacion)));
}

}  // namespace twips
