#include "lookup/color_stock.h"

#include <cmath>

namespace color_stock {

namespace {

// A fixed-point value of four decimals, as a whole number of ten-thousandths.
long long DiezMilesimos(double valor) { return std::llround(valor * 10000.0); }

}  // namespace

int Nivel(double puntoPedido, double stock) {
  const long long p = DiezMilesimos(puntoPedido);
  const long long s = DiezMilesimos(stock);
  if (p == 0 && s > 0) return 0;
  if (p > 0 && s > p) return 1;
  if (p > 0 && s < p) return 2;
  return 3;
}

std::optional<QColor> ColorDeWindows(const QString& texto) {
  bool esNumero = false;
  const long long numero = texto.trimmed().toLongLong(&esNumero);
  if (!esNumero || numero < 0 || numero > 0xFFFFFF) return std::nullopt;
  return QColor(static_cast<int>(numero & 0xFF), static_cast<int>((numero >> 8) & 0xFF),
                static_cast<int>((numero >> 16) & 0xFF));
}

}  // namespace color_stock
