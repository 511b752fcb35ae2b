// frmHarina: the grid of the day sheet and loading a date's analyses into it.

#include <QFontMetrics>
#include <QLineEdit>
#include <optional>
#include <utility>

#include "analisis/columnas.h"
#include "analisis/limites.h"
#include "services/fechas.h"
#include "services/lib_campos.h"
#include "services/operador.h"
#include "services/twips.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::InicializaGrid() {
  columnaSeguida_ = -1;
  MSflexGrid1->Clear();
  MSflexGrid1->SetRows(30);
  MSflexGrid1->SetCols(12);
  // The idle grid's widths are runs of capital X in the window's font.
  const QFontMetrics medida(font());
  const auto equis = [&](int cuantas) {
    return twips::DePixeles(medida.horizontalAdvance(QString(cuantas, QLatin1Char('X'))));
  };
  MSflexGrid1->SetColWidth(0, 0);
  for (int c : {1, 2, 3}) MSflexGrid1->SetColWidth(c, equis(50));
  MSflexGrid1->SetColWidth(4, equis(10));
  MSflexGrid1->SetColWidth(5, equis(8));
  MSflexGrid1->SetColWidth(6, equis(20));
  for (int c = 7; c <= 11; ++c) MSflexGrid1->SetColWidth(c, equis(10));
  // Those widths, in proportion, fill the grid: no column runs off its edge.
  MSflexGrid1->RepartirAncho();
  MSflexGrid1->setEnabled(true);
}

void frmHarina::CmdCargar_Click() {
  QLineEdit* campoFecha = Campo(QStringLiteral("fecha"));
  const QString tecleada = campoFecha->text();
  const std::optional<QDate> fecha = fechas::LeerFecha(tecleada);
  if (!fecha) {
    ElOperador().Avisar(Operador::Estilo::Exclamacion, QStringLiteral("Aviso al operador"),
                        fechas::NoEsFecha(tecleada));
    campoFecha->setFocus();
    campoFecha->selectAll();
    return;
  }
  MSflexGrid1->setEnabled(true);
  GuardarEditorAbierto();
  ultimoPegado_.reset();
  planilla_.Cargar(Tabla, *fecha, tecleada, Campo(QStringLiteral("responsable"))->text());
  MostrarPlanilla();
  EncabezadosGrid();

  PlanillaCargada = true;
  // The cursor starts on the first analysis's flour type, wherever the focus
  // was when the grid was filled. The grid takes the focus before the date
  // field is disabled: the focus goes there at once, not first through the
  // window's next control.
  MSflexGrid1->setCurrentIndex(MSflexGrid1->model()->index(0, 1));
  MSflexGrid1->setFocus();
  bool cargada = true;
  EstadoPlanilla(cargada);
  EnabledControls(cargada);
}

void frmHarina::MostrarPlanilla() {
  // Texts, full values, verdicts and the headers' captions go to the grid at
  // once: one reset of the view, none of a cell or a caption after it.
  ContenidoGrilla contenido;
  contenido.separador = LibCampos::SeparadorDecimal();
  const int filas = planilla_.Filas();
  contenido.filas.reserve(filas);
  contenido.completos.resize(filas);
  contenido.juicios.reserve(filas);
  for (int f = 0; f < filas; ++f) {
    contenido.filas.append(planilla_.TextosDeFila(f, contenido.separador, &contenido.completos[f]));
    contenido.juicios.append(planilla_.JuiciosDeFila(f));
  }
  contenido.encabezados.append({QString(), QStringLiteral("ID")});
  for (const ColumnaAnalisis& columna : ColumnasAnalisis())
    contenido.encabezados.append({columna.linea1, columna.linea2});
  MSflexGrid1->Llenar(std::move(contenido));
}

void frmHarina::MostrarFilas() {
  const QString separador = LibCampos::SeparadorDecimal();
  MSflexGrid1->SetRows(planilla_.Filas() + MSflexGrid1->FixedRows());
  for (int fila = 0; fila < planilla_.Filas(); ++fila) {
    const QStringList textos = planilla_.TextosDeFila(fila, separador);
    for (int columna = 0; columna < textos.size(); ++columna)
      MSflexGrid1->SetTextMatrix(fila + MSflexGrid1->FixedRows(), columna, textos[columna]);
    MarcarFila(fila);
  }
  MarcarPendientes();
}

void frmHarina::MarcarFila(int fila, const QStringList* completos) {
  const QString separador = LibCampos::SeparadorDecimal();
  const int enGrilla = fila + MSflexGrid1->FixedRows();
  for (const ColumnaAnalisis& columna : ColumnasAnalisis()) {
    if (columna.decimales >= 0)
      MSflexGrid1->SetCompleto(enGrilla, columna.indice,
                               completos ? completos->at(columna.indice)
                                         : planilla_.Completo(fila, columna.indice, separador));
  }
  MSflexGrid1->SetJuiciosDeFila(enGrilla, planilla_.JuiciosDeFila(fila), separador);
}

void frmHarina::MarcarCelda(int fila, int indice) {
  const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
  if (!columna || indice == IndiceTipoHarina()) {
    MarcarFila(fila);
    return;
  }
  // Only numbers have a whole value and a verdict.
  if (columna->tipo != TipoCampo::Numero) return;
  // The row's other values, and the flour type that judges them, are as
  // they were: only this cell's whole value and verdict can have changed.
  const QString separador = LibCampos::SeparadorDecimal();
  const int enGrilla = fila + MSflexGrid1->FixedRows();
  if (columna->decimales >= 0)
    MSflexGrid1->SetCompleto(enGrilla, indice, planilla_.Completo(fila, indice, separador));
  MSflexGrid1->SetJuicio(enGrilla, indice, planilla_.Juzgar(fila, indice), separador);
}

void frmHarina::EncabezadosGrid() {
  columnaSeguida_ = -1;
  MSflexGrid1->SetColWidth(0, 0);
  for (const ColumnaAnalisis& columna : ColumnasAnalisis()) {
    MSflexGrid1->SetTextMatrix(0, columna.indice, columna.linea1);
    MSflexGrid1->SetTextMatrix(1, columna.indice, columna.linea2);
    MSflexGrid1->SetColWidth(columna.indice, columna.ancho);
    MSflexGrid1->SetColAlignment(columna.indice, columna.alineacion);
  }
  MSflexGrid1->Refresh();
}

void frmHarina::InformarEspecificacion(int fila, int indice) {
  const QString separador = LibCampos::SeparadorDecimal();
  QList<int> columnas{indice};
  if (indice == IndiceTipoHarina())
    for (const ColumnaAnalisis& columna : ColumnasAnalisis()) columnas << columna.indice;
  for (const int c : columnas) {
    const QString linea = LineaFuera(planilla_.Juzgar(fila, c), NombreColumna(*ColumnaPorIndice(c)),
                                     planilla_.Texto(fila, c, separador), separador);
    if (!linea.isEmpty()) {
      MostrarLinea(this, linea);
      return;
    }
  }
  MostrarPista(this, true);
}
