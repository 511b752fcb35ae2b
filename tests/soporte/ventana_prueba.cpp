#include "soporte/ventana_prueba.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "services/util_kor.h"

#include "session/linea_de_comandos.h"

VentanaIniciada::VentanaIniciada() {
  FijarParametros(entorno.Parametros(QStringLiteral("Marta Giménez")));
  cargada = ventana.Form_Load();
  ventana.show();
  ventana.activateWindow();
  activa = QTest::qWaitForWindowActive(&ventana);
}

void Teclear(const QString& texto) {
  for (const uint caracter : texto.toUcs4()) {
    const char32_t c = caracter;
    const QString uno = QString::fromUcs4(&c, 1);
    QWidget* foco = QApplication::focusWidget();
    if (!foco) return;
    // Letters and digits carry their key (so the command bar sees them as an
    // operator's keys would); anything else arrives as typed text.
    Qt::Key clave = Qt::Key_unknown;
    if (caracter < 128 && QChar(caracter).isLetterOrNumber())
      clave = static_cast<Qt::Key>(QChar(caracter).toUpper().unicode());
    else if (caracter == ' ')
      clave = Qt::Key_Space;
    QTest::sendKeyEvent(QTest::Click, foco, clave, uno, Qt::NoModifier);
  }
}

void Tecla(Qt::Key tecla, Qt::KeyboardModifiers modificadores) {
  QWidget* foco = QApplication::focusWidget();
  if (foco) QTest::keyClick(foco, tecla, modificadores);
}

QStringList Habilitados(const frmHarina& ventana) {
  QStringList claves;
  for (const char* clave :
       {"NUEVO", "GRABAR", "BORRAR", "CONSULTAR", "PLANILLA", "REPORTE", "CANCELAR", "CERRAR"}) {
    if (ventana.UtilKor1->findChild<QToolButton*>(clave)->isEnabled()) claves << clave;
  }
  return claves;
}

void CargarDia(frmHarina& w, const QString& fecha) {
  w.txtFields[0]->setFocus();
  w.txtFields[0]->clear();
  Teclear(fecha);
  Tecla(Qt::Key_Return);
}
