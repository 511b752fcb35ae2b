// frmHarina: the control chart of the current cell's column and flour type.

#include <QLineEdit>
#include <algorithm>

#include "report/ventana_grafico.h"
#include "services/falla.h"
#include "services/fechas.h"
#include "services/lib_campos.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

namespace {

// A range date typed on the report tab; nothing when the field is blank.
std::optional<QDate> FechaDeRango(const QLineEdit* campo) {
  const QString texto = campo->text();
  if (texto.trimmed().isEmpty()) return std::nullopt;
  const std::optional<QDate> fecha = fechas::LeerFecha(texto);
  if (!fecha) throw Falla(Falla::kTipoIncompatible, fechas::NoEsFecha(texto));
  return fecha;
}

// The first number column: where the chart opens when the cursor stands on a
// column that holds no number (the type, the time, the remarks).
const ColumnaAnalisis& PrimeraNumerica() {
  for (const ColumnaAnalisis& columna : ColumnasAnalisis())
    if (columna.tipo == TipoCampo::Numero) return columna;
  throw Falla(Falla::kArgumentoInvalido, QStringLiteral("No hay columnas numéricas."));
}

}  // namespace

void frmHarina::Graficar() {
  if (!PlanillaCargada || MSflexGrid1->Rows() <= MSflexGrid1->FixedRows()) return;
  PedidoControl pedido;
  pedido.tabla = Tabla;
  const std::optional<QDate> dia = fechas::LeerFecha(Campo(QStringLiteral("fecha"))->text());
  pedido.dia = dia.value_or(QDate::currentDate());
  pedido.desde = FechaDeRango(Campo(QStringLiteral("FechaDesde")));
  pedido.hasta = FechaDeRango(Campo(QStringLiteral("FechaHasta")));

  const ColumnaAnalisis* columna = ColumnaPorIndice(MSflexGrid1->Col());
  if (!columna || columna->tipo != TipoCampo::Numero) columna = &PrimeraNumerica();
  pedido.campo = columna->campo;
  const int fila = std::max(MSflexGrid1->Row() - MSflexGrid1->FixedRows(), 0);
  pedido.tipo = planilla_.Valor(fila, 1, LibCampos::SeparadorDecimal()).trimmed();
  if (pedido.tipo.isEmpty()) {
    MostrarLinea(this, QStringLiteral("El análisis no tiene tipo de harina: escríbalo y pulse F11 "
                                      "para ver su gráfico de control."));
    return;
  }
  // Written to SalidaGrafico instead, the operator is told where.
  AbrirGraficoControl(pedido, this);
}
