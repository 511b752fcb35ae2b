#pragma once
// The statements of the lookup request: the row limit read from the
// configuration, and the statement of a table registered in "consultas.qvx".
// All functions are pure.

#include <QString>

#include "services/dialecto.h"
#include "lookup/mascaras_consultas.h"

namespace sentencias_consulta {

// The row limit of a registered table's lookup, from the configuration value
// "TopConsArt": its leading number (a period as decimal point) rounded to a
// whole number, a half to the even neighbour (12.5 gives 12, 13.5 gives 14).
// A missing, non-numeric or zero value gives 1000, and so does a value that
// rounds to no row at all or to fewer (a limit of none would list nothing).
int LimiteFilas(const QString& topConsArt);

// Whether the text is a statement rather than the name of a registered table:
// it holds "SELECT" in any case, anywhere.
bool EsSentencia(const QString& sql);

// Whether the statement brings its own order ("ORDER BY" in any case); the
// list then keeps the order the rows arrive in.
bool TieneOrden(const QString& sql);

// The statement of a registered table: its columns (the "|" list as a comma
// list, "*" when blank), its filter followed by one space and the caller's
// where, a default filter for VT_PROVEEDORES, VT_CLIENTES ("Dada_De_Baja = 0")
// and V_MA_ARTICULOS ("SUSPENDIDO = 0") when both are blank, ordered by
// campoBusqueda, limited to `limite` rows through the dialect.
//
// campoBusqueda, when it comes in empty, becomes the first registered column.
// A condition that would open with its connective (a blank filter and a where
// of "AND B = 2") loses it, so that WHERE is never followed by AND or OR. A
// blank column list with no campoBusqueda has no order column: the statement
// then has no ORDER BY at all, and campoBusqueda stays empty.
QString Registrada(const Dialecto& dialecto, int limite, const RegistroMascara& registro,
                   QString& campoBusqueda, const QString& where);

}  // namespace sentencias_consulta
