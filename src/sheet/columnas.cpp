#include "sheet/columnas.h"

#include <QList>
#include <QTime>
#include <QVariant>

#include "services/lib_util.h"

const QList<ColumnaPlanilla>& ColumnasPlanilla() {
  static const QList<ColumnaPlanilla> columnas = {
      {1, QStringLiteral("TIPO DE"), QStringLiteral("HARINA"), 1000, 2,
       QStringLiteral("Tipo_Harina"), 25, QStringLiteral("VT_TipoHarina")},
      {2, QString(), QStringLiteral("HORARIO"), 1200, 0, QStringLiteral("Horario"), 10, QString()},
      {3, QStringLiteral("GLUTEN"), QStringLiteral("HÚMEDO"), 1000, 0, QStringLiteral("Humedo"), 8,
       QString()},
      {4, QStringLiteral("GLUTEN"), QStringLiteral("SECO"), 1000, 0, QStringLiteral("seco"), 8,
       QString()},
      {5, QStringLiteral("GLUTEN"), QStringLiteral("CARACT."), 1200, 0, QStringLiteral("caract"),
       100, QStringLiteral("VT_caract")},
      {6, QStringLiteral("FALLING"), QStringLiteral("NUMBER"), 800, 0,
       QStringLiteral("fallingnumber"), 8, QString()},
      {7, QString(), QStringLiteral("HUMEDAD"), 1000, 0, QStringLiteral("humedad"), 8, QString()},
      {8, QString(), QStringLiteral("CENIZAS"), 1000, 0, QStringLiteral("cenizas"), 8, QString()},
      {9, QString(), QStringLiteral("COLOR"), 1000, 0, QStringLiteral("color"), 50,
       QStringLiteral("VT_colores")},
      {10, QStringLiteral("CONTROL"), QStringLiteral("PESAJE"), 1000, 0,
       QStringLiteral("ControlPesaje"), 8, QString()},
      {11, QString(), QStringLiteral("OBSERVACIONES"), 1700, 0, QStringLiteral("OBSERVACIONES"), 0,
       QString()},
  };
  return columnas;
}

const ColumnaPlanilla* ColumnaPorClave(const QString& clave) {
  for (const ColumnaPlanilla& columna : ColumnasPlanilla())
    if (columna.linea2.compare(clave.trimmed(), Qt::CaseInsensitive) == 0) return &columna;
  return nullptr;
}

const ColumnaPlanilla* ColumnaPorIndice(int indice) {
  const QList<ColumnaPlanilla>& columnas = ColumnasPlanilla();
  if (indice < 1 || indice > columnas.size()) return nullptr;
  return &columnas[indice - 1];
}

TipoCampo TipoDeCampo(const QString& dataField) {
  const QString campo = dataField.trimmed().toUpper();
  for (const char* numero :
       {"HUMEDO", "SECO", "FALLINGNUMBER", "HUMEDAD", "CENIZAS", "CONTROLPESAJE"})
    if (campo == QLatin1String(numero)) return TipoCampo::Numero;
  for (const char* texto : {"TIPO_HARINA", "HORARIO", "CARACT", "COLOR", "OBSERVACIONES"})
    if (campo == QLatin1String(texto)) return TipoCampo::Texto;
  if (campo == QLatin1String("ID")) return TipoCampo::Clave;
  return TipoCampo::Desconocido;
}

QString TextoDeCelda(TipoCampo tipo, const QVariant& valor, const QString& separador) {
  if (!valor.isValid() || valor.isNull()) return {};
  if (valor.typeId() == QMetaType::QTime)
    return valor.toTime().toString(QStringLiteral("HH:mm:ss"));
  const QString texto = valor.toString();
  if (tipo == TipoCampo::Numero) return LibUtil::FormatearValor(texto, separador);
  return texto;
}
