// frmHarina: HISTORIAL (F7), the audit trail of the analysis under the cursor
// or of the day.

#include <QApplication>
#include <QLineEdit>

#include "services/convenciones.h"
#include "services/falla.h"
#include "services/fechas.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"
#include "sheet/historial.h"

void frmHarina::MostrarHistorial() {
  // From a cell of an analysis: that analysis. From anywhere else (the date
  // field, the header, the idle window): the day loaded, or the date typed.
  QWidget* foco = QApplication::focusWidget();
  const int fila = MSflexGrid1->Row() - MSflexGrid1->FixedRows();
  Historial* ventana = nullptr;
  if (PlanillaCargada && (foco == MSflexGrid1 || foco == TxtEdit) && fila >= 0 &&
      fila < planilla_.Filas() && planilla_.FilaEn(fila).id > 0) {
    ventana = Historial::DeAnalisis(this, planilla_.Tabla(), planilla_.FilaEn(fila).id,
                                    planilla_.Fecha());
  } else {
    QDate dia = planilla_.Fecha();
    if (!PlanillaCargada) {
      const QString texto = Campo(QStringLiteral("fecha"))->text();
      const std::optional<QDate> leida = fechas::LeerFecha(texto);
      if (!leida) throw Falla(Falla::kTipoIncompatible, fechas::NoEsFecha(texto));
      dia = *leida;
    }
    ventana = Historial::DelDia(this, Tabla, dia);
  }
  connect(ventana, &Historial::Restaurado, this, [this](const QDate& dia, qint64 /*id*/) {
    // The day loaded shows the analysis given back.
    if (PlanillaCargada && dia == planilla_.Fecha())
      EnFrontera(QStringLiteral("Historial"), [this] { CmdCargar_Click(); });
  });
  ventana->show();
  ventana->activateWindow();
}
