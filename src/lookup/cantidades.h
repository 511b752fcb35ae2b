#pragma once
// The quantity of a lookup row, as its "**Cantidad**" column holds it: a text
// in the operator's form ("12,50" with a decimal comma). Insert adds one,
// Delete takes one away, Shift+Insert asks for the quantity. All functions are
// pure.

#include <QString>
#include <optional>

namespace cantidades {

// The number a quantity text begins with, read with a period or with the
// operator's decimal separator, the one the window writes it with ("3,50"
// reads 3.5); 0 for an empty or non-numeric text.
double Valor(const QString& texto);

// The quantity with `decimales` decimals, no thousands separator, at least one
// digit before the operator's decimal separator (the forms "########0.00" and
// "########0.0").
QString Formato(double valor, int decimales);

// A quantity and its row's check mark after a key.
struct Cambio {
  QString cantidad;
  std::optional<bool> marcada;  // nothing: the check mark stays as it is
};

// Insert: one more, with one decimal; the row is checked.
Cambio MasUno(const QString& actual);
// Delete: one less, with one decimal, the check mark left as it is; at zero
// or below the row is unchecked and the quantity is "0.00" in the operator's
// form.
Cambio MenosUno(const QString& actual);
// Shift+Insert answered with `respuesta`: a number other than 0 is the
// quantity, with two decimals, and checks the row; 0 empties the row ("0.00",
// unchecked). Nothing (the question cancelled, an empty or non-numeric answer)
// changes nothing.
std::optional<Cambio> Respuesta(const std::optional<QString>& respuesta);

}  // namespace cantidades
