#pragma once
// The program's logic speaks virtual-key codes (13 Enter, 27 Esc, 38 Up, ...)
// and a modifier mask (1 Shift, 2 Ctrl, 4 Alt). This is the one table that
// translates Qt's keys at the widget edge.

#include <Qt>

namespace teclas {

enum : int {
  kRetroceso = 8,
  kTab = 9,
  kEnter = 13,
  kEsc = 27,
  kRePag = 33,
  kAvPag = 34,
  kFin = 35,
  kInicio = 36,
  kIzquierda = 37,
  kArriba = 38,
  kDerecha = 39,
  kAbajo = 40,
  kInsertar = 45,
  kSuprimir = 46,
  kF1 = 112,
  kF2 = 113,
  kF3 = 114,
  kF4 = 115,
  kF5 = 116,
  kF6 = 117,
  kF7 = 118,
  kF8 = 119,
  kF9 = 120,
  kF10 = 121,
  kF11 = 122,
  kF12 = 123,
};

enum : int { kShift = 1, kCtrl = 2, kAlt = 4 };

// The virtual-key code of a Qt key; 0 for a key the program has no code for.
int CodigoVirtual(int teclaQt);

// The modifier mask of Qt's modifiers.
int Modificadores(Qt::KeyboardModifiers modificadores);

}  // namespace teclas
