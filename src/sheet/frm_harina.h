#pragma once
// frmHarina: the sheet window "ANÁLISIS DE HARINA", the program's only
// top-level window. Form_Load runs the session start and leaves the window in
// its idle state: today's date in the date field (focused), the logged-in
// operator as the responsible person, only CERRAR and CONSULTAR enabled, tab 0
// shown. Every key that reaches the window goes to the command bar's
// ProcesaTecla and still to the focused control. Closing the window ends the
// program; there is nothing to save.
//
// The window's procedures are spread over several files by concern:
// frm_harina.cpp (controls, load, keys, closing), frm_harina_estados.cpp (the
// idle and loaded states), frm_harina_planilla.cpp (the grid of the day
// sheet), frm_harina_disposicion.cpp (design layout and resizing).

#include <QList>
#include <QString>
#include <QWidget>

#include "sheet/disposicion.h"

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
  void InicializaGrid();

  // Controls, named as the design names them.
  QFrame* Frame2 = nullptr;
  UtilKor* UtilKor1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label3 = nullptr;
  QList<QLineEdit*> txtFields;
  QTabWidget* SSTab1 = nullptr;
  Grilla* MSflexGrid1 = nullptr;
  QLineEdit* TxtEdit = nullptr;
  QFrame* frmRep = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* imgRep = nullptr;

  // Window members.
  QString Tabla;
  bool PlanillaCargada = false;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void resizeEvent(QResizeEvent* evento) override;
  void closeEvent(QCloseEvent* evento) override;

 private:
  void CrearControles();
  void CrearCamposEncabezado();
  void CrearPestanas();
  void Form_KeyDown(int KeyCode, int Shift);
  void Form_Resize();
  void AplicarDisposicion();
  void UtilKor1_BotonPulsado(QString& Boton);
  QLineEdit* Campo(const QString& nombre) const;

  Disposicion disposicion_;
};
