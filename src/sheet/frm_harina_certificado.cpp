// frmHarina: the certificate of analysis of the current row (Shift+F6). The
// certificate itself is the report layer's; the window only picks the
// analysis and says what came of it.

#include <QLineEdit>

#include "analisis/lector_limites.h"
#include "report/certificado.h"
#include "report/hoja_certificado.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/recordset.h"
#include "session/configuracion.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

namespace {

// Who the analysis was recorded by; the header's operator when the row says
// nobody.
QString ResponsableDe(Conexion& conexion, const QString& tabla, qint64 id,
                      const QString& operador) {
  Recordset fila = conexion.Execute(QStringLiteral("SELECT responsable FROM ") + tabla +
                                    QStringLiteral(" WHERE ID = ") + QString::number(id));
  const QString responsable = fila.Eof() ? QString() : fila.Valor(0).toString().trimmed();
  fila.Close();
  return responsable.isEmpty() ? operador : responsable;
}

}  // namespace

void frmHarina::ImprimeCertificado() {
  if (!PlanillaCargada) {
    MostrarLinea(this, QStringLiteral("Sin planilla cargada no hay análisis que certificar: "
                                      "cargue un día y elija una fila."));
    return;
  }
  if (!GuardarEntrada(0)) return;
  const int fila = MSflexGrid1->Row() - MSflexGrid1->FixedRows();
  if (fila < 0 || fila >= planilla_.Filas()) {
    MostrarLinea(this, QStringLiteral("Elija la fila de un análisis para su certificado."));
    return;
  }
  const QString separador = LibCampos::SeparadorDecimal();
  AnalisisCertificado analisis;
  bool enBlanco = true;
  for (int indice = 1; indice <= ColumnasAnalisis().size(); ++indice) {
    analisis.celdas << planilla_.Valor(fila, indice, separador);
    enBlanco = enBlanco && analisis.celdas.back().trimmed().isEmpty();
  }
  if (enBlanco) {
    MostrarLinea(this, QStringLiteral("Esta fila no tiene valores: no hay nada que certificar."));
    return;
  }
  const int tipo = IndiceTipoHarina();
  if (analisis.celdas.value(tipo - 1).trimmed().isEmpty()) {
    MostrarLinea(this, QStringLiteral("El análisis no tiene tipo de harina: escríbalo para "
                                      "certificarlo."));
    return;
  }
  Conexion& conexion = LibDatos::Instancia().Conexion();
  analisis.empresa = ValorConfiguracion(QStringLiteral("NOMBRE"));
  analisis.fecha = planilla_.Fecha();
  analisis.responsable = ResponsableDe(conexion, planilla_.Tabla(), planilla_.FilaEn(fila).id,
                                       Campo(QStringLiteral("responsable"))->text());
  // The limits as the database holds them now: a certificate states the
  // limits in force, whatever the sheet read at its first load.
  const Certificado certificado = ArmarCertificado(analisis, LeerLimites(conexion), separador);
  const QString ruta = EmitirCertificado(certificado);
  const QString linea = QStringLiteral("Certificado de %1 %2: %3")
                            .arg(certificado.tipoHarina, certificado.horario, certificado.veredicto)
                            .simplified();
  MostrarLinea(this, ruta.isEmpty() ? linea : linea + QStringLiteral(" · guardado en ") + ruta);
}
