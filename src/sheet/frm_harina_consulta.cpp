// frmHarina: CONSULTAR, the lookup of the control being edited. A date field
// gets the date prompt; the flour type, gluten characteristics and colour
// columns get the values already recorded. The value picked is then handled
// exactly as if the operator had typed it and pressed Enter: validated,
// stored, and the cursor moved on. A lookup or prompt that brings nothing
// back changes nothing: the field, the cell, the database and the current
// cell stay as they were.

#include <QLineEdit>

#include "lookup/lib_cls_cons3.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"
#include "services/teclas.h"
#include "sheet/consultas_planilla.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::CmdConsultar(bool LSinKeyDown) {
  // Without a sheet there is no cell to look up, whatever was edited last:
  // the idle window's lookup is its dates' calendar.
  if (!PlanillaCargada && txtFields.indexOf(qobject_cast<QLineEdit*>(ControlActivo)) < 0)
    ControlActivo = Campo(QStringLiteral("fecha"));
  if (!ControlActivo) return;
  const QString tag = ControlActivo->property("Tag").toString().trimmed();
  if (tag.isEmpty()) return;
  auto* control = qobject_cast<QLineEdit*>(ControlActivo);
  if (!control) return;
  const qsizetype campo = txtFields.indexOf(control);

  if (tag.compare(QLatin1String("Fecha"), Qt::CaseInsensitive) == 0) {
    const QString fecha = LibUtil::Instancia().ElegirFecha(control->text());
    activateWindow();
    if (fecha.isEmpty()) return;
    control->setText(fecha);
    // Enter in the field the date went into: the sheet's date loads its day,
    // a report date moves on (and never loads the sheet behind the report).
    if (campo >= 0) ConfirmarCampo(static_cast<int>(campo), teclas::kEnter);
    return;
  }

  const std::optional<ConsultaPlanilla> consulta =
      ConsultaDeColumna(LibDatos::Instancia().Conexion().dialecto(), tag);
  if (!consulta) return;
  Lib_ClsCons3& pedido = gConsulta();
  pedido.CampoDevuelto = consulta->campoDevuelto;
  std::optional<QStringList> devueltos;
  QString clave;
  QString campoBusqueda;
  QString where;
  pedido.ConsultaSearch(consulta->sql, devueltos, clave, campoBusqueda, where);
  activateWindow();
  const QString valor = pedido.ValorDevuelto.value_or(QString());
  if (valor.isEmpty()) return;

  if (control == TxtEdit) {
    // The editor over the current cell, as typing would open it.
    if (!TxtEdit->isVisible()) {
      int espacio = 32;
      MsflexGridEdt(MSflexGrid1, TxtEdit, espacio);
      if (!TxtEdit->isVisible()) return;
    }
    TxtEdit->setText(valor);
    if (!LSinKeyDown) {
      TxtEdit->setFocus(Qt::OtherFocusReason);
      GuardarEntrada(teclas::kEnter);
    }
    return;
  }
  control->setText(valor);
  if (!LSinKeyDown && campo >= 0) ConfirmarCampo(static_cast<int>(campo), teclas::kEnter);
}
