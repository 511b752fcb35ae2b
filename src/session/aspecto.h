#pragma once
// AplicarAspecto: dresses a window with the icon named in the INI file
// (section "Iconos", key "IconoDelSistema"; the program's icons are the
// resources :/iconos/<NAME>.png), falling back to "quorvex.ico" in the working
// folder when the window has no icon at all; gives it the shared look; and sets
// the StyleBar of its command bar "UtilKor1" to gFlatToolbars; on a database
// opened only to be read, its title says so. Every step runs
// even when one before it failed; nothing is ever reported.

class QWidget;

void AplicarAspecto(QWidget* ventana);
