#include "sheet/grilla.h"

#include <QEvent>
#include <QHash>
#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <algorithm>
#include <utility>

#include "services/twips.h"
#include "sheet/modelo_grilla.h"

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
  // The width a section's caption needs, every line of it whole. Measured once
  // per caption: every load sets the same captions again, and measuring lays
  // the text out through the style.
  int Necesario(int seccion) const {
    const QString texto = model()->headerData(seccion, orientation()).toString();
    const auto medida = medidas_.constFind(texto);
    if (medida != medidas_.cend()) return *medida;
    const int ancho = sectionSizeFromContents(seccion).width();
    medidas_.insert(texto, ancho);
    return ancho;
  }

 protected:
  void changeEvent(QEvent* evento) override {
    if (evento->type() == QEvent::FontChange || evento->type() == QEvent::StyleChange)
      medidas_.clear();
    QHeaderView::changeEvent(evento);
  }

 private:
  mutable QHash<QString, int> medidas_;
};

}  // namespace

Grilla::Grilla(QWidget* padre) : QTableView(padre), modelo_(new ModeloGrilla(this)) {
  setHorizontalHeader(new DosLineas(this));
  setModel(modelo_);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(false);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  setWordWrap(false);
}

int Grilla::Rows() const { return modelo_->rowCount() + kFixedRows; }
int Grilla::Cols() const { return modelo_->columnCount(); }

void Grilla::SetRows(int filas) { modelo_->SetFilas(std::max(0, filas - kFixedRows)); }

void Grilla::SetCols(int columnas) { modelo_->SetColumnas(std::max(0, columnas)); }

QString Grilla::TextMatrix(int fila, int columna) const {
  if (fila >= 0 && fila < kFixedRows) return modelo_->Encabezado(fila, columna);
  return modelo_->Texto(fila - kFixedRows, columna);
}

void Grilla::SetTextMatrix(int fila, int columna, const QString& texto) {
  if (fila < 0) return;
  if (fila < kFixedRows)
    modelo_->SetEncabezado(fila, columna, texto);
  else
    modelo_->SetTexto(fila - kFixedRows, columna, texto);
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
  if (isColumnHidden(columna)) setColumnHidden(columna, false);
  proporciones_.clear();
  const int necesario = static_cast<DosLineas*>(horizontalHeader())->Necesario(columna);
  setColumnWidth(columna, std::max(twips::APixeles(twipsAncho), necesario));
}

void Grilla::RepartirAncho() {
  proporciones_.clear();
  for (int c = 0; c < Cols(); ++c) proporciones_.append(isColumnHidden(c) ? 0 : columnWidth(c));
  Repartir();
}

void Grilla::Repartir() {
  qint64 total = 0;
  for (int ancho : proporciones_) total += ancho;
  if (total <= 0) return;
  // Each column ends where its share of the running total ends, so the
  // rounding never leaves a gap nor overflows.
  const qint64 disponible = viewport()->width();
  qint64 acumulado = 0;
  int borde = 0;
  for (int c = 0; c < proporciones_.size(); ++c) {
    if (proporciones_[c] == 0) continue;
    acumulado += proporciones_[c];
    const int siguiente = static_cast<int>(disponible * acumulado / total);
    setColumnWidth(c, siguiente - borde);
    borde = siguiente;
  }
}

void Grilla::SetColAccesible(int columna, const QString& nombre, const QString& descripcion) {
  modelo_->SetAccesible(columna, nombre, descripcion);
}

bool Grilla::Cortado(const QModelIndex& indice) const {
  const QString texto = modelo_->Texto(indice.row(), indice.column());
  if (texto.isEmpty()) return false;
  // The room the style leaves for a cell's text.
  const int margen = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1);
  return fontMetrics().horizontalAdvance(texto) + margen > visualRect(indice).width();
}

void Grilla::SetColAlignment(int columna, int alineacion) {
  modelo_->SetAlineacion(columna, Alineacion(alineacion));
}

int Grilla::Row() const { return FilaActual() < 0 ? -1 : FilaActual() + kFixedRows; }

void Grilla::IrA(int fila, int columna) { setCurrentIndex(modelo_->index(fila, columna)); }

void Grilla::SetRow(int fila) {
  if (fila < kFixedRows || fila >= Rows()) return;
  IrA(fila - kFixedRows, std::max(0, Col()));
}

void Grilla::SetCol(int columna) {
  if (columna < 0 || columna >= Cols() || FilaActual() < 0) return;
  IrA(FilaActual(), columna);
}

int Grilla::RowSel() const {
  const QItemSelection seleccion = selectionModel()->selection();
  if (seleccion.isEmpty()) return Row();
  const QItemSelectionRange& rango = seleccion.first();
  const int otro = FilaActual() == rango.top() ? rango.bottom() : rango.top();
  return otro + kFixedRows;
}

int Grilla::TopRow() const {
  const int fila = rowAt(0);
  return fila < 0 ? kFixedRows : fila + kFixedRows;
}

void Grilla::SetTopRow(int fila) {
  const int real = fila - kFixedRows;
  if (real < 0 || real >= modelo_->rowCount()) return;
  scrollTo(modelo_->index(real, std::max(0, Col())), QAbstractItemView::PositionAtTop);
}

QRect Grilla::RectanguloActual() const {
  QRect celda = visualRect(currentIndex());
  celda.translate(viewport()->pos());
  return celda;
}

QRect Grilla::RectanguloEnPadre() const {
  if (!currentIndex().isValid() || isColumnHidden(Col())) return {};
  return RectanguloActual().translated(pos());
}

void Grilla::Llenar(ContenidoGrilla contenido) {
  modelo_->Reemplazar(std::move(contenido), Negrita());
}

int Grilla::CellLeft() const { return twips::DePixeles(RectanguloActual().left()); }
int Grilla::CellTop() const { return twips::DePixeles(RectanguloActual().top(), Qt::Vertical); }
int Grilla::CellWidth() const { return twips::DePixeles(RectanguloActual().width()); }
int Grilla::CellHeight() const {
  return twips::DePixeles(RectanguloActual().height(), Qt::Vertical);
}

void Grilla::Clear() { modelo_->Vaciar(); }

void Grilla::SetJuiciosDeFila(int fila, QList<Juicio> juicios, const QString& separador) {
  modelo_->SetJuiciosDeFila(fila - kFixedRows, std::move(juicios), separador, Negrita());
}

void Grilla::SetJuicio(int fila, int columna, const Juicio& juicio, const QString& separador) {
  modelo_->SetJuicio(fila - kFixedRows, columna, juicio, separador, Negrita());
}

const QFont& Grilla::Negrita() {
  if (!negrita_.bold() || !(fuente_ == font())) {
    fuente_ = font();
    negrita_ = fuente_;
    negrita_.setBold(true);
  }
  return negrita_;
}

void Grilla::SetBorrada(int fila, bool borrada) { modelo_->SetBorrada(fila - kFixedRows, borrada); }

void Grilla::SetPendientes(const QList<QPoint>& celdas) {
  QSet<quint64> claves;
  for (const QPoint& celda : celdas)
    claves.insert(ModeloGrilla::Clave(celda.y() - kFixedRows, celda.x()));
  modelo_->SetPendientes(std::move(claves));
}

bool Grilla::EsPendiente(int fila, int columna) const {
  return modelo_->EsPendiente(fila - kFixedRows, columna);
}

void Grilla::SetCompleto(int fila, int columna, const QString& completo) {
  modelo_->SetCompleto(fila - kFixedRows, columna, completo);
}

Veredicto Grilla::JuicioEn(int fila, int columna) const {
  return modelo_->JuicioEn(fila - kFixedRows, columna);
}

QString Grilla::AyudaDeCelda(int fila, int columna) const {
  const QModelIndex indice = modelo_->index(fila - kFixedRows, columna);
  if (!indice.isValid()) return {};
  QStringList partes;
  if (Cortado(indice)) partes << modelo_->Texto(indice.row(), columna);
  const QString juicio = modelo_->data(indice, Qt::ToolTipRole).toString();
  if (!juicio.isEmpty()) partes << juicio;
  return partes.join(QLatin1Char('\n'));
}

void Grilla::Refresh() { viewport()->update(); }

bool Grilla::viewportEvent(QEvent* evento) {
  if (evento->type() == QEvent::Resize && !proporciones_.isEmpty()) Repartir();
  if (evento->type() == QEvent::ToolTip) {
    const auto* ayuda = static_cast<QHelpEvent*>(evento);
    const QModelIndex indice = indexAt(ayuda->pos());
    const QString texto =
        indice.isValid() ? AyudaDeCelda(indice.row() + kFixedRows, indice.column()) : QString();
    if (!texto.isEmpty())
      QToolTip::showText(ayuda->globalPos(), texto, viewport(), visualRect(indice));
    else
      QToolTip::hideText();
    return true;
  }
  return QTableView::viewportEvent(evento);
}

bool Grilla::edit(const QModelIndex& indice, EditTrigger disparo, QEvent* evento) {
  if (disparo == QAbstractItemView::CurrentChanged) return false;
  return QTableView::edit(indice, disparo, evento);
}

void Grilla::currentChanged(const QModelIndex& actual, const QModelIndex& anterior) {
  QTableView::currentChanged(actual, anterior);
  emit CeldaCambiada();
}
