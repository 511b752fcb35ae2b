#pragma once
// frmHarina: the sheet window "ANÁLISIS DE HARINA", the program's only
// top-level window. Form_Load runs the session start and leaves the window in
// its idle state: today's date in the date field (focused), the logged-in
// operator as the responsible person, only CERRAR and CONSULTAR enabled, tab 0
// shown. Every key that reaches the window goes to the command bar's
// ProcesaTecla and still to the focused control. Closing the window ends the
// program; there is nothing to save, unless entries confirmed while the
// database was out of reach still wait: then the operator is asked first.
//
// With a sheet loaded, every entry the operator confirms in the cell editor
// is in the database before the cursor moves; an entry the database refuses
// (or that is not a number in a number column) is never shown in the grid:
// the editor stays open over its cell with the entry, to correct or retry.
//
// The window's procedures are spread over several files by concern:
// frm_harina.cpp (controls, load, event routing, closing),
// frm_harina_estados.cpp (the idle and loaded states), frm_harina_planilla.cpp
// (loading the day sheet), frm_harina_editor.cpp (the cell editor and the
// grid's keys), frm_harina_escritura.cpp (storing a cell),
// frm_harina_encabezado.cpp (the header fields), frm_harina_comandos.cpp (the
// command bar), frm_harina_reporte.cpp (the report tab and the report),
// frm_harina_grafico.cpp (the control chart),
// frm_harina_consulta.cpp (the lookups), frm_harina_certificado.cpp (the
// certificate of analysis),
// frm_harina_disposicion.cpp (design layout and resizing),
// frm_harina_vivo.cpp (other stations' changes), frm_harina_pendientes.cpp
// (the database out of reach).

#include <QList>
#include <QString>
#include <QWidget>
#include <optional>

#include "services/caja_texto.h"
#include "services/reconexion.h"
#include "services/vigia.h"
#include "sheet/disposicion.h"
#include "sheet/planilla.h"

class Grilla;
class QFrame;
class QLabel;
class QLineEdit;
class QTabWidget;
class UtilKor;

class frmHarina : public QWidget {
  Q_OBJECT

 public:
  explicit frmHarina(QWidget* padre = nullptr);
  ~frmHarina() override;

  // The start-up sequence. False when the program must end at once (no
  // database connection); the operator has been told why.
  bool Form_Load();

  void InicializaPantalla();
  void EstadoPlanilla(bool& Cargada);
  void EnabledControls(bool& Off);

  // The day sheet. CmdCargar_Click loads the date typed in the date field (a
  // day without analyses gets two blank ones); a text that is not a date is
  // refused with a message and the window stays idle. Database failures pass
  // to the caller.
  void InicializaGrid();
  void CmdCargar_Click();
  void EncabezadosGrid();

  // The cell editor. TextPropiedades tunes an editor to a grid column (its
  // DataField, MaxLength and Tag); MsflexGridEdt opens it over the current
  // cell; EditKeyCode ends an entry (already stored) and moves the cursor;
  // MsflexKey runs the grid's Insert and Delete.
  void TextPropiedades(QWidget* Texto, int& Columna);
  void MsflexGridEdt(Grilla* MsFlexGrid, QLineEdit* Edt, int& KeyAscii);
  void EditKeyCode(Grilla* MsFlexGrid, QLineEdit* Edt, int KeyCode, int Shift);
  void MsflexKey(Grilla* MsFlexGrid, int KeyCode);

  // Confirms the entry open in the editor, as Enter, Up or Down (tecla) does:
  // stored, the editor closes over its cell and the cursor moves (tecla 0
  // stays). False when it was refused: the editor stays open with it,
  // focused. True when no entry was open.
  bool GuardarEntrada(int tecla);
  // Confirms a header field as Enter or Up or Down does there: validated, the
  // focus moves on, and the date field's Enter loads its day.
  void ConfirmarCampo(int indice, int tecla);

  // Stores the editor's entry in its cell's row. True when the database now
  // holds it (the editor's text then reads as the grid must show it); false
  // when it was refused or failed, and the operator has been told why.
  bool UpdateaCampo(QLineEdit* TXT);

  // The loaded day, as the sheet holds it.
  const Planilla& planilla() const { return planilla_; }

  // The validation hook of every field: sets CampoInvalido.
  void CampoValida(QWidget* Texto);

  // The command bar's actions, by key in any case (BotonPulsado and the grid's
  // Insert and Delete). Failures pass to the caller.
  void EjecutarComando(const QString& Boton);
  // The lookup of the field or column being edited (frm_harina_consulta.cpp):
  // the value picked is stored as if typed, and with LSinKeyDown false the
  // cursor moves on as for Enter; nothing picked changes nothing.
  void CmdConsultar(bool LSinKeyDown);
  // The report of the loaded date, or else of the range typed on the report
  // tab (either bound may be left empty), through LibReportes. A range date
  // that is not a date throws Falla (kTipoIncompatible) before anything is
  // read; every other failure of the report passes to the caller.
  void ImprimeReporte();
  // The control chart of the current cell's column (the first number column
  // when it holds no number) and its row's flour type, over the range typed
  // on the report tab or else the last analyses up to the loaded day
  // (frm_harina_grafico.cpp). A range date that is not a date throws Falla
  // (kTipoIncompatible); database failures pass to the caller.
  void Graficar();
  // The selection formula of the report: the loaded date, or else the range
  // typed on the report tab; empty for every analysis.
  QString FormulaDelReporte() const;
  // The analyses the report would show, written to the CSV and XLSX files the
  // INI names ([Reportes] SalidaCsv, SalidaXlsx), or else to the file the
  // operator chooses in the save dialog (frm_harina_exportar.cpp). Failures
  // pass to the caller, with nothing left of the file.
  void Exportar();
  // The limits editor (frm_harina_especificaciones.cpp); after a save the
  // loaded day is judged again by the new limits at once (JuzgarDeNuevo).
  void AbrirEspecificaciones();
  // Reads the quality limits again and judges the loaded day by them.
  void JuzgarDeNuevo();
  // Shift+F6: the certificate of analysis of the analysis in the grid's
  // current row (report/hoja_certificado.h), after storing an open entry. On
  // a header row, a blank analysis, one without flour type, or with no sheet
  // loaded, the status bar says why there is nothing to certify. Failures
  // pass to the caller.
  void ImprimeCertificado();
  // HISTORIAL (frm_harina_historial.cpp): the audit trail of the analysis
  // under the cursor when the grid or its editor has the focus, else of the
  // loaded day or of the date typed; a date that is not one throws Falla
  // (kTipoIncompatible). A restoration reloads the day when it is the one
  // loaded.
  void MostrarHistorial();

  // Controls, named as the design names them.
  QFrame* Frame2 = nullptr;
  UtilKor* UtilKor1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label3 = nullptr;
  QList<QLineEdit*> txtFields;
  QTabWidget* SSTab1 = nullptr;
  Grilla* MSflexGrid1 = nullptr;
  CajaTexto* TxtEdit = nullptr;
  QFrame* frmRep = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* imgRep = nullptr;

  // Window members.
  QString Tabla;
  bool PlanillaCargada = false;
  QWidget* ControlActivo = nullptr;
  bool CampoInvalido = false;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void CrearControles();
  void CrearCamposEncabezado();
  void CrearPestanas();
  void Form_KeyDown(int KeyCode, int Shift);
  // Ctrl+Tab and Ctrl+Page Down show the next tab, Ctrl+Shift+Tab and Ctrl+Page
  // Up the previous one, from anywhere in the window. True when the key was
  // one of these.
  bool CambiarPestana(int KeyCode, int Shift);
  void Form_Resize();
  void AplicarDisposicion();
  void UtilKor1_BotonPulsado(QString& Boton);
  QLineEdit* Campo(const QString& nombre) const;
  bool FiltrarEvento(QObject* objeto, QEvent* evento);

  // Grid and editor events (frm_harina_editor.cpp). The key handlers answer
  // whether they used the key up, so that the control's own handling skips it.
  void Seguir();
  bool MSflexGrid1_KeyDown(int KeyCode, int Shift);
  bool MSflexGrid1_KeyPress(int KeyAscii);
  void MSflexGrid1_DblClick();
  void MSflexGrid1_GotFocus();
  void MSflexGrid1_RowColChange();
  void TxtEdit_GotFocus();
  void TxtEdit_LostFocus(Qt::FocusReason razon);
  bool TxtEdit_KeyDown(int KeyCode, int Shift);
  bool TxtEdit_KeyPress(const QString& texto);
  // An open editor left without a confirming key (a click on another cell, any
  // other move of the current cell, closing the window) is stored as if it had
  // been confirmed; a refused entry is dropped and its cell keeps its text.
  void GuardarEditorAbierto();
  // Copies the editor's text into the cell it covers and hides the editor
  // (when it is open), and gives the grid the focus.
  void CerrarEditorEnCelda();
  // Fills the grid with the loaded day, row 2 on.
  void MostrarPlanilla();
  // Copies the day's texts into the grid's rows, keeping the cursor.
  void MostrarFilas();
  // Ctrl+C, Ctrl+V and Ctrl+Z in the grid (frm_harina_portapapeles.cpp).
  void CopiarCeldas();
  void PegarBloque();
  void DeshacerPegado();
  // Takes in what other stations changed in the loaded day (the watcher
  // said so): the cursor stays on its analysis, an open entry is left as it
  // is, and the status bar says who changed what (frm_harina_vivo.cpp).
  void VerCambiosDeOtros();
  void QuitarBorradas();
  // The database out of reach, and back (frm_harina_pendientes.cpp): the
  // cells whose entries wait are marked and the status bar says how many;
  // once it is back they are stored in order, and the day read again.
  void MarcarPendientes();
  void ConexionPerdida();
  void ConexionRecuperada();
  // Closing with entries still waiting: one more try, then the operator is
  // asked. False keeps the window open; sinConexion tells that the database
  // is still out of reach.
  bool CerrarConPendientes(bool& sinConexion);
  // Shows the verdict of every value of a row of the day (0 the first);
  // completos, when given, are the whole values TextosDeFila gave with it.
  void MarcarFila(int fila, const QStringList* completos = nullptr);
  // The same after a store of grid column indice of a row: a new flour type
  // judges the whole row; a number changes its own cell's whole value and
  // verdict only; any other column neither.
  void MarcarCelda(int fila, int indice);
  // After a store of grid column indice of a row: the status bar says when
  // the value is out of its limits (for a new flour type, the row's first
  // such value), and shows the hint again otherwise.
  void InformarEspecificacion(int fila, int indice);

  // Header field events (frm_harina_encabezado.cpp).
  void txtFields_GotFocus(int Index);
  void txtFields_LostFocus(int Index);
  bool txtFields_KeyDown(int Index, int KeyCode, int Shift);
  bool txtFields_KeyPress(int Index, const QString& texto);

  // Commands (frm_harina_comandos.cpp).
  void Nuevo();
  void Borrar();

  // The tab change (frm_harina_reporte.cpp).
  void SSTab1_Click();

  Disposicion disposicion_;
  // The cell the open editor covers (grid row and column).
  int filaEditor_ = -1;
  int columnaEditor_ = -1;
  // While the grid takes the focus from an editor whose entry has been dealt
  // with: the grid's focus-in must not store it again.
  bool editorCerrandose_ = false;
  // The column the editor was last tuned to by Seguir; -1 after the headers
  // change.
  int columnaSeguida_ = -1;
  // The loaded day: its analyses and every statement about them.
  Planilla planilla_;
  // The last paste, while nothing else has been stored since: Ctrl+Z takes it
  // back.
  std::optional<Planilla::Pegado> ultimoPegado_;
  // Tells when another station may have changed the database.
  Vigia vigia_;
  // Brings a lost connection back.
  Reconexion reconexion_;
};
