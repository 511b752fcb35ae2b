// frmHarina: the header fields (the sheet's date, the responsible person, the
// report's range) while the operator is in them, and the validation hook.

#include <QLineEdit>
#include <QPalette>

#include "services/lib_campos.h"
#include "services/teclas.h"
#include "services/util_kor.h"
#include "sheet/frm_harina.h"

namespace {

void Pintar(QLineEdit* campo, const QColor& color) {
  QPalette paleta = campo->palette();
  paleta.setColor(QPalette::Base, color);
  campo->setPalette(paleta);
}

}  // namespace

void frmHarina::txtFields_GotFocus(int Index) {
  QLineEdit* campo = txtFields[Index];
  ControlActivo = campo;
  UtilKor1->consultaenabled(!campo->property("Tag").toString().isEmpty());
  Pintar(campo, QColor(0, 255, 255));
  // After the field's own focus handling, which selects as it likes.
  const int largo = static_cast<int>(campo->text().trimmed().size());
  QMetaObject::invokeMethod(
      campo, [campo, largo] { campo->setSelection(0, largo); }, Qt::QueuedConnection);
}

void frmHarina::txtFields_LostFocus(int Index) { Pintar(txtFields[Index], Qt::white); }

bool frmHarina::txtFields_KeyDown(int Index, int KeyCode, int /*Shift*/) {
  QLineEdit* campo = txtFields[Index];
  ControlActivo = campo;
  const bool usada = LibCampos::EsTeclaAvance(KeyCode);
  if (usada) ConfirmarCampo(Index, KeyCode);
  UtilKor1->consultaenabled(!campo->property("Tag").toString().trimmed().isEmpty());
  return usada;
}

void frmHarina::ConfirmarCampo(int indice, int tecla) {
  CampoValida(txtFields[indice]);
  if (!CampoInvalido) LibCampos::Avanzar(tecla);
  if (indice == LibCampos::PrepararCampo(QStringLiteral("fecha"), txtFields) &&
      tecla == teclas::kEnter)
    CmdCargar_Click();
}

bool frmHarina::txtFields_KeyPress(int Index, const QString& texto) {
  if (texto.isEmpty()) return false;
  return LibCampos::FiltrarTecla(txtFields[Index], texto.at(0)).isNull();
}

void frmHarina::CampoValida(QWidget* /*Texto*/) {
  // No field of this window has a rule of its own: a date is checked where it
  // is used (the load), a number where it is written (UpdateaCampo).
  CampoInvalido = false;
}
