#pragma once
// Configuration values: key/value rows (CLAVE, VALOR) of a table in the
// database, read on every call, never cached.
//
// CargarConfiguracion chooses the table once at start: "ta_configuracion" when
// it has a column "clave", else "ta_configuracion2". It has no failure handling
// of its own.
//
// ValorConfiguracion(clave) answers the first row's VALOR for the key (trimmed
// of blanks): a single space " " when the key has no row, an empty text when
// its VALOR is Null, the stored value untrimmed otherwise. A read before any
// table was chosen uses "TA_CONFIGURACION" from then on. A failing step is
// reported with the context word "Cfg": 5 goes on, any other answer returns an
// empty text at once; nothing is retried.

#include <QString>

void CargarConfiguracion();
QString ValorConfiguracion(const QString& clave);
