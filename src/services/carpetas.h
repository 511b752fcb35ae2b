#pragma once
// The folders the program reads and writes:
//  - the program's folder (where the executable lies; an installer puts the
//    INI file beside it),
//  - the data folder (QStandardPaths::AppDataLocation: the embedded database
//    and, when the program's folder is read-only or the program is installed,
//    the lookup definitions),
//  - the configuration folder ($XDG_CONFIG_HOME/analisis-harina).
// Tests point the program's folder elsewhere with FijarCarpetaDelPrograma.

#include <QString>

namespace carpetas {

QString DelPrograma();
QString DeDatos();
QString DeConfiguracion();

// True when the program runs installed: its folder is a prefix's bin/ beside
// share/analisis-harina/ (/usr/bin and /usr/share/analisis-harina). An
// installed program writes nothing beside itself, even when it could (root).
bool Instalado();

// An empty text goes back to the executable's folder.
void FijarCarpetaDelPrograma(const QString& carpeta);

// True when a file can be created in the folder.
bool SePuedeEscribir(const QString& carpeta);

}  // namespace carpetas
