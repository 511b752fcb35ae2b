#pragma once
// LibEntorno: this program's place among the maker's programs (the two parts of
// its INI section name, [LABORATORIO|HARINA]) and the look shared by its
// windows.

#include <QString>

class QWidget;

class LibEntorno {
 public:
  static QString PrefijoSeccion() { return QStringLiteral("Laboratorio"); }
  static QString SufijoSeccion() { return QStringLiteral("Harina"); }

  // The shared look: a calm light palette, and the header band and panels
  // drawn as raised frames.
  static void AplicarEstilo(QWidget* ventana);
};
