#include "sheet/ayuda.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

const QString kNombre = QStringLiteral("VentanaAyuda");

QDialog* CrearAyuda(QWidget* ventana) {
  auto* ayuda = new QDialog(ventana);
  ayuda->setObjectName(kNombre);
  ayuda->setWindowTitle(QStringLiteral("Ayuda: teclas de Análisis de Harina"));
  ayuda->setAccessibleName(QStringLiteral("Ayuda"));
  ayuda->setAccessibleDescription(
      QStringLiteral("Las teclas de la planilla, de la barra de comandos y de las consultas"));
  auto* texto = new QTextBrowser(ayuda);
  texto->setObjectName(QStringLiteral("txtAyuda"));
  texto->setAccessibleName(QStringLiteral("Teclas"));
  texto->setAccessibleDescription(QStringLiteral("Tablas de las teclas y lo que hace cada una"));
  texto->setMarkdown(TextoDeTeclas());
  auto* botones = new QDialogButtonBox(QDialogButtonBox::Close, ayuda);
  QPushButton* cerrar = botones->button(QDialogButtonBox::Close);
  cerrar->setText(QStringLiteral("&Cerrar"));
  cerrar->setAccessibleName(QStringLiteral("Cerrar"));
  cerrar->setAccessibleDescription(QStringLiteral("Cierra la ayuda"));
  QObject::connect(botones, &QDialogButtonBox::rejected, ayuda, &QDialog::reject);
  auto* columna = new QVBoxLayout(ayuda);
  columna->addWidget(texto);
  columna->addWidget(botones);
  // Wide enough for the tables' longest rows without a sideways scroll.
  ayuda->resize(ayuda->fontMetrics().averageCharWidth() * 110, ayuda->fontMetrics().height() * 40);
  return ayuda;
}

// F1 on any control of the window. A key filter rather than a shortcut: a
// shortcut waits for the window to be the active one, which a display without
// a window manager never makes it, while the keys still arrive.
class TeclaDeAyuda : public QObject {
 public:
  explicit TeclaDeAyuda(QWidget* ventana) : QObject(ventana), ventana_(ventana) {
    qApp->installEventFilter(this);
  }
  ~TeclaDeAyuda() override { qApp->removeEventFilter(this); }

  bool eventFilter(QObject* objeto, QEvent* evento) override {
    if (evento->type() != QEvent::KeyPress || !objeto->isWidgetType()) return false;
    const auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->key() != Qt::Key_F1 || tecla->modifiers() != Qt::NoModifier) return false;
    if (static_cast<QWidget*>(objeto)->window() != ventana_) return false;
    MostrarAyuda(ventana_);
    return true;
  }

 private:
  QWidget* ventana_;
};

}  // namespace

QString TextoDeTeclas() {
  QFile archivo(QStringLiteral(":/doc/teclas.md"));
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(archivo.readAll());
}

QDialog* MostrarAyuda(QWidget* ventana) {
  auto* ayuda = ventana->findChild<QDialog*>(kNombre, Qt::FindDirectChildrenOnly);
  if (!ayuda) ayuda = CrearAyuda(ventana);
  ayuda->show();
  ayuda->raise();
  ayuda->activateWindow();
  return ayuda;
}

void InstalarAyuda(QWidget* ventana) { new TeclaDeAyuda(ventana); }
