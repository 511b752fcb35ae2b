#include "sheet/historial.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "services/convenciones.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "sheet/modelo_historial.h"
#include "sheet/planilla.h"

namespace {

const QString kTitulo = QStringLiteral("Historial");

}  // namespace

Historial* Historial::DeAnalisis(QWidget* padre, const QString& tabla, qint64 id,
                                 const QDate& dia) {
  return new Historial(padre, tabla, id, dia);
}

Historial* Historial::DelDia(QWidget* padre, const QString& tabla, const QDate& dia) {
  return new Historial(padre, tabla, 0, dia);
}

Historial::Historial(QWidget* padre, QString tabla, qint64 id, QDate dia)
    : QDialog(padre), tabla_(std::move(tabla)), id_(id), dia_(dia) {
  setObjectName(kTitulo);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowModality(Qt::WindowModal);
  modelo_ = new ModeloHistorial(this);
  // Read before anything is shown: a failure makes no window.
  Recargar();

  filtro_ = new QSortFilterProxyModel(this);
  filtro_->setSourceModel(modelo_);
  filtro_->setFilterKeyColumn(-1);
  filtro_->setFilterCaseSensitivity(Qt::CaseInsensitive);

  auto* etiqueta = new QLabel(QStringLiteral("&Filtro:"), this);
  caja_ = new QLineEdit(this);
  caja_->setObjectName(QStringLiteral("filtro"));
  caja_->setClearButtonEnabled(true);
  etiqueta->setBuddy(caja_);
  connect(caja_, &QLineEdit::textChanged, filtro_, &QSortFilterProxyModel::setFilterFixedString);

  lista_ = new QTableView(this);
  lista_->setObjectName(QStringLiteral("lista"));
  lista_->setModel(filtro_);
  lista_->setSelectionBehavior(QAbstractItemView::SelectRows);
  lista_->setSelectionMode(QAbstractItemView::SingleSelection);
  lista_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lista_->setTabKeyNavigation(false);
  lista_->verticalHeader()->hide();
  lista_->horizontalHeader()->setStretchLastSection(true);
  lista_->setAccessibleName(QStringLiteral("Cambios registrados"));

  estado_ = new QLabel(this);
  estado_->setObjectName(QStringLiteral("resultado"));
  estado_->setWordWrap(true);

  // The keys are the window's own (eventFilter), not the buttons' mnemonics,
  // which would take the focus from the list and click a moment later.
  auto* copiar = new QPushButton(QStringLiteral("Copiar (Ctrl+C)"), this);
  auto* verificar = new QPushButton(QStringLiteral("Verificar registro (Alt+V)"), this);
  verificar->setObjectName(QStringLiteral("verificar"));
  restaurar_ = new QPushButton(QStringLiteral("Restaurar (Alt+R)"), this);
  restaurar_->setObjectName(QStringLiteral("restaurar"));
  restaurar_->setToolTip(QStringLiteral("Volver a crear el análisis borrado de la fila elegida"));
  auto* cerrar = new QPushButton(QStringLiteral("Cerrar (Esc)"), this);
  for (QPushButton* boton : {copiar, verificar, restaurar_, cerrar}) {
    boton->setAutoDefault(false);
    boton->setFocusPolicy(Qt::NoFocus);
  }
  connect(copiar, &QPushButton::clicked, this, [this] { Copiar(); });
  connect(verificar, &QPushButton::clicked, this, [this] { VerificarRegistro(); });
  connect(restaurar_, &QPushButton::clicked, this, [this] { RestaurarActual(); });
  connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);

  auto* arriba = new QHBoxLayout;
  arriba->addWidget(etiqueta);
  arriba->addWidget(caja_, 1);
  auto* abajo = new QHBoxLayout;
  for (QPushButton* boton : {copiar, verificar, restaurar_}) abajo->addWidget(boton);
  abajo->addStretch();
  abajo->addWidget(cerrar);
  auto* todo = new QVBoxLayout(this);
  todo->addLayout(arriba);
  todo->addWidget(lista_, 1);
  todo->addWidget(estado_);
  todo->addLayout(abajo);
  resize(900, 420);

  Rotular();
  caja_->installEventFilter(this);
  lista_->installEventFilter(this);
  if (filtro_->rowCount() > 0) lista_->selectRow(0);
  estado_->setText(modelo_->rowCount() == 0
                       ? QStringLiteral("No hay cambios registrados.")
                       : QStringLiteral("%1 cambios registrados.").arg(modelo_->rowCount()));
  caja_->setFocus();
}

void Historial::Recargar() {
  Conexion& conexion = LibDatos::Instancia().Conexion();
  modelo_->Poner(id_ > 0 ? auditoria::DeFila(conexion, tabla_, id_)
                         : auditoria::DelDia(conexion, tabla_, QStringLiteral("Fecha"), dia_));
}

void Historial::Rotular() {
  setWindowTitle(id_ > 0 ? QStringLiteral("Historial del análisis %1").arg(id_)
                         : QStringLiteral("Historial del día %1")
                               .arg(dia_.toString(QStringLiteral("dd/MM/yyyy"))));
  lista_->setColumnHidden(ModeloHistorial::kAnalisis, id_ > 0);
  restaurar_->setVisible(id_ == 0);
}

void Historial::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  caja_->setFocus(Qt::ActiveWindowFocusReason);
}

bool Historial::eventFilter(QObject* objeto, QEvent* evento) {
  if (evento->type() != QEvent::KeyPress) return QDialog::eventFilter(objeto, evento);
  auto* tecla = static_cast<QKeyEvent*>(evento);
  if (tecla->matches(QKeySequence::Copy) && !(objeto == caja_ && caja_->hasSelectedText())) {
    Copiar();
    return true;
  }
  if (tecla->key() == Qt::Key_F7 && id_ > 0 && dia_.isValid()) {
    // From one analysis to its whole day, where a deletion can be undone.
    EnFrontera(kTitulo, [this] {
      const qint64 analisis = id_;
      id_ = 0;
      try {
        Recargar();
      } catch (...) {
        id_ = analisis;
        throw;
      }
      Rotular();
      if (filtro_->rowCount() > 0) lista_->selectRow(0);
    });
    return true;
  }
  if (tecla->modifiers() == Qt::AltModifier && tecla->key() == Qt::Key_V) {
    VerificarRegistro();
    return true;
  }
  if (tecla->modifiers() == Qt::AltModifier && tecla->key() == Qt::Key_R && id_ == 0) {
    RestaurarActual();
    return true;
  }
  if (objeto == caja_ && (tecla->key() == Qt::Key_Down || tecla->key() == Qt::Key_PageDown)) {
    lista_->setFocus();
    if (!lista_->currentIndex().isValid() && filtro_->rowCount() > 0) lista_->selectRow(0);
    return true;
  }
  return QDialog::eventFilter(objeto, evento);
}

QString Historial::TextoMostrado() const {
  QStringList lineas;
  QStringList titulos;
  QList<int> columnas;
  for (int c = 0; c < filtro_->columnCount(); ++c) {
    if (lista_->isColumnHidden(c)) continue;
    columnas << c;
    titulos << filtro_->headerData(c, Qt::Horizontal).toString();
  }
  lineas << titulos.join(QLatin1Char('\t'));
  for (int f = 0; f < filtro_->rowCount(); ++f) {
    QStringList celdas;
    for (const int c : columnas) {
      // A tab or a line break inside a value would split its cell.
      QString texto = filtro_->index(f, c).data().toString();
      texto.replace(QLatin1Char('\t'), QLatin1Char(' '))
          .replace(QLatin1Char('\n'), QLatin1Char(' '));
      celdas << texto;
    }
    lineas << celdas.join(QLatin1Char('\t'));
  }
  return lineas.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

void Historial::Copiar() {
  QApplication::clipboard()->setText(TextoMostrado());
  estado_->setText(QStringLiteral("%1 filas copiadas.").arg(filtro_->rowCount()));
}

void Historial::VerificarRegistro() {
  EnFrontera(QStringLiteral("Verificar registro"), [this] {
    const auditoria::Verificacion v = auditoria::Verificar(LibDatos::Instancia().Conexion());
    estado_->setText(v.texto);
    ElOperador().Avisar(v.intacto ? Operador::Estilo::Informacion : Operador::Estilo::Critico,
                        QStringLiteral("Verificar registro"), v.texto);
  });
}

void Historial::RestaurarActual() {
  EnFrontera(QStringLiteral("Restaurar"), [this] { Restaurar(); });
}

void Historial::Restaurar() {
  const QModelIndex actual = filtro_->mapToSource(lista_->currentIndex());
  if (id_ > 0 || !actual.isValid() ||
      modelo_->FilaEn(actual.row()).asiento.accion != auditoria::kBaja) {
    ElOperador().Avisar(Operador::Estilo::Exclamacion, kTitulo,
                        QStringLiteral("Elija en la lista una fila de un análisis borrado "
                                       "(acción «baja») y vuelva a pulsar Restaurar."));
    return;
  }
  const qint64 borrado = modelo_->FilaEn(actual.row()).asiento.idFila;
  const Planilla::Restaurado hecho = Planilla::Restaurar(tabla_, borrado);
  Recargar();
  if (filtro_->rowCount() > 0) lista_->selectRow(0);
  estado_->setText(
      QStringLiteral("El análisis %1 se restauró como análisis %2.").arg(borrado).arg(hecho.id));
  emit Restaurado(hecho.dia, hecho.id);
}
