#include "sheet/especificaciones.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "analisis/escritura_limites.h"
#include "analisis/lector_limites.h"
#include "services/convenciones.h"
#include "services/fechas.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "session/estado_sesion.h"

namespace {

const QString kAviso = QStringLiteral("Aviso al operador");

// A cell being typed is confirmed as in the sheet's editor: Enter and Tab
// move to the next cell, Shift+Tab to the one before, Up and Down to the row
// above or below, and the cell the cursor reaches is not being typed yet, so
// the arrows and Delete work on it.
class DelegadoCotas : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    auto* tabla = qobject_cast<QTableWidget*>(parent());
    auto* editor = qobject_cast<QWidget*>(objeto);
    if (!tabla || !editor || evento->type() != QEvent::KeyPress)
      return QStyledItemDelegate::eventFilter(objeto, evento);
    const int filas = tabla->rowCount();
    const int columnas = tabla->columnCount();
    // The cells in reading order; the first and the last go no further.
    int celda = tabla->currentRow() * columnas + tabla->currentColumn();
    switch (static_cast<QKeyEvent*>(evento)->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
      case Qt::Key_Tab:
        ++celda;
        break;
      case Qt::Key_Backtab:
        --celda;
        break;
      case Qt::Key_Up:
        if (celda >= columnas) celda -= columnas;
        break;
      case Qt::Key_Down:
        if (celda + columnas < filas * columnas) celda += columnas;
        break;
      default:
        return QStyledItemDelegate::eventFilter(objeto, evento);
    }
    celda = std::clamp(celda, 0, filas * columnas - 1);
    emit commitData(editor);
    emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    tabla->setCurrentCell(celda / columnas, celda % columnas);
    return true;
  }
};

}  // namespace

EditorEspecificaciones::EditorEspecificaciones(QWidget* padre, QString tabla)
    : QDialog(padre), tabla_(std::move(tabla)), columnas_(ColumnasConLimites()) {
  setObjectName(QStringLiteral("Especificaciones"));
  setWindowTitle(QStringLiteral("Especificaciones"));

  tipos_ = new QComboBox(this);
  tipos_->setObjectName(QStringLiteral("TipoHarina"));
  auto* etiquetaTipo = new QLabel(QStringLiteral("&Tipo de harina:"), this);
  etiquetaTipo->setBuddy(tipos_);

  cotas_ = new QTableWidget(static_cast<int>(columnas_.size()), 4, this);
  cotas_->setObjectName(QStringLiteral("Limites"));
  cotas_->setHorizontalHeaderLabels({QStringLiteral("Mínimo"), QStringLiteral("Máximo"),
                                     QStringLiteral("Aviso mínimo"),
                                     QStringLiteral("Aviso máximo")});
  QStringList filas;
  for (const ColumnaAnalisis* columna : columnas_) {
    filas << (columna->unidad.isEmpty()
                  ? NombreColumna(*columna)
                  : QStringLiteral("%1 (%2)").arg(NombreColumna(*columna), columna->unidad));
  }
  cotas_->setVerticalHeaderLabels(filas);
  // Typing over a cell replaces it, as in the sheet; F2 edits it in place.
  cotas_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                          QAbstractItemView::DoubleClicked);
  cotas_->setSelectionMode(QAbstractItemView::SingleSelection);
  cotas_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  cotas_->setAccessibleName(QStringLiteral("Límites por columna"));
  cotas_->installEventFilter(this);
  cotas_->setItemDelegate(new DelegadoCotas(cotas_));

  vigente_ = new QLineEdit(QDate::currentDate().toString(fechas::kFormaCorta), this);
  vigente_->setObjectName(QStringLiteral("VigenteDesde"));
  auto* etiquetaVigente = new QLabel(QStringLiteral("&Vigente desde:"), this);
  etiquetaVigente->setBuddy(vigente_);

  auto* botones = new QDialogButtonBox(this);
  auto* guardar = botones->addButton(QStringLiteral("&Guardar"), QDialogButtonBox::AcceptRole);
  guardar->setObjectName(QStringLiteral("Guardar"));
  guardar->setToolTip(QStringLiteral("Guardar los límites de este tipo de harina (Ctrl+G)"));
  auto* cancelar = botones->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
  cancelar->setObjectName(QStringLiteral("Cancelar"));
  // Enter belongs to the cells being typed: only Ctrl+G or the button saves.
  for (QPushButton* boton : {guardar, cancelar}) {
    boton->setAutoDefault(false);
    boton->setDefault(false);
  }
  connect(botones, &QDialogButtonBox::accepted, this,
          [this] { EnFrontera(QStringLiteral("Guardar los límites"), [this] { Guardar(); }); });
  connect(botones, &QDialogButtonBox::rejected, this, &EditorEspecificaciones::reject);
  auto* atajo = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_G), this);
  connect(atajo, &QShortcut::activated, guardar, &QPushButton::click);

  auto* arriba = new QHBoxLayout;
  arriba->addWidget(etiquetaTipo);
  arriba->addWidget(tipos_, 1);
  auto* abajo = new QHBoxLayout;
  abajo->addWidget(etiquetaVigente);
  abajo->addWidget(vigente_);
  abajo->addStretch();
  abajo->addWidget(botones);
  auto* todo = new QVBoxLayout(this);
  todo->addLayout(arriba);
  todo->addWidget(cotas_, 1);
  todo->addLayout(abajo);
  resize(720, 320);
}

bool EditorEspecificaciones::eventFilter(QObject* objeto, QEvent* evento) {
  // Delete or Backspace over a cell not being typed empties it: no bound. (A
  // cell being typed has its own editor, which takes the keys.)
  if (objeto == cotas_ && evento->type() == QEvent::KeyPress) {
    const int tecla = static_cast<QKeyEvent*>(evento)->key();
    if ((tecla == Qt::Key_Delete || tecla == Qt::Key_Backspace) && cotas_->currentItem()) {
      cotas_->currentItem()->setText(QString());
      return true;
    }
  }
  return QDialog::eventFilter(objeto, evento);
}

void EditorEspecificaciones::Cargar() {
  Conexion& conexion = LibDatos::Instancia().Conexion();
  limites_ = LeerLimites(conexion);
  QStringList conLimites;
  for (const Limite& limite : limites_) conLimites << limite.tipoHarina;
  const QStringList tipos = TiposDeHarina(conLimites, LeerTiposRegistrados(conexion, tabla_));
  {
    const QSignalBlocker quieto(tipos_);
    tipos_->clear();
    tipos_->addItems(tipos);
  }
  connect(tipos_, &QComboBox::currentIndexChanged, this, &EditorEspecificaciones::CambiarTipo,
          Qt::UniqueConnection);
  MostrarTipo(tipos.isEmpty() ? -1 : 0);
  vigenteAbierto_ = vigente_->text();
  tipos_->setFocus();
}

void EditorEspecificaciones::MostrarTipo(int indice) {
  tipoMostrado_ = indice;
  const QString separador = LibCampos::SeparadorDecimal();
  const QString tipo = indice >= 0 ? tipos_->itemText(indice) : QString();
  abiertos_.clear();
  for (int fila = 0; fila < columnas_.size(); ++fila) {
    const CotasTecleadas textos = TextosDeLimite(
        tipo.isEmpty()
            ? std::nullopt
            : LimiteVigente(limites_, tipo, columnas_[fila]->campo, QDate::currentDate()),
        separador);
    abiertos_.append(textos);
    const QString celdas[] = {textos.minimo, textos.maximo, textos.avisoMinimo, textos.avisoMaximo};
    for (int c = 0; c < 4; ++c) {
      auto* celda = new QTableWidgetItem(celdas[c]);
      celda->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      cotas_->setItem(fila, c, celda);
    }
  }
  cotas_->setCurrentCell(0, 0);
  cotas_->setEnabled(indice >= 0);
}

void EditorEspecificaciones::CambiarTipo(int indice) {
  if (indice == tipoMostrado_) return;
  EnFrontera(QStringLiteral("Especificaciones"), [&] {
    if (!DescartarCambios()) {
      const QSignalBlocker quieto(tipos_);
      tipos_->setCurrentIndex(tipoMostrado_);
      return;
    }
    MostrarTipo(indice);
  });
}

CotasTecleadas EditorEspecificaciones::Textos(int fila) const {
  const auto texto = [&](int c) {
    const QTableWidgetItem* celda = cotas_->item(fila, c);
    return celda ? celda->text() : QString();
  };
  return {texto(0), texto(1), texto(2), texto(3)};
}

bool EditorEspecificaciones::HayCambios() const {
  if (vigente_->text().trimmed() != vigenteAbierto_.trimmed()) return true;
  for (int fila = 0; fila < abiertos_.size(); ++fila) {
    const CotasTecleadas ahora = Textos(fila);
    const CotasTecleadas antes = abiertos_[fila];
    if (ahora.minimo.trimmed() != antes.minimo || ahora.maximo.trimmed() != antes.maximo ||
        ahora.avisoMinimo.trimmed() != antes.avisoMinimo ||
        ahora.avisoMaximo.trimmed() != antes.avisoMaximo)
      return true;
  }
  return false;
}

void EditorEspecificaciones::TerminarCelda() {
  // Ctrl+G or Esc reach the dialog while a cell may still be typed: what it
  // shows is what the operator typed.
  QWidget* foco = QApplication::focusWidget();
  if (!foco || foco == cotas_ || !cotas_->isAncestorOf(foco)) return;
  emit cotas_->itemDelegate()->commitData(foco);
  emit cotas_->itemDelegate()->closeEditor(foco);
}

bool EditorEspecificaciones::DescartarCambios() {
  TerminarCelda();
  if (!HayCambios()) return true;
  return ElOperador().Confirmar(QStringLiteral("Atención!"),
                                QStringLiteral("Muy importante...\r\nEsta opcion descarta los "
                                               "límites escritos y no guardados de %1\r\n-Esta "
                                               "seguro de Continuar...?")
                                    .arg(tipos_->itemText(tipoMostrado_)),
                                Operador::PorDefecto::No);
}

void EditorEspecificaciones::reject() {
  bool descartar = false;
  EnFrontera(QStringLiteral("Especificaciones"), [&] { descartar = DescartarCambios(); });
  if (descartar) QDialog::reject();
}

void EditorEspecificaciones::Guardar() {
  if (tipoMostrado_ < 0) return;
  TerminarCelda();
  QString motivo;
  const std::optional<QDate> vigente = LeerVigenteDesde(vigente_->text(), &motivo);
  if (!vigente) {
    ElOperador().Avisar(Operador::Estilo::Exclamacion, kAviso, motivo);
    vigente_->setFocus();
    vigente_->selectAll();
    return;
  }
  const QString separador = LibCampos::SeparadorDecimal();
  QList<Limite> tecleadas;
  for (int fila = 0; fila < columnas_.size(); ++fila) {
    const FilaLeida leida = LeerFilaDeLimites(*columnas_[fila], Textos(fila), separador);
    if (!leida.valida) {
      ElOperador().Avisar(Operador::Estilo::Exclamacion, kAviso, leida.motivo);
      cotas_->setCurrentCell(fila, cotas_->currentColumn());
      cotas_->setFocus();
      return;
    }
    tecleadas.append(leida.limite);
  }
  const QString tipo = tipos_->itemText(tipoMostrado_);
  GuardarLimites(LibDatos::Instancia().Conexion(), gUsuarioLogeado, tipo, *vigente,
                 FilasAGuardar(limites_, tipo, *vigente, tecleadas));
  guardado_ = true;
  QDialog::accept();
}
