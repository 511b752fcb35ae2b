#pragma once
// The embedded database files this station has opened, remembered in the
// configuration folder (estacion.ini), so that a file missing where one was
// used before is not silently replaced by a new, empty one.

#include <QString>

namespace bases_usadas {

bool UsadaAntes(const QString& ruta);
void Recordar(const QString& ruta);

}  // namespace bases_usadas
