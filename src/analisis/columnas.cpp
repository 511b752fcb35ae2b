#include "analisis/columnas.h"

namespace {

QList<ColumnaAnalisis> Tabla() {
  const auto s = [](const char* texto) { return QString::fromUtf8(texto); };
  // The record's own fields: in no grid column, report or editor.
  const auto propio = [](const char* campo, TipoCampo tipo) {
    ColumnaAnalisis columna;
    columna.campo = QString::fromLatin1(campo);
    columna.tipo = tipo;
    return columna;
  };
  QList<ColumnaAnalisis> campos;
  campos.append(propio("ID", TipoCampo::Clave));
  campos.append(propio("Fecha", TipoCampo::Momento));
  campos.append(propio("responsable", TipoCampo::Texto));
  campos.append(propio("fecha_alta", TipoCampo::Momento));
  campos.append(propio("fecha_modificacion", TipoCampo::Momento));
  // campo, tipo, indice, linea1, linea2, ancho, alineacion, dataField, maximo,
  // tag, enSentencia, tituloReporte, pesoReporte, unidad
  // clang-format off
  campos.append({s("tipo_harina"), TipoCampo::Texto, 1, s("TIPO DE"), s("HARINA"), 1000, 2,
                 s("Tipo_Harina"), 25, s("VT_TipoHarina"), s("tipo_harina "),
                 s("Tipo de harina"), 9, {}});
  campos.append({s("HORARIO"), TipoCampo::Hora, 2, {}, s("HORARIO"), 1200, 0, s("Horario"), 10,
                 {}, s(" HORARIO "), s("Horario"), 7, {}});
  campos.append({s("HUMEDO"), TipoCampo::Numero, 3, s("GLUTEN"), s("HÚMEDO"), 1000, 0,
                 s("Humedo"), 8, {}, s(" HUMEDO"), s("Gluten húmedo"), 7, s("g/100 g")});
  campos.append({s("SECO"), TipoCampo::Numero, 4, s("GLUTEN"), s("SECO"), 1000, 0, s("seco"), 8,
                 {}, s("SECO"), s("Gluten seco"), 7, s("g/100 g")});
  campos.append({s("CARACT"), TipoCampo::Texto, 5, s("GLUTEN"), s("CARACT."), 1200, 0,
                 s("caract"), 100, s("VT_caract"), s(" CARACT"), s("Caract. del gluten"), 10,
                 {}});
  campos.append({s("FALLINGNUMBER"), TipoCampo::Numero, 6, s("FALLING"), s("NUMBER"), 800, 0,
                 s("fallingnumber"), 8, {}, s(" FALLINGNUMBER"), s("Falling number"), 7, s("s")});
  campos.append({s("HUMEDAD"), TipoCampo::Numero, 7, {}, s("HUMEDAD"), 1000, 0, s("humedad"), 8,
                 {}, s(" HUMEDAD"), s("Humedad"), 7, s("g/100 g")});
  campos.append({s("CENIZAS"), TipoCampo::Numero, 8, {}, s("CENIZAS"), 1000, 0, s("cenizas"), 8,
                 {}, s("CENIZAS"), s("Cenizas"), 7, s("g/100 g")});
  campos.append({s("COLOR"), TipoCampo::Texto, 9, {}, s("COLOR"), 1000, 0, s("color"), 50,
                 s("VT_colores"), s(" COLOR"), s("Color"), 8, {}});
  campos.append({s("CONTROLPESAJE"), TipoCampo::Numero, 10, s("CONTROL"), s("PESAJE"), 1000, 0,
                 s("ControlPesaje"), 8, {}, s(" CONTROLPESAJE"), s("Control de pesaje"), 7, {}});
  campos.append({s("OBSERVACIONES"), TipoCampo::Texto, 11, {}, s("OBSERVACIONES"), 1700, 0,
                 s("OBSERVACIONES"), 0, {}, s("OBSERVACIONES"), s("Observaciones"), 24, {}});
  // clang-format on
  // Decimals as a mill's lab reports each measure: gluten and moisture to the
  // hundredth, ash to the thousandth (its limits are written so), the falling
  // number in whole seconds.
  const auto decimales = [&](const char* campo, int cuantos) {
    for (ColumnaAnalisis& columna : campos)
      if (columna.campo == QLatin1String(campo)) columna.decimales = cuantos;
  };
  decimales("HUMEDO", 2);
  decimales("SECO", 2);
  decimales("FALLINGNUMBER", 0);
  decimales("HUMEDAD", 2);
  decimales("CENIZAS", 3);
  decimales("CONTROLPESAJE", 2);
  return campos;
}

}  // namespace

const QList<ColumnaAnalisis>& CamposAnalisis() {
  static const QList<ColumnaAnalisis> campos = Tabla();
  return campos;
}

const QList<ColumnaAnalisis>& ColumnasAnalisis() {
  static const QList<ColumnaAnalisis> columnas = [] {
    QList<ColumnaAnalisis> analisis;
    for (const ColumnaAnalisis& campo : CamposAnalisis())
      if (campo.indice > 0) analisis.append(campo);
    return analisis;
  }();
  return columnas;
}

const ColumnaAnalisis* ColumnaPorIndice(int indice) {
  const QList<ColumnaAnalisis>& columnas = ColumnasAnalisis();
  if (indice < 1 || indice > columnas.size()) return nullptr;
  return &columnas[indice - 1];
}

const ColumnaAnalisis* ColumnaPorClave(const QString& clave) {
  for (const ColumnaAnalisis& columna : ColumnasAnalisis())
    if (columna.linea2.compare(clave.trimmed(), Qt::CaseInsensitive) == 0) return &columna;
  return nullptr;
}

const ColumnaAnalisis* CampoPorNombre(const QString& nombre) {
  const QString buscado = nombre.trimmed();
  for (const ColumnaAnalisis& campo : CamposAnalisis()) {
    if (campo.campo.compare(buscado, Qt::CaseInsensitive) == 0 ||
        (!campo.dataField.isEmpty() && campo.dataField.compare(buscado, Qt::CaseInsensitive) == 0))
      return &campo;
  }
  return nullptr;
}

TipoCampo TipoDeCampo(const QString& nombre) {
  const ColumnaAnalisis* campo = CampoPorNombre(nombre);
  return campo ? campo->tipo : TipoCampo::Desconocido;
}

int IndiceTipoHarina() {
  static const int indice = CampoPorNombre(QStringLiteral("tipo_harina"))->indice;
  return indice;
}

QString NombreColumna(const ColumnaAnalisis& columna) {
  return (columna.linea1 + QLatin1Char(' ') + columna.linea2).trimmed();
}
