// frmHarina: the command bar's actions. The grid's Insert and Delete run the
// same actions as NUEVO and BORRAR.

#include <QLineEdit>
#include <algorithm>

#include "services/convenciones.h"
#include "services/operador.h"
#include "services/util_kor.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::UtilKor1_BotonPulsado(QString& Boton) {
  EnFrontera(Boton, [&] { EjecutarComando(Boton); });
}

void frmHarina::EjecutarComando(const QString& Boton) {
  const QString boton = Boton.trimmed().toUpper();
  // An entry still open is stored before the command runs, so that the
  // command sees what the screen shows; a refused one stops the command and
  // waits in the editor. CONSULTAR works on the open entry itself.
  if (boton != QLatin1String("CONSULTAR") && !GuardarEntrada(0)) return;
  if (boton == QLatin1String("NUEVO")) {
    Nuevo();
  } else if (boton == QLatin1String("BORRAR")) {
    Borrar();
  } else if (boton == QLatin1String("GRABAR") || boton == QLatin1String("PLANILLA")) {
    // Every cell is stored when it is confirmed: there is nothing to save.
  } else if (boton == QLatin1String("CONSULTAR")) {
    CmdConsultar(false);
  } else if (boton == QLatin1String("REPORTE")) {
    ImprimeReporte();
  } else if (boton == QLatin1String("GRAFICO")) {
    Graficar();
  } else if (boton == QLatin1String("EXPORTAR")) {
    Exportar();
  } else if (boton == QLatin1String("ESPECIFICACIONES")) {
    AbrirEspecificaciones();
  } else if (boton == QLatin1String("HISTORIAL")) {
    MostrarHistorial();
  } else if (boton == QLatin1String("CERRAR")) {
    close();
  } else if (boton == QLatin1String("CANCELAR")) {
    // Entries still waiting for the database keep the day on screen.
    GuardarEditorAbierto();
    planilla_.AlDia();
    InicializaPantalla();
  }
}

void frmHarina::Nuevo() {
  // Only a loaded sheet takes rows: the idle grid belongs to no date.
  if (!PlanillaCargada) return;
  const int fila = planilla_.Agregar() + MSflexGrid1->FixedRows();
  MostrarFilas();
  MSflexGrid1->setEnabled(true);
  UtilKor1->borrarenabled(true);
  UtilKor1->reporteenabled(true);
  // Ready for typing, however the command was given.
  MSflexGrid1->SetRow(fila);
  MSflexGrid1->SetCol(1);
  MSflexGrid1->setFocus(Qt::OtherFocusReason);
}

void frmHarina::Borrar() {
  if (!PlanillaCargada || MSflexGrid1->Rows() <= 2) return;
  // The selection may have been made upwards: from its upper row down.
  const int desde =
      std::max(std::min(MSflexGrid1->Row(), MSflexGrid1->RowSel()), MSflexGrid1->FixedRows());
  const int hasta = std::max(MSflexGrid1->Row(), MSflexGrid1->RowSel());
  if (hasta < desde) return;
  // Delete is the key a spreadsheet user clears a cell with: No is the
  // default answer, and the question says how much would go.
  if (ElOperador().Confirmar(QStringLiteral("Atención!"),
                             QStringLiteral("Muy importante...\r\nEsta opcion borra todos los "
                                            "registros seleccionados (%1 análisis)\r\n-Esta "
                                            "seguro de Continuar...?")
                                 .arg(hasta - desde + 1),
                             Operador::PorDefecto::No)) {
    planilla_.Borrar(desde - MSflexGrid1->FixedRows(), hasta - MSflexGrid1->FixedRows());
    CmdCargar_Click();
  }
  if (MSflexGrid1->Rows() < 3) UtilKor1->reporteenabled(false);
}
