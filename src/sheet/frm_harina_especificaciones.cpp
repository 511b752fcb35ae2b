// frmHarina: the limits editor (F9, ESPECIFICACIONES) and the sheet judged
// again by what it saved.

#include <QApplication>
#include <QPointer>

#include "services/operador.h"
#include "sheet/especificaciones.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::AbrirEspecificaciones() {
  const QPointer<QWidget> foco = QApplication::focusWidget();
  EditorEspecificaciones editor(nullptr, Tabla);
  editor.Cargar();
  // Modal, through the operator like every other window that waits for an
  // answer (tests drive it with keys).
  ElOperador().MostrarConsulta(editor);
  // Back where the operator was, as after a lookup.
  activateWindow();
  if (foco) foco->setFocus(Qt::OtherFocusReason);
  // New limits judge the loaded day at once, the analyses of other days as
  // of their own dates.
  if (editor.Guardado()) JuzgarDeNuevo();
}

void frmHarina::JuzgarDeNuevo() {
  planilla_.RecargarLimites();
  if (!PlanillaCargada) return;
  for (int fila = 0; fila < planilla_.Filas(); ++fila) MarcarFila(fila);
  MSflexGrid1->Refresh();
}
