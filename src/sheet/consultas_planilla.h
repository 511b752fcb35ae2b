#pragma once
// The lookups of the day sheet's columns: for the lookup tag a grid column
// carries, the statement that lists the distinct non-empty values already
// recorded in that column (over all days), and the header of the result
// column whose value comes back. Pure functions.

#include <QString>
#include <optional>

#include "services/dialecto.h"

struct ConsultaPlanilla {
  QString campoDevuelto;
  QString sql;
};

// The lookup of a tag ("VT_TipoHarina", "VT_caract", "VT_colores", in any
// case); nothing for a tag without one.
std::optional<ConsultaPlanilla> ConsultaDeColumna(const Dialecto& dialecto, const QString& tag);
