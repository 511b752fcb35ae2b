// frmHarina: the command bar's actions. The grid's Insert and Delete run the
// same actions as NUEVO and BORRAR.

#include <QDateTime>
#include <QLineEdit>
#include <algorithm>

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

void frmHarina::Nuevo() {
  // Only a loaded sheet takes rows: the idle grid belongs to no date.
  if (!PlanillaCargada) return;
  QLineEdit* campoFecha = Campo(QStringLiteral("fecha"));
  const QString tecleada = campoFecha->text();
  const std::optional<QDate> fecha = fechas::LeerFecha(tecleada);
  if (!fecha) throw Falla(Falla::kTipoIncompatible, fechas::NoEsFecha(tecleada));

  LibDatos& datos = LibDatos::Instancia();
  Conexion& conexion = datos.Conexion();
  datos.Ejecutar(sentencias::FilaNueva(conexion.dialecto(), *fecha, tecleada,
                                       Campo(QStringLiteral("responsable"))->text(),
                                       QDateTime::currentDateTime()));
  // The key of the row this connection has just inserted, not the table's
  // highest key, which may be another station's row.
  Recordset clave;
  datos.AbrirConsulta(conexion.dialecto().ClaveInsertada(), clave, 0, 1, true);
  const qint64 id = clave.Fields(0).Value.toLongLong();
  datos.CerrarConsulta(clave);

  MSflexGrid1->SetRows(MSflexGrid1->Rows() + 1);
  const int fila = MSflexGrid1->Rows() - 1;
  MSflexGrid1->SetRow(fila);
  MSflexGrid1->SetCol(2);
  MSflexGrid1->SetTextMatrix(fila, 0, QString::number(id));
  MSflexGrid1->SetTextMatrix(fila, 1, QStringLiteral("Nuevo"));
  for (int c = 2; c < MSflexGrid1->Cols(); ++c) MSflexGrid1->SetTextMatrix(fila, c, QString());
  MSflexGrid1->setEnabled(true);
  MSflexGrid1_KeyDown(teclas::kEnter, 0);
  TxtEdit->setSelection(0, static_cast<int>(TxtEdit->text().size()));
  UtilKor1->borrarenabled(true);
  UtilKor1->reporteenabled(true);
  MSflexGrid1->SetCol(1);
}

void frmHarina::Borrar() {
  if (!PlanillaCargada || MSflexGrid1->Rows() <= 2) return;
  if (ElOperador().Confirmar(
          QStringLiteral("Atención!"),
          QStringLiteral("Muy importante...\r\nEsta opcion borra todos los registros "
                         "seleccionados\r\n-Esta seguro de Continuar...?"))) {
    // The selection may have been made upwards: from its upper row down.
    const int desde = std::min(MSflexGrid1->Row(), MSflexGrid1->RowSel());
    const int hasta = std::max(MSflexGrid1->Row(), MSflexGrid1->RowSel());
    Conexion& conexion = LibDatos::Instancia().Conexion();
    for (int fila = std::max(desde, MSflexGrid1->FixedRows()); fila <= hasta; ++fila) {
      MSflexGrid1->SetRow(fila);
      conexion.Execute(sentencias::BorrarAnalisis(conexion.dialecto(), Tabla, ClaveDeFila(fila)));
    }
    CmdCargar_Click();
  }
  if (MSflexGrid1->Rows() < 3) UtilKor1->reporteenabled(false);
}
