#pragma once
// IniciarSesion: the session start, run once by the sheet window's load before
// anything else. Reads the INI toolbar setting and the start-up parameters,
// opens the database connection (unless one is open already), fills in the
// shared state and chooses the configuration table. The lookups and the
// report are prepared by the sheet window's start-up (PrepararConsultasYReportes).
//
// Returns false only when no connection could be opened: the operator has been
// told why, and the program must end at once with a non-zero status. Any other
// failure ends the session start silently at that step (a failure of the
// invalid-argument kind only skips its step) and returns true.

#include <QString>

bool IniciarSesion();

// The application folder: the program's own folder when a file can be created
// there, else the data folder, so that an installed program still keeps its
// lookup definitions. Always ends in "/".
QString CarpetaDeAplicacion();
