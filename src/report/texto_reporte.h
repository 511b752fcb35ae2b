#pragma once
// The report's fonts and its line breaking, measured on the device it is
// painted on.

#include <QFont>
#include <QFontMetricsF>
#include <QString>
#include <QStringList>

class QPaintDevice;

namespace reporte {

// The report's sans-serif face at that size in points.
QFont Fuente(double puntos, bool negrita = false);

// The text broken into the lines that fit the width (device pixels): at blanks
// where it can, inside a word too long for a line otherwise; its own line
// breaks kept. No line is ever dropped or cut. Empty for an empty text.
QStringList Partir(const QString& texto, const QFont& fuente, const QFontMetricsF& medida,
                   double ancho, QPaintDevice* dispositivo);

}  // namespace reporte
