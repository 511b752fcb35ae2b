#include "lookup/lista_consulta.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "services/teclas.h"

ListaConsulta::ListaConsulta(QWidget* padre) : QTableView(padre), modelo_(this) {
  setModel(&modelo_);
  // One height for every row: the view never measures a hundred thousand.
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  // Tab leaves the list, as it leaves any other control of the window.
  setTabKeyNavigation(false);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTextElideMode(Qt::ElideNone);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setSectionsMovable(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setMinimumSectionSize(0);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
}

int ListaConsulta::SelectedItem() const {
  const QModelIndexList filas = selectionModel()->selectedRows();
  return filas.isEmpty() ? -1 : filas.first().row();
}

void ListaConsulta::SetSelectedItem(int item) {
  if (item < 0 || item >= modelo_.Filas()) return;
  setCurrentIndex(modelo_.index(item, 0));
  selectionModel()->select(modelo_.index(item, 0),
                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListaConsulta::EnsureVisible(int item) {
  if (item >= 0 && item < modelo_.Filas()) scrollTo(modelo_.index(item, 0));
}

QString ListaConsulta::ColumnHeaderText(int posicion) const {
  const QStringList& textos = modelo_.Encabezados();
  if (posicion < 1 || posicion > textos.size()) return {};
  return textos[posicion - 1];
}

void ListaConsulta::SetSorted(bool ordenada) {
  ordenada_ = ordenada;
  Reordenar();
}

void ListaConsulta::SetSortKey(int clave) {
  claveOrden_ = clave;
  Reordenar();
}

void ListaConsulta::SetSortOrder(int orden) {
  ordenDescendente_ = orden == 1;
  Reordenar();
}

void ListaConsulta::Ordenar(int clave, int orden) {
  ordenada_ = true;
  claveOrden_ = clave;
  ordenDescendente_ = orden == 1;
  Reordenar();
}

void ListaConsulta::Reordenar() {
  horizontalHeader()->setSortIndicatorShown(ordenada_);
  if (!ordenada_) return;
  const Qt::SortOrder orden = ordenDescendente_ ? Qt::DescendingOrder : Qt::AscendingOrder;
  horizontalHeader()->setSortIndicator(claveOrden_, orden);
  modelo_.Ordenar(claveOrden_, orden);
}

void ListaConsulta::keyPressEvent(QKeyEvent* evento) {
  if (AlTeclear && AlTeclear(teclas::CodigoVirtual(evento->key()),
                             teclas::Modificadores(evento->modifiers()), evento->text())) {
    evento->accept();
    return;
  }
  QTableView::keyPressEvent(evento);
}

void ListaConsulta::focusInEvent(QFocusEvent* evento) {
  QTableView::focusInEvent(evento);
  // The list answers for the item it shows with the focus: one that comes to
  // the list with nothing selected finds its first item selected.
  if (SelectedItem() < 0 && modelo_.Filas() > 0) {
    const int actual = currentIndex().isValid() ? currentIndex().row() : 0;
    SetSelectedItem(actual);
  }
}
