#include "report/texto_reporte.h"

#include <QTextLayout>

namespace reporte {

QFont Fuente(double puntos, bool negrita) {
  QFont fuente(QStringLiteral("DejaVu Sans"));
  fuente.setStyleHint(QFont::SansSerif);
  fuente.setPointSizeF(puntos);
  fuente.setBold(negrita);
  return fuente;
}

QStringList Partir(const QString& texto, const QFont& fuente, const QFontMetricsF& medida,
                   double ancho, QPaintDevice* dispositivo) {
  if (texto.isEmpty()) return {};
  if (!texto.contains(QLatin1Char('\n')) && medida.horizontalAdvance(texto) <= ancho)
    return {texto};
  QStringList lineas;
  for (const QString& parrafo : texto.split(QLatin1Char('\n'))) {
    QString limpio = parrafo;
    limpio.remove(QLatin1Char('\r'));
    if (limpio.isEmpty()) {
      lineas << QString();
      continue;
    }
    QTextLayout disposicion(limpio, fuente, dispositivo);
    QTextOption opcion;
    opcion.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    disposicion.setTextOption(opcion);
    disposicion.beginLayout();
    for (QTextLine linea = disposicion.createLine(); linea.isValid();
         linea = disposicion.createLine()) {
      linea.setLineWidth(ancho);
      lineas << limpio.mid(linea.textStart(), linea.textLength()).trimmed();
    }
    disposicion.endLayout();
  }
  return lineas;
}

}  // namespace reporte
