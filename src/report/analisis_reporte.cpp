#include "report/analisis_reporte.h"

#include <QDateTime>
#include <QLocale>
#include <QSet>
#include <QVariant>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "analisis/columnas.h"
#include "analisis/valores.h"
#include "services/conexion.h"
#include "services/lib_campos.h"
#include "services/recordset.h"

namespace {

// The columns read before the report's own: the key and the date.
constexpr int kPrimeraCelda = 2;

QDate DiaDe(const QVariant& valor) {
  if (valor.isNull()) return {};
  if (valor.typeId() == QMetaType::QDateTime) return valor.toDateTime().date();
  if (valor.typeId() == QMetaType::QDate) return valor.toDate();
  // SQLite keeps the moment as the text it was given: "yyyy-MM-dd hh:mm:ss".
  return QDate::fromString(valor.toString().left(10), Qt::ISODate);
}

// Digits after the decimal separator, whichever it is.
int Decimales(const QString& numero) {
  const qsizetype punto =
      std::max(numero.lastIndexOf(QLatin1Char('.')), numero.lastIndexOf(QLatin1Char(',')));
  return punto < 0 ? 0 : static_cast<int>(numero.size() - punto - 1);
}

}  // namespace

const std::array<ColumnaReporte, kColumnasReporte>& ColumnasReporte() {
  static const std::array<ColumnaReporte, kColumnasReporte> columnas = [] {
    std::array<ColumnaReporte, kColumnasReporte> delReporte;
    for (int c = 0; c < kColumnasReporte; ++c) {
      const ColumnaAnalisis& columna = *ColumnaPorIndice(c + 1);
      delReporte[c] = {columna.tituloReporte, columna.campo, columna.tipo == TipoCampo::Numero,
                       columna.pesoReporte};
    }
    return delReporte;
  }();
  return columnas;
}

QString SentenciaAnalisis(const QString& condicion) {
  QString sql = QStringLiteral("SELECT ID, Fecha");
  for (const ColumnaReporte& columna : ColumnasReporte())
    sql += QStringLiteral(", ") + columna.campo;
  sql += QStringLiteral(" FROM v_mv_zentalia");
  if (!condicion.isEmpty()) sql += QStringLiteral(" WHERE ") + condicion;
  // The date's index gives the rows in order; the time is sorted in memory.
  return sql + QStringLiteral(" ORDER BY Fecha, ID");
}

QString SentenciaCuenta(const QString& condicion) {
  QString sql = QStringLiteral("SELECT COUNT(*) FROM v_mv_zentalia");
  if (!condicion.isEmpty()) sql += QStringLiteral(" WHERE ") + condicion;
  return sql;
}

std::optional<std::vector<AnalisisReporte>> LeerAnalisis(
    Conexion& conexion, const QString& condicion, const std::function<bool(qint64)>& avanzar) {
  std::vector<AnalisisReporte> analisis;
  Recordset filas = conexion.Execute(SentenciaAnalisis(condicion));
  const auto& columnas = ColumnasReporte();
  const QString separador = LibCampos::SeparadorDecimal();
  std::array<const ColumnaAnalisis*, kColumnasReporte> columnasCelda{};
  for (int c = 0; c < kColumnasReporte; ++c) columnasCelda[c] = ColumnaPorIndice(c + 1);
  qint64 leidas = 0;
  // The rows come by day: a day's moment is read once.
  QVariant momentoAnterior;
  QDate diaAnterior;
  // Lab data repeats (flour types, times, values, a remark copied down): each
  // distinct text is held once, shared by every cell that shows it, which
  // takes a third off a long report's memory.
  QSet<QString> textos;
  while (!filas.Eof()) {
    AnalisisReporte fila;
    fila.id = filas.Valor(0).toLongLong();
    const QVariant momento = filas.Valor(1);
    if (momento != momentoAnterior) {
      diaAnterior = DiaDe(momento);
      momentoAnterior = momento;
    }
    fila.fecha = diaAnterior;
    for (int c = 0; c < kColumnasReporte; ++c) {
      const QVariant valor = filas.Valor(kPrimeraCelda + c);
      fila.valores[c] = std::numeric_limits<double>::quiet_NaN();
      // A cell of the report reads as the same cell of the sheet.
      fila.celdas[c] = *textos.insert(TextoMostrado(*columnasCelda[c], valor, separador));
      if (!columnas[c].numero || valor.isNull()) continue;
      bool esNumero = false;
      const double numero = valor.toDouble(&esNumero);
      if (esNumero) fila.valores[c] = numero;
    }
    // An analysis with no value at all (a blank row a station left) is no
    // analysis: it is neither printed nor counted.
    const bool enBlanco =
        std::all_of(fila.celdas.begin(), fila.celdas.end(), [](const QString& celda) {
          return std::all_of(celda.begin(), celda.end(), [](QChar c) { return c.isSpace(); });
        });
    if (!enBlanco) analisis.push_back(std::move(fila));
    if (!avanzar(++leidas)) return std::nullopt;
    filas.MoveNext();
  }
  filas.Close();
  Ordenar(analisis);
  return analisis;
}

void Ordenar(std::vector<AnalisisReporte>& analisis) {
  constexpr int kHorario = 1;
  const auto antes = [](const AnalisisReporte& a, const AnalisisReporte& b) {
    if (a.fecha.isValid() != b.fecha.isValid()) return a.fecha.isValid();
    if (a.fecha != b.fecha) return a.fecha < b.fecha;
    const QString& ha = a.celdas[kHorario];
    const QString& hb = b.celdas[kHorario];
    if (ha.isEmpty() != hb.isEmpty()) return hb.isEmpty();
    if (ha != hb) return ha < hb;
    return a.id < b.id;
  };
  // Analyses are mostly typed in the order they were taken: a day read in
  // order needs no moving.
  if (!std::is_sorted(analisis.begin(), analisis.end(), antes))
    std::stable_sort(analisis.begin(), analisis.end(), antes);
}

std::vector<ResumenColumna> Resumir(const std::vector<AnalisisReporte>& analisis) {
  std::vector<ResumenColumna> resumen;
  const auto& columnas = ColumnasReporte();
  for (int c = 0; c < kColumnasReporte; ++c) {
    if (!columnas[c].numero) continue;
    ResumenColumna r;
    r.columna = c;
    for (const AnalisisReporte& fila : analisis) {
      const double v = fila.valores[c];
      if (std::isnan(v)) continue;
      r.minimo = r.cantidad == 0 ? v : std::min(r.minimo, v);
      r.maximo = r.cantidad == 0 ? v : std::max(r.maximo, v);
      r.suma += v;
      ++r.cantidad;
      r.decimales = std::max(r.decimales, std::min(3, Decimales(fila.celdas[c])));
      if (fila.veredictos[c] == Veredicto::SinJuicio) continue;
      ++r.juzgados;
      if (fila.veredictos[c] == Veredicto::Fuera) ++r.fuera;
    }
    resumen.push_back(r);
  }
  return resumen;
}

bool AnalisisReporte::Fuera() const {
  return std::any_of(veredictos.begin(), veredictos.end(),
                     [](Veredicto v) { return v == Veredicto::Fuera; });
}

void JuzgarAnalisis(std::vector<AnalisisReporte>& analisis, const QList<Limite>& limites) {
  if (limites.isEmpty()) return;
  constexpr int kTipo = 0;
  const auto& columnas = ColumnasReporte();
  // A year's report holds thousands of analyses but a few flour types a day:
  // the rows in force are looked up once per flour type and day.
  using Vigentes = std::array<std::optional<Limite>, kColumnasReporte>;
  std::map<std::pair<QString, qint64>, Vigentes> porTipoYDia;
  for (AnalisisReporte& fila : analisis) {
    const QString& tipo = fila.celdas[kTipo];
    auto clave = std::make_pair(tipo.trimmed().toLower(), fila.fecha.toJulianDay());
    auto hallado = porTipoYDia.find(clave);
    if (hallado == porTipoYDia.end()) {
      Vigentes vigentes;
      for (int c = 0; c < kColumnasReporte; ++c)
        if (columnas[c].numero)
          vigentes[c] = LimiteVigente(limites, tipo, columnas[c].campo, fila.fecha);
      hallado = porTipoYDia.emplace(std::move(clave), std::move(vigentes)).first;
    }
    for (int c = 0; c < kColumnasReporte; ++c) {
      const std::optional<Limite>& limite = hallado->second[c];
      if (!limite || std::isnan(fila.valores[c])) continue;
      const Juicio juicio = Juzgar(*limite, fila.valores[c]);
      fila.veredictos[c] = juicio.veredicto;
      fila.lados[c] = juicio.lado;
    }
  }
}

QString Cifra(double valor, int decimales) {
  QLocale local;
  local.setNumberOptions(QLocale::OmitGroupSeparator);
  return local.toString(valor, 'f', decimales);
}
