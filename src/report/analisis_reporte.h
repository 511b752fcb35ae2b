#pragma once
// The analyses an analysis report shows, read from v_mv_zentalia through the
// session's connection, and the figures of its summary.
//
// Every number value may be judged against the quality limits of its flour
// type in force on its day (JuzgarAnalisis); the summary then counts the
// values out of their limits.
//
// The statements are pure; LeerAnalisis runs one and throws Falla
// (kBaseDeDatos) when the engine fails, even after some rows have been read:
// a report is made from every selected row or from none.

#include <QDate>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

#include "analisis/limites.h"

class Conexion;

// The report's columns: every column of the sheet, in the sheet's order.
struct ColumnaReporte {
  QString titulo;  // the column heading
  QString campo;   // the database column
  bool numero;     // right-aligned, summed up at the end
  int peso;        // share of the page's width
};
inline constexpr int kColumnasReporte = 11;
const std::array<ColumnaReporte, kColumnasReporte>& ColumnasReporte();

struct AnalisisReporte {
  qint64 id = 0;
  QDate fecha;  // invalid when the row has no date
  // Each column as the operator reads it in the sheet (numbers with the
  // operator's decimal separator, times as hh:mm:ss, Null as empty).
  std::array<QString, kColumnasReporte> celdas;
  // The numbers of the number columns; NaN for Null and for text columns.
  std::array<double, kColumnasReporte> valores;
  // Each value's verdict and the bound it crossed; SinJuicio until judged,
  // and for text columns, empty values and values with no limits.
  std::array<Veredicto, kColumnasReporte> veredictos{};
  std::array<Lado, kColumnasReporte> lados{};
  // Whether any value is out of its limits.
  bool Fuera() const;
};

// The analyses selected by the condition (WHERE text; empty: every analysis),
// and how many there are.
QString SentenciaAnalisis(const QString& condicion);
QString SentenciaCuenta(const QString& condicion);

// Reads the rows of SentenciaAnalisis. avanzar is told how many rows have been
// read so far; when it answers false the reading stops and nothing is
// returned.
std::optional<std::vector<AnalisisReporte>> LeerAnalisis(
    Conexion& conexion, const QString& condicion, const std::function<bool(qint64)>& avanzar);

// By day (rows without a date last), then by time (rows without a time last
// in their day), then by key.
void Ordenar(std::vector<AnalisisReporte>& analisis);

// Judges every number value by the limits of its analysis's flour type in
// force on its day (LimiteVigente): the verdicts of the analyses.
void JuzgarAnalisis(std::vector<AnalisisReporte>& analisis, const QList<Limite>& limites);

// Count, mean, minimum and maximum of one number column over the analyses;
// of its judged values, how many were out of its limits.
struct ResumenColumna {
  int columna = 0;
  qint64 cantidad = 0;
  double suma = 0;
  double minimo = 0;
  double maximo = 0;
  int decimales = 0;    // the most decimals any value of the column was written with
  qint64 juzgados = 0;  // values with limits in force (Dentro, Aviso or Fuera)
  qint64 fuera = 0;
  double Promedio() const { return cantidad > 0 ? suma / double(cantidad) : 0; }
  // The share of the judged values within the limits, in percent; a value
  // in the warning band conforms.
  double Conformes() const {
    return juzgados > 0 ? 100.0 * double(juzgados - fuera) / double(juzgados) : 0;
  }
};
std::vector<ResumenColumna> Resumir(const std::vector<AnalisisReporte>& analisis);

// A figure with the operator's decimal separator and no thousands separator.
QString Cifra(double valor, int decimales);
