// frmHarina: the command bar's actions. The grid's Insert and Delete run the
// same actions as NUEVO and BORRAR.

#include <QDateTime>
#include <QLineEdit>
#include <algorithm>
#include <utility>

#include "services/convenciones.h"
#include "services/fechas.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "services/teclas.h"
#include "services/util_kor.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"
#include "sheet/sentencias.h"

void frmHarina::UtilKor1_BotonPulsado(QString& Boton) {
  EnFrontera(Boton, [&] { EjecutarComando(Boton); });
}

void frmHarina::EjecutarComando(const QString& Boton) {
  const QString boton = Boton.trimmed().toUpper();
  // An entry still open is stored before the command runs, so that the
  // command sees what the screen shows; a refused one stops the command and
  // waits in the editor. CONSULTAR works on the open entry itself.
  if (boton != QLatin1String("CONSULTAR") && !ConfirmarEditorAbierto()) return;
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
  } else if (boton == QLatin1String("CERRAR")) {
    close();
  } else if (boton == QLatin1String("CANCELAR")) {
    InicializaPantalla();
  }
}

bool frmHarina::ConfirmarEditorAbierto() {
  if (!TxtEdit->isVisible()) return true;
  CampoValida(TxtEdit);
  if (!CampoInvalido && UpdateaCampo(TxtEdit)) {
    CerrarEditorEnCelda();
    return true;
  }
  TxtEdit->setFocus(Qt::OtherFocusReason);
  TxtEdit->selectAll();
  return false;
}

qint64 frmHarina::InsertarAnalisis(const QDate& fecha, const QString& tecleada) {
  LibDatos& datos = LibDatos::Instancia();
  Conexion& conexion = datos.Conexion();
  datos.Ejecutar(sentencias::FilaNueva(conexion.dialecto(), fecha, tecleada,
                                       Campo(QStringLiteral("responsable"))->text(),
                                       QDateTime::currentDateTime()));
  // The key of the row this connection has just inserted, not the table's
  // highest key, which may be another station's row.
  Recordset clave;
  datos.AbrirConsulta(conexion.dialecto().ClaveInsertada(), clave, 0, 1, true);
  const qint64 id = clave.Fields(0).Value.toLongLong();
  datos.CerrarConsulta(clave);
  creadas_.append(id);
  return id;
}

void frmHarina::DejarDia() {
  const QList<qint64> creadas = std::exchange(creadas_, {});
  marcadas_.clear();
  if (creadas.isEmpty()) return;
  Conexion& conexion = LibDatos::Instancia().Conexion();
  conexion.Execute(sentencias::BorrarEnBlanco(conexion.dialecto(), Tabla, creadas));
}

void frmHarina::Nuevo() {
  // Only a loaded sheet takes rows: the idle grid belongs to no date.
  if (!PlanillaCargada) return;
  QLineEdit* campoFecha = Campo(QStringLiteral("fecha"));
  const QString tecleada = campoFecha->text();
  const std::optional<QDate> fecha = fechas::LeerFecha(tecleada);
  if (!fecha) throw Falla(Falla::kTipoIncompatible, fechas::NoEsFecha(tecleada));
  const qint64 id = InsertarAnalisis(*fecha, tecleada);

  MSflexGrid1->SetRows(MSflexGrid1->Rows() + 1);
  const int fila = MSflexGrid1->Rows() - 1;
  MSflexGrid1->SetTextMatrix(fila, 0, QString::number(id));
  // The marker shows the new analysis; it is never stored.
  MSflexGrid1->SetTextMatrix(fila, 1, QStringLiteral("Nuevo"));
  marcadas_.insert(id);
  for (int c = 2; c < MSflexGrid1->Cols(); ++c) MSflexGrid1->SetTextMatrix(fila, c, QString());
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
  const int desde = std::max(std::min(MSflexGrid1->Row(), MSflexGrid1->RowSel()),
                             MSflexGrid1->FixedRows());
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
    Conexion& conexion = LibDatos::Instancia().Conexion();
    for (int fila = desde; fila <= hasta; ++fila) {
      const qint64 id = ClaveDeFila(fila);
      conexion.Execute(sentencias::BorrarAnalisis(conexion.dialecto(), Tabla, id));
      creadas_.removeAll(id);
      marcadas_.remove(id);
    }
    CmdCargar_Click();
  }
  if (MSflexGrid1->Rows() < 3) UtilKor1->reporteenabled(false);
}
