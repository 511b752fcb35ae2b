#pragma once
// The session's shared state: written by the session start, read by the sheet
// window and the report. Empty text or zero at program start.

#include <QString>

inline double gFlatToolbars = 0;     // "FlatToolbars" of the INI file; the toolbar's StyleBar
inline QString gUsuarioLogeado;      // the logged-in operator, shown as the responsible person
inline QString gTablaConfiguracion;  // the table that holds the configuration values
