#include "services/util_kor.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QStyle>
#include <QToolButton>

#include "services/teclas.h"

namespace {

struct DefinicionBoton {
  const char* clave;
  const char* titulo;
  const char* ayuda;
  int tecla;  // virtual-key code of its shortcut, 0 for none
  QStyle::StandardPixmap icono;
};

// GRABAR and PLANILLA never become enabled in this program: every cell is
// stored when it is confirmed. They keep their places so that operators used
// to the maker's other programs find each button where they expect it.
constexpr DefinicionBoton kBotones[] = {
    {"NUEVO", "Nuevo", "Agregar un análisis a la planilla (F2)", teclas::kF2, QStyle::SP_FileIcon},
    {"GRABAR", "Grabar", "Grabar (cada celda se graba al confirmarla)", 0,
     QStyle::SP_DialogSaveButton},
    {"BORRAR", "Borrar", "Borrar los análisis seleccionados (F4)", teclas::kF4,
     QStyle::SP_TrashIcon},
    {"CONSULTAR", "Consultar", "Consultar los valores ya cargados (F3)", teclas::kF3,
     QStyle::SP_FileDialogContentsView},
    {"PLANILLA", "Planilla", "Planilla", 0, QStyle::SP_FileDialogDetailedView},
    {"REPORTE", "Reporte", "Imprimir el reporte de análisis (F6)", teclas::kF6,
     QStyle::SP_FileDialogInfoView},
    {"GRAFICO", "Gráfico", "Gráfico de control del análisis de la celda (F11)", teclas::kF11,
     QStyle::SP_FileDialogListView},
    {"EXPORTAR", "Exportar", "Exportar los análisis del reporte a CSV o XLSX (F10)", teclas::kF10,
     QStyle::SP_DialogSaveButton},
    {"ESPECIFICACIONES", "Especificaciones", "Límites de calidad por tipo de harina (F9)",
     teclas::kF9, QStyle::SP_DialogApplyButton},
    {"HISTORIAL", "Historial", "Quién cambió qué y cuándo: la celda o el día (F7)", teclas::kF7,
     QStyle::SP_FileDialogBack},
    {"CANCELAR", "Cancelar", "Volver a elegir la fecha (F8)", teclas::kF8,
     QStyle::SP_DialogCancelButton},
    {"CERRAR", "Cerrar", "Cerrar el programa (F12)", teclas::kF12, QStyle::SP_DialogCloseButton},
};

// The bar draws its icons at 16 pixels. On a screen of one device pixel per
// pixel the style's 16-pixel picture is the whole icon, the disabled and
// active looks made from it as the full icon makes them; the full icon reads
// every size the style ships, up to 128 pixels, which took a fifth of the
// program's start-up. The apply mark's other looks are drawn apart: it keeps
// its full icon.
QIcon Icono(const QStyle& estilo, QStyle::StandardPixmap icono) {
  if (qApp->devicePixelRatio() > 1 || icono == QStyle::SP_DialogApplyButton)
    return estilo.standardIcon(icono);
  return QIcon(estilo.standardPixmap(icono));
}

}  // namespace

UtilKor::UtilKor(QWidget* padre) : QWidget(padre) {
  auto* fila = new QHBoxLayout(this);
  fila->setContentsMargins(2, 2, 2, 2);
  fila->setSpacing(2);
  for (const DefinicionBoton& definicion : kBotones) {
    auto* boton = new QToolButton(this);
    const QString clave = QString::fromLatin1(definicion.clave);
    boton->setObjectName(clave);
    boton->setText(QString::fromUtf8(definicion.titulo));
    boton->setToolTip(QString::fromUtf8(definicion.ayuda));
    boton->setIcon(Icono(*style(), definicion.icono));
    boton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    boton->setIconSize(QSize(16, 16));
    boton->setFocusPolicy(Qt::NoFocus);
    boton->setAutoRaise(true);
    connect(boton, &QToolButton::clicked, this, [this, clave] { Pulsar(clave); });
    fila->addWidget(boton);
    botones_.append(boton);
  }
  fila->addStretch();
}

QToolButton* UtilKor::Boton(const QString& clave) const {
  // Found by its key in the bar's own list: the window sets several flags on
  // every load and every move of the cursor.
  for (qsizetype i = 0; i < botones_.size(); ++i)
    if (clave == QLatin1StringView(kBotones[i].clave)) return botones_[i];
  return nullptr;
}

void UtilKor::Habilitar(const QString& clave, bool valor) {
  // The window writes every flag on every move of the cursor: an unchanged
  // flag costs nothing (a real change repaints the button).
  QToolButton* boton = Boton(clave);
  if (boton->isEnabled() != valor) boton->setEnabled(valor);
}

void UtilKor::nuevoenabled(bool valor) { Habilitar(QStringLiteral("NUEVO"), valor); }
void UtilKor::grabarenabled(bool valor) { Habilitar(QStringLiteral("GRABAR"), valor); }
void UtilKor::borrarenabled(bool valor) { Habilitar(QStringLiteral("BORRAR"), valor); }
void UtilKor::consultaenabled(bool valor) { Habilitar(QStringLiteral("CONSULTAR"), valor); }
void UtilKor::planillaenabled(bool valor) { Habilitar(QStringLiteral("PLANILLA"), valor); }
void UtilKor::reporteenabled(bool valor) {
  Habilitar(QStringLiteral("REPORTE"), valor);
  // The export takes exactly the analyses the report would show.
  Habilitar(QStringLiteral("EXPORTAR"), valor);
}
void UtilKor::cancelarenabled(bool valor) { Habilitar(QStringLiteral("CANCELAR"), valor); }
void UtilKor::cerrarenabled(bool valor) { Habilitar(QStringLiteral("CERRAR"), valor); }

void UtilKor::StyleBar(double estilo) {
  for (QToolButton* boton : findChildren<QToolButton*>(QString(), Qt::FindDirectChildrenOnly))
    boton->setAutoRaise(estilo != 0);
}

void UtilKor::ProcesaTecla(int tecla) {
  for (const DefinicionBoton& definicion : kBotones) {
    if (definicion.tecla != 0 && definicion.tecla == tecla) {
      const QString clave = QString::fromLatin1(definicion.clave);
      if (Boton(clave)->isEnabled()) Pulsar(clave);
      return;
    }
  }
}

void UtilKor::Pulsar(const QString& clave) {
  QString boton = clave;
  emit BotonPulsado(boton);
}
