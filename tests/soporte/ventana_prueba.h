#pragma once
// VentanaIniciada: the sheet window started on a fresh database (the engine of
// the run), shown and active, with the scripted operator installed. Teclear
// and Tecla type as an operator does: each key goes to whichever control has
// the focus at that moment.

#include <QString>

#include "sheet/frm_harina.h"
#include "soporte/entorno_prueba.h"

struct VentanaIniciada {
  EntornoPrueba entorno;
  frmHarina ventana;
  bool cargada = false;
  bool activa = false;
  VentanaIniciada();
};

// The keys of the enabled buttons of the command bar, in the bar's order.
QStringList Habilitados(const frmHarina& ventana);

// Types each character of the text into the focused control.
void Teclear(const QString& texto);
// Presses one key, with modifiers, on the focused control.
void Tecla(Qt::Key tecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier);

// Types the date in the date field and presses Enter: the day is loaded.
void CargarDia(frmHarina& ventana, const QString& fecha);
