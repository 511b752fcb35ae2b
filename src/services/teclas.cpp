#include "services/teclas.h"

namespace teclas {

int CodigoVirtual(int teclaQt) {
  if (teclaQt >= Qt::Key_A && teclaQt <= Qt::Key_Z) return 'A' + (teclaQt - Qt::Key_A);
  if (teclaQt >= Qt::Key_0 && teclaQt <= Qt::Key_9) return '0' + (teclaQt - Qt::Key_0);
  if (teclaQt >= Qt::Key_F1 && teclaQt <= Qt::Key_F24) return kF1 + (teclaQt - Qt::Key_F1);
  switch (teclaQt) {
    case Qt::Key_Backspace:
      return kRetroceso;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kTab;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kEnter;
    case Qt::Key_Escape:
      return kEsc;
    case Qt::Key_Space:
      return 32;
    case Qt::Key_PageUp:
      return kRePag;
    case Qt::Key_PageDown:
      return kAvPag;
    case Qt::Key_End:
      return kFin;
    case Qt::Key_Home:
      return kInicio;
    case Qt::Key_Left:
      return kIzquierda;
    case Qt::Key_Up:
      return kArriba;
    case Qt::Key_Right:
      return kDerecha;
    case Qt::Key_Down:
      return kAbajo;
    case Qt::Key_Insert:
      return kInsertar;
    case Qt::Key_Delete:
      return kSuprimir;
    default:
      return 0;
  }
}

int Modificadores(Qt::KeyboardModifiers modificadores) {
  int mascara = 0;
  if (modificadores & Qt::ShiftModifier) mascara |= kShift;
  if (modificadores & Qt::ControlModifier) mascara |= kCtrl;
  if (modificadores & Qt::AltModifier) mascara |= kAlt;
  return mascara;
}

}  // namespace teclas
