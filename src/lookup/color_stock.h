#pragma once
// The stock colour of an article row in a lookup: which of the four
// configuration values "Stk_Nivel1" to "Stk_Nivel4" colours it, from its
// reorder point (PUNTOPEDIDO) and its stock. Pure functions.

#include <QColor>
#include <QString>
#include <optional>

namespace color_stock {

// 0 to 3, for "Stk_Nivel1" to "Stk_Nivel4": no reorder point and stock (0);
// stock above the reorder point (1); below it (2); anything else (3). Both
// numbers are compared as fixed-point values of four decimals.
int Nivel(double puntoPedido, double stock);

// A Windows colour number written in decimal (blue * 65536 + green * 256 +
// red); nothing for a text that is not such a number.
std::optional<QColor> ColorDeWindows(const QString& texto);

}  // namespace color_stock
