#pragma once
// Grilla: the sheet grid, a table view over plain lists of texts
// (ModeloGrilla) that speaks the flex grid's vocabulary. Rows 0 and 1 are the
// two fixed header rows: they live in the horizontal header (one two-line
// label per column, so they stay in view when the rows scroll) and can never
// be the current cell. Rows from 2 on are the model's rows 0, 1, ... Column
// widths and cell measures are in twips. CeldaCambiada is emitted on every
// move of the current cell.
//
// A column is never narrower than its header's two lines need, so no caption
// is cut; a cell whose text does not fit its column shows the whole text in
// its tool tip, followed by the verdict on its value when it has one.

#include <QFont>
#include <QList>
#include <QPoint>
#include <QStringList>
#include <QTableView>

#include "analisis/limites.h"
#include "sheet/modelo_grilla.h"

class Grilla : public QTableView {
  Q_OBJECT

 public:
  static constexpr int kFixedRows = 2;

  explicit Grilla(QWidget* padre = nullptr);
  // Qt's slot stays public beside the protected override below.
  using QTableView::edit;

  int Rows() const;
  void SetRows(int filas);
  int Cols() const;
  void SetCols(int columnas);
  int FixedRows() const { return kFixedRows; }

  QString TextMatrix(int fila, int columna) const;
  void SetTextMatrix(int fila, int columna, const QString& texto);

  // Width in twips; 0 hides the column. A header caption wider than that
  // widens the column to fit it.
  int ColWidth(int columna) const;
  void SetColWidth(int columna, int twips);
  // The visible columns, keeping the proportions of their widths, fill the
  // grid's width together, and keep filling it as the grid is resized, until
  // a column's width is set again.
  void RepartirAncho();
  // The name and description of a column for assistive technology.
  void SetColAccesible(int columna, const QString& nombre, const QString& descripcion);
  // 0 left and top, 2 left and bottom (as the old grid numbered them); applied
  // to the header label and the column's cells.
  void SetColAlignment(int columna, int alineacion);

  // The current cell; Row() is -1 while there is none.
  int Row() const;
  int Col() const { return currentIndex().isValid() ? currentIndex().column() : -1; }
  void SetRow(int fila);
  void SetCol(int columna);
  // The other end of the selection made from the current row.
  int RowSel() const;
  int TopRow() const;
  void SetTopRow(int fila);

  // The current cell's place and size inside the grid, in twips.
  int CellLeft() const;
  int CellTop() const;
  int CellWidth() const;
  int CellHeight() const;

  // The current cell's rectangle in the grid's parent (where the cell editor
  // lies); empty while there is no current cell or its column is hidden.
  QRect RectanguloEnPadre() const;

  // Shows a load (rows from row 2 on, the two header rows, full values and
  // verdicts), replacing everything at once. The columns' widths go back to
  // the default: the caller sizes them again.
  void Llenar(ContenidoGrilla contenido);

  // The verdicts on the values of a whole row (row 2 on; juicios[columna]),
  // shown at once, numbers in their tool tips with separador (ModeloGrilla
  // shows them); SinJuicio takes a cell's away.
  void SetJuiciosDeFila(int fila, QList<Juicio> juicios, const QString& separador);
  // The verdict of one cell (row 2 on), the row's others as they were.
  void SetJuicio(int fila, int columna, const Juicio& juicio, const QString& separador);
  Veredicto JuicioEn(int fila, int columna) const;
  // The full value of a cell (row 2 on) that shows it rounded; empty for none.
  void SetCompleto(int fila, int columna, const QString& completo);
  void SetBorrada(int fila, bool borrada);
  // The cells (row 2 on, column) whose entries wait for the database; the
  // last set is replaced.
  void SetPendientes(const QList<QPoint>& celdas);
  bool EsPendiente(int fila, int columna) const;
  // The tool tip a cell shows when the pointer rests on it; empty for none.
  QString AyudaDeCelda(int fila, int columna) const;

  // Empties every cell, the header rows included.
  void Clear();
  void Refresh();

 signals:
  void CeldaCambiada();

 protected:
  void currentChanged(const QModelIndex& actual, const QModelIndex& anterior) override;
  // The cells are edited by the window's own editor, never by Qt's: a move of
  // the cursor asks nothing of the delegate.
  bool edit(const QModelIndex& indice, EditTrigger disparo, QEvent* evento) override;
  bool viewportEvent(QEvent* evento) override;

 private:
  QRect RectanguloActual() const;
  const QFont& Negrita();
  int FilaActual() const { return currentIndex().isValid() ? currentIndex().row() : -1; }
  void IrA(int fila, int columna);
  void Repartir();
  // True when the cell's text is wider than the room its column gives it.
  bool Cortado(const QModelIndex& indice) const;

  ModeloGrilla* modelo_;
  // The widths RepartirAncho keeps in proportion (0 for hidden columns);
  // empty while widths are fixed.
  QList<int> proporciones_;
  // The font in bold for the marked cells, made once for the view's font
  // (fuente_) and again only when that changes.
  QFont fuente_;
  QFont negrita_;
};
