#include "analisis/control.h"

#include <algorithm>
#include <cmath>

namespace {

// The constants of the individuals chart: d2 for a range of two, 3/d2 and D4.
constexpr double kD2 = 1.128;
constexpr double kLimiteIndividuos = 2.66;
constexpr double kLimiteRango = 3.267;

// +1 above the centre beyond k sigma, -1 below it, 0 within.
int Lado(const Control& c, double valor, double k) {
  if (valor > c.media + k * c.sigma) return 1;
  if (valor < c.media - k * c.sigma) return -1;
  return 0;
}

// Whether at least `cuantos` of the `ventana` points ending at i lie beyond k
// sigma on the side of point i, itself among them.
bool Patron(const Control& c, int i, int ventana, int cuantos, double k, int& lado) {
  if (i + 1 < ventana) return false;
  lado = Lado(c, c.puntos[i].valor.value(), k);
  if (lado == 0) return false;
  int mas = 0;
  for (int j = i - ventana + 1; j <= i; ++j)
    if (Lado(c, c.puntos[j].valor.value(), k) == lado) ++mas;
  return mas >= cuantos;
}

void BuscarViolaciones(Control& c) {
  // Without variation there is no sigma to measure against: no rule applies.
  if (!c.conLimites || c.sigma <= 0) return;
  for (int i = 0; i < c.n; ++i) {
    const double x = c.puntos[i].valor.value();
    if (x > c.lcs || x < c.lci) c.violaciones.append({i, Regla::FueraDeLimite, x > c.lcs});
    int lado = 0;
    if (Patron(c, i, 3, 2, 2, lado)) c.violaciones.append({i, Regla::DosDeTres, lado > 0});
    if (Patron(c, i, 5, 4, 1, lado)) c.violaciones.append({i, Regla::CuatroDeCinco, lado > 0});
    if (i >= 7) {
      const int primero = Lado(c, x, 0);
      bool seguidos = primero != 0;
      for (int j = i - 7; j < i && seguidos; ++j)
        seguidos = Lado(c, c.puntos[j].valor.value(), 0) == primero;
      if (seguidos) c.violaciones.append({i, Regla::OchoSeguidos, primero > 0});
    }
  }
}

}  // namespace

Control CalcularControl(const QList<PuntoControl>& puntos, std::optional<double> minimo,
                        std::optional<double> maximo) {
  Control c;
  for (const PuntoControl& punto : puntos)
    if (punto.valor && std::isfinite(*punto.valor)) c.puntos.append(punto);
  c.n = static_cast<int>(c.puntos.size());
  if (c.n == 0) return c;
  double suma = 0;
  for (const PuntoControl& punto : c.puntos) suma += *punto.valor;
  c.media = suma / c.n;
  if (c.n < 2) return c;

  c.conLimites = true;
  double sumaRangos = 0, cuadrados = 0;
  for (int i = 0; i < c.n; ++i) {
    const double x = *c.puntos[i].valor;
    cuadrados += (x - c.media) * (x - c.media);
    if (i > 0) {
      c.rangos.append(std::abs(x - *c.puntos[i - 1].valor));
      sumaRangos += c.rangos.last();
    }
  }
  c.rangoMedio = sumaRangos / (c.n - 1);
  c.lcs = c.media + kLimiteIndividuos * c.rangoMedio;
  c.lci = c.media - kLimiteIndividuos * c.rangoMedio;
  c.lcsRango = kLimiteRango * c.rangoMedio;
  c.sigma = c.rangoMedio / kD2;
  c.desvio = std::sqrt(cuadrados / (c.n - 1));
  // The capability against the customer's limits uses the within-process
  // sigma the chart's limits come from.
  if (minimo && maximo && c.sigma > 0) {
    c.cp = (*maximo - *minimo) / (6 * c.sigma);
    c.cpk = std::min(*maximo - c.media, c.media - *minimo) / (3 * c.sigma);
  }
  BuscarViolaciones(c);
  return c;
}

bool PuntoMarcado(const Control& control, int punto) {
  return std::any_of(control.violaciones.begin(), control.violaciones.end(),
                     [&](const Violacion& v) { return v.punto == punto; });
}

QString NombrarPunto(const PuntoControl& punto) {
  const QString dia = punto.fecha.toString(QStringLiteral("dd/MM/yyyy"));
  return punto.horario.isEmpty() ? dia : dia + QLatin1Char(' ') + punto.horario;
}

QString DescribirViolacion(const Control& control, const Violacion& v) {
  const QString lado = v.arriba ? QStringLiteral("por encima") : QStringLiteral("por debajo");
  QString regla;
  switch (v.regla) {
    case Regla::FueraDeLimite:
      regla = v.arriba ? QStringLiteral("fuera del límite de control superior (LCS)")
                       : QStringLiteral("fuera del límite de control inferior (LCI)");
      break;
    case Regla::DosDeTres:
      regla = QStringLiteral("2 de 3 puntos a más de 2 sigma %1 de la media").arg(lado);
      break;
    case Regla::CuatroDeCinco:
      regla = QStringLiteral("4 de 5 puntos a más de 1 sigma %1 de la media").arg(lado);
      break;
    case Regla::OchoSeguidos:
      regla = QStringLiteral("8 puntos seguidos %1 de la media").arg(lado);
      break;
  }
  return NombrarPunto(control.puntos[v.punto]) + QStringLiteral(": ") + regla;
}
