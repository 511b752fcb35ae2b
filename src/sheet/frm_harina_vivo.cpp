// frmHarina: the loaded day follows what other stations change in it.

#include <QLineEdit>

#include "services/falla.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::VerCambiosDeOtros() {
  if (!PlanillaCargada || !planilla_.Cargada()) return;
  // An open entry keeps its row where it is: a deleted analysis is only
  // marked until the entry is closed.
  const bool editando = TxtEdit->isVisible();
  const int fijas = MSflexGrid1->FixedRows();
  const int filaCursor = MSflexGrid1->Row() - fijas;
  const qint64 idCursor =
      filaCursor >= 0 && filaCursor < planilla_.Filas() ? planilla_.FilaEn(filaCursor).id : 0;
  Planilla::Novedades novedades;
  try {
    novedades = editando ? planilla_.Refrescar(true, filaEditor_ - fijas, columnaEditor_)
                         : planilla_.Refrescar(false);
  } catch (const Falla&) {
    // The watcher says so again at its next change; the operator hears of the
    // database through his own actions.
    return;
  }
  if (novedades.Vacias()) return;
  MostrarFilas();
  for (int fila = 0; fila < planilla_.Filas(); ++fila)
    MSflexGrid1->SetBorrada(fila + fijas, planilla_.FilaEn(fila).borrada);
  if (!editando && idCursor != 0) {
    const int fila = planilla_.FilaDe(idCursor);
    if (fila >= 0 && fila != filaCursor) MSflexGrid1->SetRow(fila + fijas);
  }
  if (!novedades.linea.isEmpty()) MostrarLinea(this, novedades.linea);
}

void frmHarina::QuitarBorradas() {
  if (PlanillaCargada && !TxtEdit->isVisible() && planilla_.HayBorradas()) VerCambiosDeOtros();
}
