#include "services/operador_qt.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolTip>
#include <QVBoxLayout>

#include "services/accion_operador.h"

namespace {

QMessageBox::Icon Icono(Operador::Estilo estilo) {
  switch (estilo) {
    case Operador::Estilo::Critico:
      return QMessageBox::Critical;
    case Operador::Estilo::Pregunta:
      return QMessageBox::Question;
    case Operador::Estilo::Exclamacion:
      return QMessageBox::Warning;
    case Operador::Estilo::Informacion:
      break;
  }
  return QMessageBox::Information;
}

struct Boton {
  QString texto;
  QMessageBox::ButtonRole rol;
};

// A question with two answers: true when the first was pressed. Escape
// presses the second; Enter the first when primeroPorDefecto.
bool DosBotones(QMessageBox::Icon icono, const QString& titulo, const QString& texto,
                const Boton& primero, const Boton& segundo, bool primeroPorDefecto) {
  QMessageBox caja(icono, titulo, texto, QMessageBox::NoButton, QApplication::activeWindow());
  QPushButton* uno = caja.addButton(primero.texto, primero.rol);
  QPushButton* otro = caja.addButton(segundo.texto, segundo.rol);
  caja.setDefaultButton(primeroPorDefecto ? uno : otro);
  caja.setEscapeButton(otro);
  const accion_operador::EnDialogo respondiendo;
  caja.exec();
  return caja.clickedButton() == uno;
}

}  // namespace

int OperadorQt::ReportarError(const QString& titulo, const QString& texto) {
  QMessageBox caja(QMessageBox::Critical, titulo, texto, QMessageBox::NoButton,
                   QApplication::activeWindow());
  QPushButton* anular = caja.addButton(QStringLiteral("&Anular"), QMessageBox::RejectRole);
  QPushButton* reintentar = caja.addButton(QStringLiteral("&Reintentar"), QMessageBox::AcceptRole);
  QPushButton* omitir = caja.addButton(QStringLiteral("&Omitir"), QMessageBox::ActionRole);
  caja.setDefaultButton(reintentar);
  caja.setEscapeButton(anular);
  const accion_operador::EnDialogo respondiendo;
  caja.exec();
  if (caja.clickedButton() == reintentar) return kReintentar;
  if (caja.clickedButton() == omitir) return kOmitir;
  return kAnular;
}

bool OperadorQt::Confirmar(const QString& titulo, const QString& texto, PorDefecto porDefecto) {
  return DosBotones(QMessageBox::Question, titulo, texto,
                    {QStringLiteral("&Sí"), QMessageBox::YesRole},
                    {QStringLiteral("&No"), QMessageBox::NoRole}, porDefecto == PorDefecto::Si);
}

Operador::Resolucion OperadorQt::ResolverConflicto(const QString& titulo, const QString& texto) {
  return DosBotones(QMessageBox::Warning, titulo, texto,
                    {QStringLiteral("&Guardar el mío"), QMessageBox::AcceptRole},
                    {QStringLiteral("&Tomar el otro"), QMessageBox::RejectRole}, true)
             ? Resolucion::Mantener
             : Resolucion::Tomar;
}

void OperadorQt::Avisar(Estilo estilo, const QString& titulo, const QString& texto) {
  QMessageBox caja(Icono(estilo), titulo, texto, QMessageBox::NoButton,
                   QApplication::activeWindow());
  caja.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
  const accion_operador::EnDialogo respondiendo;
  caja.exec();
}

std::optional<QString> OperadorQt::PedirTexto(const QString& titulo, const QString& pregunta,
                                              const QString& inicial) {
  QInputDialog dialogo(QApplication::activeWindow());
  dialogo.setWindowTitle(titulo);
  dialogo.setLabelText(pregunta);
  dialogo.setTextValue(inicial);
  dialogo.setOkButtonText(QStringLiteral("Aceptar"));
  dialogo.setCancelButtonText(QStringLiteral("Cancelar"));
  const accion_operador::EnDialogo respondiendo;
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  return dialogo.textValue();
}

void OperadorQt::MostrarConsulta(QDialog& ventana) { ventana.exec(); }

void OperadorQt::Informar(const QString& texto) {
  QWidget* ventana = QApplication::activeWindow();
  if (!ventana) return;
  if (auto* barra = ventana->findChild<QStatusBar*>()) {
    barra->showMessage(texto);
    return;
  }
  // A window without a status bar: a note over its lower edge that goes
  // away by itself.
  QToolTip::showText(ventana->mapToGlobal(QPoint(8, ventana->height() - 8)), texto, ventana, {},
                     15000);
}

std::optional<QDate> OperadorQt::ElegirFecha(const QString& titulo, const QDate& inicial) {
  QDialog dialogo(QApplication::activeWindow());
  dialogo.setWindowTitle(titulo);
  auto* calendario = new QCalendarWidget(&dialogo);
  calendario->setObjectName(QStringLiteral("Calendario"));
  // Month and day names in Spanish, the week as the station's country has it.
  calendario->setLocale(QLocale(QLocale::Spanish, QLocale().territory()));
  calendario->setGridVisible(true);
  calendario->setSelectedDate(inicial.isValid() ? inicial : QDate::currentDate());
  auto* botones = new QDialogButtonBox(&dialogo);
  botones->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
  botones->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
  auto* disposicion = new QVBoxLayout(&dialogo);
  disposicion->addWidget(calendario);
  disposicion->addWidget(botones);
  QObject::connect(calendario, &QCalendarWidget::activated, &dialogo, &QDialog::accept);
  QObject::connect(botones, &QDialogButtonBox::accepted, &dialogo, &QDialog::accept);
  QObject::connect(botones, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
  calendario->setFocus();
  const accion_operador::EnDialogo respondiendo;
  if (dialogo.exec() != QDialog::Accepted) return std::nullopt;
  return calendario->selectedDate();
}
