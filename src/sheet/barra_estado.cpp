#include "sheet/barra_estado.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>

namespace {

const QString kNombre = QStringLiteral("barraEstado");

QStatusBar* Barra(const QWidget* ventana) {
  return ventana->findChild<QStatusBar*>(kNombre, Qt::FindDirectChildrenOnly);
}

void Colocar(QWidget* ventana, QStatusBar* barra) {
  const int alto = barra->sizeHint().height();
  barra->setGeometry(0, ventana->height() - alto, ventana->width(), alto);
  barra->raise();
}

// Keeps the bar along the window's bottom edge through every resize.
class Seguidor : public QObject {
 public:
  Seguidor(QWidget* ventana, QStatusBar* barra) : QObject(barra), ventana_(ventana), barra_(barra) {
    ventana->installEventFilter(this);
  }
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (objeto == ventana_ && evento->type() == QEvent::Resize) Colocar(ventana_, barra_);
    return false;
  }

 private:
  QWidget* ventana_;
  QStatusBar* barra_;
};

}  // namespace

QString PistaDelEstado(bool cargada) {
  if (cargada)
    return QStringLiteral(
        "Escriba sobre una celda y presione Enter para grabarla; Insert agrega un análisis, "
        "Supr borra los seleccionados; F8 vuelve a elegir la fecha");
  return QStringLiteral(
      "Escriba una fecha y presione Enter para abrir la planilla del día; F3 abre el calendario");
}

QStatusBar* InstalarBarraDeEstado(QWidget* ventana) {
  auto* barra = new QStatusBar(ventana);
  barra->setObjectName(kNombre);
  barra->setSizeGripEnabled(false);
  barra->setAccessibleName(QStringLiteral("Barra de estado"));
  barra->setAccessibleDescription(QStringLiteral("Qué hacer a continuación"));
  auto* ayuda = new QLabel(QStringLiteral("F1: ayuda"), barra);
  ayuda->setObjectName(QStringLiteral("lblAyuda"));
  ayuda->setAccessibleName(QStringLiteral("F1: ayuda"));
  ayuda->setAccessibleDescription(QStringLiteral("F1 abre las tablas de teclas"));
  barra->addPermanentWidget(ayuda);
  new Seguidor(ventana, barra);
  Colocar(ventana, barra);
  return barra;
}

int AltoBarraDeEstado(const QWidget* ventana) {
  const QStatusBar* barra = Barra(ventana);
  return barra ? barra->sizeHint().height() : 0;
}

void MostrarPista(QWidget* ventana, bool cargada) {
  MostrarLinea(ventana, PistaDelEstado(cargada));
}

void MostrarLinea(QWidget* ventana, const QString& linea) {
  QStatusBar* barra = Barra(ventana);
  if (!barra) return;
  // Every stored cell says what follows, mostly the same line again: shown
  // again it would only repaint the bar and tell the screen reader twice.
  if (barra->currentMessage() != linea) barra->showMessage(linea);
  if (barra->accessibleDescription() != linea) barra->setAccessibleDescription(linea);
}

void MostrarConexion(QWidget* ventana, const QString& texto) {
  QStatusBar* barra = Barra(ventana);
  if (!barra) return;
  auto* etiqueta = barra->findChild<QLabel*>(QStringLiteral("lblConexion"));
  if (!etiqueta) {
    if (texto.isEmpty()) return;
    etiqueta = new QLabel(barra);
    etiqueta->setObjectName(QStringLiteral("lblConexion"));
    etiqueta->setAccessibleName(QStringLiteral("Conexión"));
    // Bold: the one thing on the bar that means entries are not stored yet.
    QFont negrita = etiqueta->font();
    negrita.setBold(true);
    etiqueta->setFont(negrita);
    barra->insertPermanentWidget(0, etiqueta);
  }
  etiqueta->setText(texto);
  etiqueta->setAccessibleDescription(texto);
  etiqueta->setVisible(!texto.isEmpty());
}
