#pragma once
// Whether the program has a screen to open its window on. Without one Qt
// aborts with a long message; the program says so in one line instead.

namespace pantalla {

// True when a display is reachable (X11 or Wayland) or a Qt platform was chosen
// explicitly (QT_QPA_PLATFORM, for instance "offscreen").
bool Disponible();

// The one line shown when there is none.
const char* Aviso();

}  // namespace pantalla
