// frmHarina: storing one cell. The day sheet checks and writes it; the window
// tells the operator what became of it.

#include <QLineEdit>
#include <optional>

#include "services/convenciones.h"
#include "services/lib_campos.h"
#include "services/operador.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

namespace {

const QString kAviso = QStringLiteral("Aviso al operador");

}  // namespace

bool frmHarina::UpdateaCampo(QLineEdit* TXT) {
  PasosReportados pasos(QStringLiteral("UpdateaCampo"));
  // A store of its own ends the paste that Ctrl+Z could take back.
  ultimoPegado_.reset();
  std::optional<Planilla::Resultado> resultado;
  if (!pasos.Paso([&] {
        resultado = planilla_.Guardar(filaEditor_ - MSflexGrid1->FixedRows(), columnaEditor_,
                                      TXT->text(), LibCampos::SeparadorDecimal());
      }))
    return false;
  if (!resultado) return false;
  switch (resultado->estado) {
    case Planilla::Estado::Guardado:
    case Planilla::Estado::SinCambios:
      // The cell shows what the database now holds, and its row the verdicts
      // on it (a new flour type judges the whole row anew).
      // Setting the same text again would only stir the editor's input method.
      if (TXT->text() != resultado->celda) TXT->setText(resultado->celda);
      MarcarCelda(filaEditor_ - MSflexGrid1->FixedRows(), columnaEditor_);
      InformarEspecificacion(filaEditor_ - MSflexGrid1->FixedRows(), columnaEditor_);
      return true;
    case Planilla::Estado::Retenido:
      // Kept: the cell shows it, marked, until the database is back.
      if (TXT->text() != resultado->celda) TXT->setText(resultado->celda);
      MarcarFila(filaEditor_ - MSflexGrid1->FixedRows());
      MarcarPendientes();
      ConexionPerdida();
      return true;
    case Planilla::Estado::SinClave:
      ElOperador().Avisar(Operador::Estilo::Critico, kAviso, resultado->mensaje);
      return false;
    case Planilla::Estado::Rechazado:
    case Planilla::Estado::FilaBorrada:
      ElOperador().Avisar(Operador::Estilo::Exclamacion, kAviso, resultado->mensaje);
      return false;
  }
  return false;
}
