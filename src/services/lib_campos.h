#pragma once
// LibCampos: services of the data-entry fields. A field is a QLineEdit that
// carries its data field name in the property "DataField" and its lookup tag in
// the property "Tag" (a date field has the tag "Fecha").

#include <QChar>
#include <QList>
#include <QString>

class QLineEdit;

class LibCampos {
 public:
  // The index of the field bound to that data field name, compared without
  // regard to case. Throws Falla (kArgumentoInvalido) when none is.
  static int PrepararCampo(const QString& nombre, const QList<QLineEdit*>& campos);

  // Whether the key (a virtual-key code) confirms a field: Enter, Up, Down.
  // Esc never does: it cancels.
  static bool EsTeclaAvance(int tecla);

  // Moves the focus on from the focused field: Up to the previous control of the
  // tab order, any other key to the next one.
  static void Avanzar(int tecla);

  // The character to keep when c is typed in the field; a null QChar refuses
  // it. A date field takes digits and "/" only; control characters always pass.
  static QChar FiltrarTecla(const QLineEdit* campo, QChar c);

  // The operator's decimal separator, one character.
  static QString SeparadorDecimal();
};
