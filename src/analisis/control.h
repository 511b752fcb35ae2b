#pragma once
// The individuals and moving-range control chart of one analysis column: its
// figures and the run rules each point breaks. Pure: the same values and
// quality limits give the same figures and the same words.
//
// An empty value is skipped (never read as 0): it is no point of the chart.
// With fewer than two points there is no moving range, hence no control
// limits, no standard deviation and no rule; Cp and Cpk exist only when both
// quality limits do and the process varies.

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

// One analysis as read: when it was taken and its value, if any.
struct PuntoControl {
  QDate fecha;
  QString horario;  // "08:30" or empty
  std::optional<double> valor;
};

enum class Regla {
  FueraDeLimite,  // beyond LCS or LCI
  DosDeTres,      // 2 of 3 beyond 2 sigma on one side
  CuatroDeCinco,  // 4 of 5 beyond 1 sigma on one side
  OchoSeguidos,   // 8 in a row on one side of the centre
};

// A rule broken at a point (the one that completes the pattern).
struct Violacion {
  int punto;  // index in Control::puntos
  Regla regla;
  bool arriba;  // the side of the centre line
};

struct Control {
  QList<PuntoControl> puntos;  // only those with a value, in time order
  QList<double> rangos;        // |x[i] - x[i-1]|, one fewer than the points
  int n = 0;
  double media = 0;
  bool conLimites = false;  // two points or more
  double rangoMedio = 0;    // MRbar
  double lcs = 0, lci = 0;  // media ± 2.66 MRbar
  double lcsRango = 0;      // 3.267 MRbar
  double sigma = 0;         // MRbar / 1.128
  double desvio = 0;        // sample standard deviation
  std::optional<double> cp, cpk;
  QList<Violacion> violaciones;  // by point, then by rule
};

// The chart of the points (in time order) against the quality limits
// in force, which only Cp and Cpk use.
Control CalcularControl(const QList<PuntoControl>& puntos, std::optional<double> minimo,
                        std::optional<double> maximo);

// True when some rule is broken at that point.
bool PuntoMarcado(const Control& control, int punto);

// "15/03/2004 08:30": the point as the operator finds it in the sheet.
QString NombrarPunto(const PuntoControl& punto);

// The broken rule in words, naming its point:
// "15/03/2004 08:30: fuera del límite de control superior (LCS)".
QString DescribirViolacion(const Control& control, const Violacion& violacion);
