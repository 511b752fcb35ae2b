#include "soporte/xlsx_prueba.h"

#include <QList>
#include <QProcess>
#include <QXmlStreamReader>

namespace {

struct Estilo {
  QString formato;
  QString color;
  bool negrita = false;
};

// Excel's built-in formats the writer may use by number.
QString FormatoIncorporado(int id) {
  switch (id) {
    case 0:
      return QStringLiteral("General");
    case 1:
      return QStringLiteral("0");
    case 2:
      return QStringLiteral("0.00");
    case 14:
      return QStringLiteral("mm-dd-yy");
    case 20:
      return QStringLiteral("h:mm");
    default:
      return QStringLiteral("#%1").arg(id);
  }
}

QList<Estilo> Estilos(const QString& ruta) {
  QXmlStreamReader xml(ParteXlsx(ruta, QStringLiteral("xl/styles.xml")));
  QMap<int, QString> formatos;
  struct Fuente {
    QString color;
    bool negrita = false;
  };
  QList<Fuente> fuentes;
  QList<Estilo> estilos;
  QString seccion;
  while (!xml.atEnd()) {
    if (!xml.readNextStartElement()) continue;
    const auto nombre = xml.name();
    const auto a = xml.attributes();
    if (nombre == u"fonts" || nombre == u"cellXfs" || nombre == u"cellStyleXfs")
      seccion = nombre.toString();
    else if (nombre == u"numFmt")
      formatos[a.value(QLatin1String("numFmtId")).toInt()] =
          a.value(QLatin1String("formatCode")).toString();
    else if (nombre == u"font" && seccion == u"fonts")
      fuentes.append(Fuente{});
    else if (nombre == u"color" && seccion == u"fonts" && !fuentes.isEmpty())
      fuentes.last().color = a.value(QLatin1String("rgb")).toString();
    else if (nombre == u"b" && seccion == u"fonts" && !fuentes.isEmpty())
      fuentes.last().negrita = true;
    else if (nombre == u"xf" && seccion == u"cellXfs") {
      const int formato = a.value(QLatin1String("numFmtId")).toInt();
      const int fuente = a.value(QLatin1String("fontId")).toInt();
      Estilo estilo;
      estilo.formato = formatos.value(formato, FormatoIncorporado(formato));
      if (fuente < fuentes.size()) {
        estilo.color = fuentes[fuente].color;
        estilo.negrita = fuentes[fuente].negrita;
      }
      estilos.append(estilo);
    }
  }
  return estilos;
}

QStringList Compartidos(const QString& ruta) {
  QStringList textos;
  QXmlStreamReader xml(ParteXlsx(ruta, QStringLiteral("xl/sharedStrings.xml")));
  while (!xml.atEnd()) {
    if (!xml.readNextStartElement()) continue;
    if (xml.name() == u"si") textos.append(QString());
    if (xml.name() == u"t" && !textos.isEmpty()) textos.last() += xml.readElementText();
  }
  return textos;
}

}  // namespace

QString ParteXlsx(const QString& ruta, const QString& parte) {
  QProcess unzip;
  unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), ruta, parte});
  if (!unzip.waitForFinished(120000) || unzip.exitCode() != 0) return {};
  return QString::fromUtf8(unzip.readAllStandardOutput());
}

QStringList HojasXlsx(const QString& ruta) {
  QStringList hojas;
  QXmlStreamReader xml(ParteXlsx(ruta, QStringLiteral("xl/workbook.xml")));
  while (!xml.atEnd())
    if (xml.readNextStartElement() && xml.name() == u"sheet")
      hojas.append(xml.attributes().value(QLatin1String("name")).toString());
  return hojas;
}

QMap<QString, CeldaXlsx> CeldasXlsx(const QString& ruta, int hoja) {
  const QList<Estilo> estilos = Estilos(ruta);
  const QStringList compartidos = Compartidos(ruta);
  QMap<QString, CeldaXlsx> celdas;
  QXmlStreamReader xml(ParteXlsx(ruta, QStringLiteral("xl/worksheets/sheet%1.xml").arg(hoja)));
  QString referencia;
  while (!xml.atEnd()) {
    xml.readNext();
    if (!xml.isStartElement()) continue;
    if (xml.name() == u"c") {
      const auto a = xml.attributes();
      referencia = a.value(QLatin1String("r")).toString();
      CeldaXlsx celda;
      celda.tipo = a.hasAttribute(QLatin1String("t")) ? a.value(QLatin1String("t")).toString()
                                                      : QStringLiteral("n");
      const int estilo = a.value(QLatin1String("s")).toInt();
      celda.formato = QStringLiteral("General");
      if (estilo < estilos.size()) {
        celda.formato = estilos[estilo].formato;
        celda.color = estilos[estilo].color;
        celda.negrita = estilos[estilo].negrita;
      }
      celdas[referencia] = celda;
    } else if (xml.name() == u"v" && !referencia.isEmpty()) {
      CeldaXlsx& celda = celdas[referencia];
      const QString v = xml.readElementText();
      celda.valor = celda.tipo == u"s" ? compartidos.value(v.toInt()) : v;
    } else if (xml.name() == u"t" && !referencia.isEmpty()) {
      celdas[referencia].valor += xml.readElementText();
    }
  }
  return celdas;
}
