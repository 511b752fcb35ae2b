#include "sheet/grilla.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <algorithm>

#include "services/recordset.h"
#include "services/twips.h"

namespace {

Qt::Alignment Alineacion(int codigo) {
  return codigo == 2 ? Qt::AlignLeft | Qt::AlignBottom : Qt::AlignLeft | Qt::AlignTop;
}

// The two header rows always take two lines of text: their height is known
// without measuring every label again each time a label changes (which the
// load of a day does for every column).
class DosLineas : public QHeaderView {
 public:
  explicit DosLineas(QWidget* padre) : QHeaderView(Qt::Horizontal, padre) {}
  QSize sizeHint() const override { return {length(), 2 * fontMetrics().height() + 8}; }
};

}  // namespace

Grilla::Grilla(QWidget* padre) : QTableWidget(padre) {
  setHorizontalHeader(new DosLineas(this));
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setMinimumHeight(2 * fontMetrics().height() + 8);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignTop);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setWordWrap(false);
}

void Grilla::SetRows(int filas) { setRowCount(std::max(0, filas - kFixedRows)); }

void Grilla::SetCols(int columnas) {
  setColumnCount(columnas);
  while (encabezados_.size() < columnas) encabezados_.append(QStringList{QString(), QString()});
  while (encabezados_.size() > columnas) encabezados_.removeLast();
  for (int c = 0; c < columnas; ++c) MostrarEncabezado(c);
}

QString Grilla::TextMatrix(int fila, int columna) const {
  if (columna < 0 || columna >= columnCount()) return {};
  if (fila >= 0 && fila < kFixedRows) return encabezados_[columna][fila];
  const QTableWidgetItem* celda = item(fila - kFixedRows, columna);
  return celda ? celda->text() : QString();
}

void Grilla::SetTextMatrix(int fila, int columna, const QString& texto) {
  if (columna < 0 || columna >= columnCount() || fila < 0 || fila >= Rows()) return;
  if (fila < kFixedRows) {
    encabezados_[columna][fila] = texto;
    MostrarEncabezado(columna);
    return;
  }
  QTableWidgetItem* celda = item(fila - kFixedRows, columna);
  if (!celda) {
    celda = new QTableWidgetItem;
    const QTableWidgetItem* cabecera = horizontalHeaderItem(columna);
    celda->setTextAlignment(cabecera ? Qt::Alignment(cabecera->textAlignment())
                                     : Qt::AlignLeft | Qt::AlignVCenter);
    setItem(fila - kFixedRows, columna, celda);
  }
  celda->setText(texto);
}

void Grilla::MostrarEncabezado(int columna) {
  QTableWidgetItem* cabecera = horizontalHeaderItem(columna);
  if (!cabecera) {
    cabecera = new QTableWidgetItem;
    cabecera->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
    setHorizontalHeaderItem(columna, cabecera);
  }
  const QString texto = encabezados_[columna][0] + QLatin1Char('\n') + encabezados_[columna][1];
  if (cabecera->text() != texto) cabecera->setText(texto);
}

int Grilla::ColWidth(int columna) const {
  if (isColumnHidden(columna)) return 0;
  return twips::DePixeles(columnWidth(columna));
}

void Grilla::SetColWidth(int columna, int twipsAncho) {
  if (twipsAncho <= 0) {
    setColumnHidden(columna, true);
    return;
  }
  setColumnHidden(columna, false);
  setColumnWidth(columna, twips::APixeles(twipsAncho));
}

void Grilla::SetColAlignment(int columna, int alineacion) {
  if (!horizontalHeaderItem(columna)) MostrarEncabezado(columna);
  horizontalHeaderItem(columna)->setTextAlignment(Alineacion(alineacion));
  const Qt::Alignment nueva = Alineacion(alineacion);
  bool cambio = false;
  {
    // One notification for the whole column, not one per cell.
    const QSignalBlocker silencio(model());
    for (int r = 0; r < rowCount(); ++r) {
      QTableWidgetItem* celda = item(r, columna);
      if (celda && Qt::Alignment(celda->textAlignment()) != nueva) {
        celda->setTextAlignment(nueva);
        cambio = true;
      }
    }
  }
  if (cambio)
    emit model()->dataChanged(model()->index(0, columna), model()->index(rowCount() - 1, columna));
}

int Grilla::Row() const { return currentRow() < 0 ? -1 : currentRow() + kFixedRows; }

void Grilla::SetRow(int fila) {
  if (fila < kFixedRows || fila >= Rows()) return;
  setCurrentCell(fila - kFixedRows, std::max(0, currentColumn()));
}

void Grilla::SetCol(int columna) {
  if (columna < 0 || columna >= columnCount() || currentRow() < 0) return;
  setCurrentCell(currentRow(), columna);
}

int Grilla::RowSel() const {
  const QList<QTableWidgetSelectionRange> rangos = selectedRanges();
  if (rangos.isEmpty()) return Row();
  const QTableWidgetSelectionRange& rango = rangos.first();
  const int actual = currentRow();
  const int otro = actual == rango.topRow() ? rango.bottomRow() : rango.topRow();
  return otro + kFixedRows;
}

int Grilla::TopRow() const {
  const int fila = rowAt(0);
  return fila < 0 ? kFixedRows : fila + kFixedRows;
}

void Grilla::SetTopRow(int fila) {
  const int real = fila - kFixedRows;
  if (real < 0 || real >= rowCount()) return;
  scrollTo(model()->index(real, std::max(0, currentColumn())), QAbstractItemView::PositionAtTop);
}

QRect Grilla::RectanguloActual() const {
  QRect celda = visualRect(currentIndex());
  celda.translate(viewport()->pos());
  return celda;
}

QRect Grilla::RectanguloEnPadre() const {
  if (!currentIndex().isValid() || isColumnHidden(currentColumn())) return {};
  return RectanguloActual().translated(pos());
}

void Grilla::Enlazar(Recordset& filas, const std::function<QString(int, const QVariant&)>& texto) {
  const int columnas = filas.FieldCount();
  QStringList nombres;
  for (int c = 0; c < columnas; ++c) nombres.append(filas.Fields(c).Name);
  QList<QStringList> leidas;
  while (!filas.Eof()) {
    QStringList fila;
    fila.reserve(columnas);
    for (int c = 0; c < columnas; ++c) fila.append(texto(c, filas.Valor(c)));
    leidas.append(fila);
    filas.MoveNext();
  }

  clearContents();
  SetCols(columnas);
  setRowCount(static_cast<int>(leidas.size()));
  for (int c = 0; c < columnas; ++c) {
    encabezados_[c] = QStringList{QString(), nombres[c]};
    MostrarEncabezado(c);
  }
  // The items are made whole and handed over without one notification each;
  // the view learns of them all at once below.
  QList<Qt::Alignment> alineaciones;
  for (int c = 0; c < columnas; ++c) {
    const QTableWidgetItem* cabecera = horizontalHeaderItem(c);
    alineaciones.append(cabecera ? Qt::Alignment(cabecera->textAlignment())
                                 : Qt::AlignLeft | Qt::AlignVCenter);
  }
  {
    const QSignalBlocker silencio(model());
    for (int r = 0; r < leidas.size(); ++r) {
      for (int c = 0; c < columnas; ++c) {
        // An empty cell needs no item: it reads as an empty text.
        if (leidas[r][c].isEmpty()) continue;
        auto* celda = new QTableWidgetItem(leidas[r][c]);
        celda->setTextAlignment(alineaciones[c]);
        setItem(r, c, celda);
      }
    }
  }
  if (!leidas.isEmpty() && columnas > 0)
    emit model()->dataChanged(model()->index(0, 0),
                              model()->index(static_cast<int>(leidas.size()) - 1, columnas - 1));
}

int Grilla::CellLeft() const { return twips::DePixeles(RectanguloActual().left()); }
int Grilla::CellTop() const { return twips::DePixeles(RectanguloActual().top(), Qt::Vertical); }
int Grilla::CellWidth() const { return twips::DePixeles(RectanguloActual().width()); }
int Grilla::CellHeight() const {
  return twips::DePixeles(RectanguloActual().height(), Qt::Vertical);
}

void Grilla::Clear() {
  clearContents();
  for (int c = 0; c < encabezados_.size(); ++c) {
    encabezados_[c] = QStringList{QString(), QString()};
    MostrarEncabezado(c);
  }
}

void Grilla::Refresh() { viewport()->update(); }
