// frmHarina: the limits editor (F9, ESPECIFICACIONES) and the sheet judged
// again by what it saved.

#include <QApplication>
#include <QPointer>

#include "analisis/columnas.h"
#include "services/lib_campos.h"
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

void frmHarina::MarcarCelda(int fila, int indice) {
  static const int kTipo = CampoPorNombre(QStringLiteral("tipo_harina"))->indice;
  const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
  if (!columna || indice == kTipo) {
    MarcarFila(fila);
    return;
  }
  // Only numbers have a whole value and a verdict.
  if (columna->tipo != TipoCampo::Numero) return;
  // The row's other values are as they were: their whole values are not
  // formatted again. Its verdicts go to the grid as one list, as it takes
  // them.
  const QString separador = LibCampos::SeparadorDecimal();
  const int enGrilla = fila + MSflexGrid1->FixedRows();
  if (columna->decimales >= 0)
    MSflexGrid1->SetCompleto(enGrilla, indice, planilla_.Completo(fila, indice, separador));
  MSflexGrid1->SetJuiciosDeFila(enGrilla, planilla_.JuiciosDeFila(fila), separador);
}
