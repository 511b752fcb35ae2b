#include "sheet/bloque_celdas.h"

namespace {

QString Citada(const QString& celda) {
  if (!celda.contains(QLatin1Char('\t')) && !celda.contains(QLatin1Char('\n')) &&
      !celda.contains(QLatin1Char('\r')) && !celda.contains(QLatin1Char('"')))
    return celda;
  return QLatin1Char('"') + QString(celda).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
         QLatin1Char('"');
}

}  // namespace

QString TextoDeBloque(const QList<QStringList>& filas) {
  QStringList lineas;
  for (const QStringList& fila : filas) {
    QStringList celdas;
    for (const QString& celda : fila) celdas << Citada(celda);
    lineas << celdas.join(QLatin1Char('\t'));
  }
  return lineas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QList<QStringList> LeerBloque(const QString& texto) {
  // Outside quotes, the separator is the tab when there is one.
  bool conTab = false;
  bool citando = false;
  for (const QChar c : texto) {
    if (c == QLatin1Char('"')) citando = !citando;
    if (!citando && c == QLatin1Char('\t')) conTab = true;
  }
  const QChar separador = conTab ? QLatin1Char('\t') : QLatin1Char(';');

  QList<QStringList> filas;
  QStringList fila;
  QString celda;
  citando = false;
  bool citada = false;  // the cell began with a quote
  for (qsizetype i = 0; i < texto.size(); ++i) {
    const QChar c = texto.at(i);
    if (citando) {
      if (c == QLatin1Char('"') && i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('"')) {
        celda += c;
        ++i;
      } else if (c == QLatin1Char('"')) {
        citando = false;
      } else {
        celda += c;
      }
    } else if (c == QLatin1Char('"') && celda.isEmpty() && !citada) {
      citando = citada = true;
    } else if (c == separador) {
      fila << celda;
      celda.clear();
      citada = false;
    } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
      if (c == QLatin1Char('\r') && i + 1 < texto.size() && texto.at(i + 1) == QLatin1Char('\n'))
        ++i;
      fila << celda;
      filas << fila;
      fila.clear();
      celda.clear();
      citada = false;
    } else {
      celda += c;
    }
  }
  if (!celda.isEmpty() || !fila.isEmpty() || citada) {
    fila << celda;
    filas << fila;
  }
  return filas;
}
