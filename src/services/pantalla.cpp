#include "services/pantalla.h"

#include <QtGlobal>

namespace pantalla {

bool Disponible() {
  return !qEnvironmentVariableIsEmpty("DISPLAY") ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

const char* Aviso() {
  return "analisis-harina: no hay pantalla (DISPLAY vacío); ejecútelo en un escritorio o con "
         "xvfb-run -a analisis-harina \"@DbName=...;\"\n";
}

}  // namespace pantalla
