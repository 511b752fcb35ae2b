// frmHarina: the cell editor TxtEdit laid over the grid, and the grid's keys.
// The editor is tuned to the current column as the cursor moves (Seguir); it
// opens over the current cell when the operator types or double-clicks, and a
// confirming key stores the entry before the cursor moves on.

#include <QLineEdit>

#include "analisis/columnas.h"

#include "services/convenciones.h"
#include "services/lib_campos.h"
#include "services/teclas.h"
#include "services/util_kor.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

namespace {

// The last editable column: Enter there wraps to column 1.
constexpr int kUltimaColumna = 11;

// A scroll of one row when the current cell reaches below the grid.
void MostrarCeldaActual(Grilla* grilla) {
  const QRect celda = grilla->RectanguloEnPadre().translated(-grilla->pos());
  if (!celda.isEmpty() && grilla->height() < celda.bottom() + 1)
    grilla->SetTopRow(grilla->TopRow() + 1);
}

// Without the focus first: hiding the focused editor would hand the focus to
// the next control of the window on the way back to the grid.
void OcultarEditor(QLineEdit* editor) {
  if (editor->hasFocus()) editor->clearFocus();
  editor->hide();
}

}  // namespace

void frmHarina::Seguir() {
  ControlActivo = TxtEdit;
  int columna = MSflexGrid1->Col();
  // The editor is tuned again only when the column changed: several events
  // follow every key.
  if (columna != columnaSeguida_) {
    TextPropiedades(TxtEdit, columna);
    columnaSeguida_ = columna;
  }
  UtilKor1->consultaenabled(!TxtEdit->Tag().isEmpty());
}

void frmHarina::TextPropiedades(QWidget* Texto, int& Columna) {
  // Only the cell editor is tuned to the grid's columns.
  if (Texto != TxtEdit) return;
  const QString clave = MSflexGrid1->TextMatrix(1, Columna);
  // The key column keeps the length and lookup of the column before it.
  const ColumnaAnalisis* columna = ColumnaPorClave(clave);
  if (!columna) {
    TxtEdit->SetDataField(clave);
    return;
  }
  // The editor takes any length: a value written by another program is shown
  // whole, and an entry longer than its column is refused when it is stored,
  // never cut while it is typed.
  TxtEdit->SetTag(columna->tag);
  TxtEdit->SetDataField(columna->dataField);
}

void frmHarina::MsflexGridEdt(Grilla* MsFlexGrid, QLineEdit* Edt, int& KeyAscii) {
  // The key column is never edited, nor a grid that holds no sheet.
  if (Edt->property("DataField")
          .toString()
          .trimmed()
          .compare(QLatin1String("ID"), Qt::CaseInsensitive) == 0)
    return;
  if (!PlanillaCargada || MsFlexGrid->Row() < MsFlexGrid->FixedRows()) return;
  Intentar([&] {
    filaEditor_ = MsFlexGrid->Row();
    columnaEditor_ = MsFlexGrid->Col();
    // A new analysis's flour type shows a marker, never stored: the editor
    // opens empty over it, the marker as its placeholder.
    const int fila = filaEditor_ - MsFlexGrid->FixedRows();
    const bool enPlanilla = fila < planilla_.Filas();
    const bool marcada = enPlanilla && columnaEditor_ == 1 && planilla_.FilaEn(fila).marcada;
    Edt->setPlaceholderText(marcada ? Planilla::Marcador() : QString());
    if (KeyAscii >= 0 && KeyAscii <= 32) {
      Edt->setText(enPlanilla ? planilla_.Valor(fila, columnaEditor_, LibCampos::SeparadorDecimal())
                              : MsFlexGrid->TextMatrix(filaEditor_, columnaEditor_));
      Edt->setCursorPosition(std::min<int>(1000, static_cast<int>(Edt->text().size())));
    } else {
      const char32_t caracter = static_cast<char32_t>(KeyAscii);
      Edt->setText(QString::fromUcs4(&caracter, 1));
      Edt->setCursorPosition(static_cast<int>(Edt->text().size()));
    }
  });
  // Scrolled first, so that the editor lands on the cell where it shows.
  Intentar([&] { MostrarCeldaActual(MsFlexGrid); });
  Intentar([&] { Edt->setGeometry(MsFlexGrid->RectanguloEnPadre()); });
  Intentar([&] {
    Edt->show();
    Edt->raise();
  });
  Intentar([&] {
    int columna = MsFlexGrid->Col();
    TextPropiedades(Edt, columna);
  });
  Intentar([&] { Edt->setFocus(Qt::OtherFocusReason); });
}

void frmHarina::CerrarEditorEnCelda() {
  if (TxtEdit->isVisible()) {
    MSflexGrid1->SetTextMatrix(filaEditor_, columnaEditor_, TxtEdit->text());
    // The grid takes the focus straight from the editor, one focus change
    // where clearing it first made two; then the editor, no longer focused,
    // is hidden without handing the focus on.
    editorCerrandose_ = true;
    MSflexGrid1->setFocus(Qt::OtherFocusReason);
    editorCerrandose_ = false;
    OcultarEditor(TxtEdit);
  }
  MSflexGrid1->setFocus(Qt::OtherFocusReason);
}

void frmHarina::GuardarEditorAbierto() {
  if (!TxtEdit->isVisible()) return;
  // Hidden first: the messages of a refused entry must not find it open.
  OcultarEditor(TxtEdit);
  if (UpdateaCampo(TxtEdit))
    MSflexGrid1->SetTextMatrix(filaEditor_, columnaEditor_, TxtEdit->text());
}

void frmHarina::EditKeyCode(Grilla* MsFlexGrid, QLineEdit* Edt, int KeyCode, int /*Shift*/) {
  PasosReportados pasos(QStringLiteral("EditKeyCode"));
  // A control that cannot take the focus is no failure worth reporting.
  const auto paso = [&](auto&& cuerpo) {
    return pasos.Paso([&] {
      try {
        cuerpo();
      } catch (const Falla& falla) {
        if (falla.Codigo() != Falla::kArgumentoInvalido) throw;
      }
    });
  };
  // The editor's text goes into the cell it covers before the cursor moves.
  const auto enfocarGrilla = [&] { CerrarEditorEnCelda(); };
  switch (KeyCode) {
    case teclas::kEnter:
      if (!paso(enfocarGrilla)) return;
      if (!paso([&] {
            if (MsFlexGrid->Col() == kUltimaColumna) {
              if (MsFlexGrid->Row() < MsFlexGrid->Rows() - 1)
                MsFlexGrid->SetRow(MsFlexGrid->Row() + 1);
              MsFlexGrid->SetCol(1);
            } else if (MsFlexGrid->objectName().trimmed().compare(QLatin1String("MsFlexGrid1"),
                                                                  Qt::CaseInsensitive) == 0 &&
                       MsFlexGrid->Col() != MsFlexGrid->Cols() - 1) {
              MsFlexGrid->SetCol(MsFlexGrid->Col() + 1);
            }
          }))
        return;
      break;
    case teclas::kEsc:
      // The entry is dropped: the cell keeps its text.
      if (!paso([&] { OcultarEditor(Edt); })) return;
      if (!paso([&] { MsFlexGrid->setFocus(Qt::OtherFocusReason); })) return;
      break;
    case teclas::kArriba:
      if (!paso(enfocarGrilla)) return;
      if (!paso([&] {
            if (MsFlexGrid->Row() > MsFlexGrid->FixedRows())
              MsFlexGrid->SetRow(MsFlexGrid->Row() - 1);
          }))
        return;
      break;
    case teclas::kAbajo:
      if (!paso(enfocarGrilla)) return;
      if (!paso([&] {
            // The next row's first column, where typing opens the editor.
            if (MsFlexGrid->Row() < MsFlexGrid->Rows() - 1) {
              MsFlexGrid->SetRow(MsFlexGrid->Row() + 1);
              MsFlexGrid->SetCol(1);
            }
          }))
        return;
      break;
    default:
      break;
  }
  paso([&] { MostrarCeldaActual(MsFlexGrid); });
}

void frmHarina::MsflexKey(Grilla* /*MsFlexGrid*/, int KeyCode) {
  PasosReportados pasos(QStringLiteral("MSFlexGrid1_KeyDown"));
  pasos.Paso([&] {
    if (KeyCode == teclas::kSuprimir) EjecutarComando(QStringLiteral("BORRAR"));
    if (KeyCode == teclas::kInsertar) EjecutarComando(QStringLiteral("NUEVO"));
  });
}

bool frmHarina::MSflexGrid1_KeyDown(int KeyCode, int Shift) {
  if ((Shift & (teclas::kCtrl | teclas::kAlt)) == teclas::kCtrl &&
      (KeyCode == 'C' || KeyCode == 'V' || KeyCode == 'Z')) {
    PasosReportados pasos(QStringLiteral("MSFlexGrid1_KeyDown"));
    pasos.Paso([&] {
      if (KeyCode == 'C') CopiarCeldas();
      if (KeyCode == 'V') PegarBloque();
      if (KeyCode == 'Z') DeshacerPegado();
    });
    return true;
  }
  MsflexKey(MSflexGrid1, KeyCode);
  if (KeyCode != teclas::kEsc) Seguir();
  return KeyCode == teclas::kSuprimir || KeyCode == teclas::kInsertar;
}

bool frmHarina::MSflexGrid1_KeyPress(int KeyAscii) {
  if (KeyAscii == teclas::kEsc) return false;
  ControlActivo = TxtEdit;
  MsflexGridEdt(MSflexGrid1, TxtEdit, KeyAscii);
  return true;
}

void frmHarina::MSflexGrid1_DblClick() {
  ControlActivo = TxtEdit;
  int espacio = 32;
  MsflexGridEdt(MSflexGrid1, TxtEdit, espacio);
}

void frmHarina::MSflexGrid1_GotFocus() {
  // The focus came back to the grid with the editor still open (a click on
  // the grid): the entry is stored as if it had been confirmed.
  if (!editorCerrandose_) GuardarEditorAbierto();
  Seguir();
}

void frmHarina::MSflexGrid1_RowColChange() {
  GuardarEditorAbierto();
  // The hidden key column is never where the operator types.
  if (PlanillaCargada && MSflexGrid1->Col() == 0) MSflexGrid1->SetCol(1);
  Seguir();
}

void frmHarina::TxtEdit_GotFocus() { Seguir(); }

void frmHarina::TxtEdit_LostFocus(Qt::FocusReason razon) {
  // The operator went elsewhere (Tab, a click): the entry is stored. A dialog
  // or another window taking the focus leaves the editor as it is.
  if (razon == Qt::TabFocusReason || razon == Qt::BacktabFocusReason ||
      razon == Qt::MouseFocusReason || razon == Qt::ShortcutFocusReason)
    GuardarEditorAbierto();
}

bool frmHarina::TxtEdit_KeyDown(int KeyCode, int Shift) {
  if (Shift != 0) return false;
  ControlActivo = TxtEdit;
  if (KeyCode == teclas::kEsc) {
    EditKeyCode(MSflexGrid1, TxtEdit, KeyCode, 0);
    return true;
  }
  if (!LibCampos::EsTeclaAvance(KeyCode)) return false;
  GuardarEntrada(KeyCode);
  return true;
}

bool frmHarina::GuardarEntrada(int tecla) {
  if (!TxtEdit->isVisible()) return true;
  CampoValida(TxtEdit);
  if (!CampoInvalido && UpdateaCampo(TxtEdit)) {
    if (tecla == 0)
      CerrarEditorEnCelda();
    else
      EditKeyCode(MSflexGrid1, TxtEdit, tecla, 0);
    return true;
  }
  // Not stored: the entry stays in the editor, ready to be corrected.
  TxtEdit->setFocus(Qt::OtherFocusReason);
  TxtEdit->selectAll();
  return false;
}

bool frmHarina::TxtEdit_KeyPress(const QString& texto) {
  ControlActivo = TxtEdit;
  // In a number column either mark is typed as the operator's decimal
  // separator; a second one is kept, and the entry refused when stored. Texts
  // keep every character as typed.
  const ColumnaAnalisis* columna = ColumnaPorIndice(columnaEditor_);
  if (!columna || columna->tipo != TipoCampo::Numero) return false;
  if (texto != QLatin1String(",") && texto != QLatin1String(".")) return false;
  const QString separador = LibCampos::SeparadorDecimal();
  if (separador == texto) return false;
  TxtEdit->insert(separador);
  return true;
}
