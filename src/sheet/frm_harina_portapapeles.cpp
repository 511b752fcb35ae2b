// frmHarina: copy and paste like a spreadsheet. Ctrl+C copies the selected
// cells as tab-separated text; Ctrl+V pastes a block from the current cell
// rightward and downward, every value checked and stored as a typed one; one
// Ctrl+Z right after a paste takes the whole paste back.

#include <QApplication>
#include <QClipboard>
#include <QItemSelectionModel>
#include <algorithm>
#include <optional>
#include <utility>

#include "services/lib_campos.h"
#include "services/operador.h"
#include "sheet/bloque_celdas.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::CopiarCeldas() {
  const QModelIndexList elegidas = MSflexGrid1->selectionModel()->selectedIndexes();
  if (!PlanillaCargada || elegidas.isEmpty()) return;
  int arriba = elegidas.first().row(), abajo = arriba;
  int izquierda = elegidas.first().column(), derecha = izquierda;
  for (const QModelIndex& celda : elegidas) {
    arriba = std::min(arriba, celda.row());
    abajo = std::max(abajo, celda.row());
    izquierda = std::min(izquierda, celda.column());
    derecha = std::max(derecha, celda.column());
  }
  // The values, never the hidden key nor a new analysis's marker.
  izquierda = std::max(izquierda, 1);
  const QString separador = LibCampos::SeparadorDecimal();
  QList<QStringList> bloque;
  for (int fila = arriba; fila <= abajo && fila < planilla_.Filas(); ++fila) {
    QStringList celdas;
    for (int columna = izquierda; columna <= derecha; ++columna)
      celdas << planilla_.Valor(fila, columna, separador);
    bloque << celdas;
  }
  QApplication::clipboard()->setText(TextoDeBloque(bloque));
}

void frmHarina::PegarBloque() {
  if (!PlanillaCargada || MSflexGrid1->Row() < MSflexGrid1->FixedRows()) return;
  const QList<QStringList> bloque = LeerBloque(QApplication::clipboard()->text());
  if (bloque.isEmpty()) return;
  const QString separador = LibCampos::SeparadorDecimal();
  const int fila = MSflexGrid1->Row() - MSflexGrid1->FixedRows();
  const int columna = std::max(MSflexGrid1->Col(), 1);
  std::optional<Planilla::Pegado> pegado;
  try {
    pegado = planilla_.Pegar(fila, columna, bloque, separador);
  } catch (...) {
    // What was stored before the failure shows; the failure passes on.
    MostrarFilas();
    throw;
  }
  MostrarFilas();
  ultimoPegado_ = pegado;
  if (pegado->retenidos > 0) ConexionPerdida();
  if (!pegado->rechazos.isEmpty()) {
    QString hechos = QStringLiteral("Se guardaron %1 valores pegados").arg(pegado->guardados);
    if (pegado->retenidos > 0)
      hechos += QStringLiteral(" y %1 esperan la conexión").arg(pegado->retenidos);
    ElOperador().Avisar(Operador::Estilo::Exclamacion, QStringLiteral("Aviso al operador"),
                        hechos + QStringLiteral(". Estos no se guardaron:\n") +
                            pegado->rechazos.join(QLatin1Char('\n')));
  }
}

void frmHarina::DeshacerPegado() {
  if (!PlanillaCargada || !ultimoPegado_) return;
  const Planilla::Pegado pegado = *std::exchange(ultimoPegado_, std::nullopt);
  planilla_.Deshacer(pegado, LibCampos::SeparadorDecimal());
  if (pegado.agregadas > 0) {
    CmdCargar_Click();
  } else {
    MostrarFilas();
  }
}
