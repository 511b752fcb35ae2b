#include "services/lib_campos.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QVariant>

#include "services/falla.h"
#include "services/teclas.h"

int LibCampos::PrepararCampo(const QString& nombre, const QList<QLineEdit*>& campos) {
  for (int i = 0; i < campos.size(); ++i) {
    const QString campo = campos[i]->property("DataField").toString();
    if (campo.compare(nombre.trimmed(), Qt::CaseInsensitive) == 0) return i;
  }
  throw Falla(Falla::kArgumentoInvalido,
              QStringLiteral("No hay un campo «%1» en la ventana.").arg(nombre));
}

bool LibCampos::EsTeclaAvance(int tecla) {
  return tecla == teclas::kEnter || tecla == teclas::kArriba || tecla == teclas::kAbajo;
}

void LibCampos::Avanzar(int tecla) {
  QWidget* actual = QApplication::focusWidget();
  if (!actual) return;
  const bool atras = tecla == teclas::kArriba;
  QWidget* siguiente = actual;
  do {
    siguiente = atras ? siguiente->previousInFocusChain() : siguiente->nextInFocusChain();
    if (siguiente->window() == actual->window() && siguiente->isVisible() &&
        siguiente->isEnabled() && (siguiente->focusPolicy() & Qt::TabFocus)) {
      siguiente->setFocus(atras ? Qt::BacktabFocusReason : Qt::TabFocusReason);
      return;
    }
  } while (siguiente != actual);
}

QChar LibCampos::FiltrarTecla(const QLineEdit* campo, QChar c) {
  if (c.unicode() < 32) return c;
  const bool esFecha = campo && campo->property("Tag").toString().compare(QLatin1String("Fecha"),
                                                                          Qt::CaseInsensitive) == 0;
  if (esFecha && !c.isDigit() && c != QLatin1Char('/')) return QChar();
  return c;
}

QString LibCampos::SeparadorDecimal() {
  // Asked several times for every stored cell, and the system locale answers
  // through a query of its own: kept while the default locale is the same.
  thread_local QLocale vista(QLocale::c());
  thread_local QString separador;
  const QLocale actual;
  if (separador.isNull() || actual != vista) {
    vista = actual;
    separador = actual.decimalPoint().left(1);
  }
  return separador;
}
