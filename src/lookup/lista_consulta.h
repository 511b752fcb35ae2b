#pragma once
// ListaConsulta: the lookup window's list, a table view over ModeloConsulta
// that speaks the old list view's vocabulary. A table view, not a tree view:
// a tree view keeps an item of some fifty bytes for every row it lays out,
// more than the texts of a hundred thousand short values take. Items are numbered from 0 in the
// order shown; -1 is no item. Column widths are in pixels. The list never
// edits an item's text; only a check box may be clicked (with Checkboxes on).
//
// The window handles the list's keys first: AlTeclear receives each key's
// virtual-key code, modifier mask and typed text and answers whether it used
// the key up.

#include <QTableView>
#include <functional>

#include "lookup/modelo_consulta.h"

class ListaConsulta : public QTableView {
  Q_OBJECT

 public:
  explicit ListaConsulta(QWidget* padre = nullptr);

  ModeloConsulta& Modelo() { return modelo_; }
  const ModeloConsulta& Modelo() const { return modelo_; }

  int ListItemsCount() const { return modelo_.Filas(); }
  // The selected item; -1 when none is.
  int SelectedItem() const;
  void SetSelectedItem(int item);
  void EnsureVisible(int item);

  QString Text(int item) const { return modelo_.Texto(item, 0); }
  QString SubItems(int item, int indice) const { return modelo_.Texto(item, indice); }
  void SetSubItems(int item, int indice, const QString& texto) {
    modelo_.SetTexto(item, indice, texto);
  }
  bool Checked(int item) const { return modelo_.Marcada(item); }
  void SetChecked(int item, bool marcada) { modelo_.SetMarcada(item, marcada); }
  bool Checkboxes() const { return modelo_.Casillas(); }
  void SetCheckboxes(bool casillas) { modelo_.SetCasillas(casillas); }

  int ColumnHeadersCount() const { return static_cast<int>(modelo_.Encabezados().size()); }
  // 1-based, as the headers were numbered.
  QString ColumnHeaderText(int posicion) const;

  // Sorting: Sorted keeps the items in SortKey's order (0-based column),
  // SortOrder 0 ascending, 1 descending.
  bool Sorted() const { return ordenada_; }
  void SetSorted(bool ordenada);
  int SortKey() const { return claveOrden_; }
  void SetSortKey(int clave);
  int SortOrder() const { return ordenDescendente_ ? 1 : 0; }
  void SetSortOrder(int orden);
  // Sorted, SortKey and SortOrder at once, with one sort.
  void Ordenar(int clave, int orden);

  std::function<bool(int codigo, int shift, const QString& texto)> AlTeclear;

 protected:
  void keyPressEvent(QKeyEvent* evento) override;
  void focusInEvent(QFocusEvent* evento) override;

 private:
  void Reordenar();

  ModeloConsulta modelo_;
  bool ordenada_ = false;
  int claveOrden_ = 0;
  bool ordenDescendente_ = false;
};
