#pragma once
// Lib_FrmCons3: the lookup window "Consulta...", the program's search-and-pick
// dialog. The request (Lib_ClsCons3) fills the request members, runs
// Form_Load and shows it modally through the Operador; the window lists every
// row of Sql with one search box per column, and hides itself when the
// operator accepts or cancels, leaving the answer in ValorDevuelto and
// Valores:
//
//   accepted, one row selected:  ValorDevuelto = its CampoDevuelto column (or,
//                                with CampoDevuelto blank, its last
//                                CmpsDevueltos column); Valores = its
//                                CmpsDevueltos columns. A name that matches no
//                                column answers an empty text.
//   accepted, nothing selected:  ValorDevuelto unset, Valores empty.
//   accepted, check boxes:       Valores = the CampoDevuelto column (the first
//                                when blank) of every checked row, in order.
//   cancelled (button, Esc or the title bar's close box): ValorDevuelto empty,
//                                Valores and CmpsDevueltos none.
//
// Every load (the first, each F5, "&Nueva Busqueda") selects the first row
// shown and lays the window out again. Typing in a search box selects the
// first row, in the order shown, whose column starts with the text; F5
// filters the statement on the database by the box's column and reloads (any
// statement that runs runs filtered: filtro_consulta.h); "&Nueva Busqueda"
// goes back to the first statement. A statement the database refuses is reported
// ("FORM_LOAD") and leaves an empty list. Cantidades is always handed back empty: quantities stay
// in the list.
//
// The procedures are spread by concern: lib_frm_cons3.cpp (controls, load,
// columns, rows, sizes), lib_frm_cons3_busqueda.cpp (the search boxes, F5 and
// the new search) and lib_frm_cons3_eleccion.cpp (accepting, cancelling, the
// list's keys, quantities and sorting).

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "lookup/filtro_consulta.h"
#include "services/recordset.h"

class ListaConsulta;
class QComboBox;
class QFrame;
class QPushButton;
class QScrollBar;

class Lib_FrmCons3 : public QDialog {
  Q_OBJECT

 public:
  explicit Lib_FrmCons3(QWidget* padre = nullptr);
  ~Lib_FrmCons3() override;

  // Request and return members.
  QString Sql;
  QString CampoDevuelto;
  std::optional<QStringList> CmpsDevueltos;
  bool CheckBoxes = false;
  std::optional<QString> ValorDevuelto;
  QString FiltroInicial;
  QString CampoBusqueda;
  bool OrdenarPorLwv = false;
  std::optional<QStringList> Valores;
  std::optional<QStringList> Cantidades;
  bool UsaCantidades = false;

  // Runs Sql and fills the window: the columns, one search box per column and
  // every row. Runs again on every reload (F5, "&Nueva Busqueda").
  void Form_Load();
  void Encolumnar();
  // Reads every remaining row of the open statement; the arguments are kept
  // for the callers' sake.
  void Leer(int Cdesde, int Cuantas);
  // Empties the list when the window is discarded.
  void Form_Unload();

  // The position (1-based, in the order shown) of the first item whose value
  // in column Clave (0 the item's text) starts with QueValor; 0 when none.
  int Busqueda(int Clave, const QString& QueValor);
  // The position (1-based) of the column whose header, trimmed, equals
  // QueValor trimmed without regard to case; 0 when none does.
  int IndiceColumna(const QString& QueValor) const;

  void CmdAceptar_Click();
  void CmdCancelar_Click();
  void CmdNueva_Click();

  // Controls, named as the design names them.
  QWidget* picFields = nullptr;
  QList<QComboBox*> CmbSearch;
  ListaConsulta* ListView1 = nullptr;
  QScrollBar* HScroll1 = nullptr;
  QFrame* Frame1 = nullptr;
  QPushButton* CmdAceptar = nullptr;
  QPushButton* CmdCancelar = nullptr;
  QPushButton* CmdNueva = nullptr;

  // Window state.
  QString SqlInicial;
  QString MostrarStock;
  QStringList ColoresStock;
  bool EsArticulos = false;
  int CajaActiva = 0;
  int ItemActual = -1;
  Recordset RsConsulta;

 public slots:
  // Every way out without accepting (the cancel button, Esc, the close box).
  void reject() override;

 protected:
  void resizeEvent(QResizeEvent* evento) override;
  void showEvent(QShowEvent* evento) override;
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void CrearControles();
  QComboBox* CrearCaja(int indice);
  void ColocarCajas();
  void Dimensionar();
  void Form_Resize();
  void HScroll1_Change();

  // Search boxes (lib_frm_cons3_busqueda.cpp).
  void CmbSearch_GotFocus(int Index);
  void CmbSearch_Change(int Index);
  bool CmbSearch_KeyDown(int Index, int KeyCode, int Shift);
  void FiltrarF5(int Index);

  // The list (lib_frm_cons3_eleccion.cpp).
  bool ListView1_KeyDown(int KeyCode, int Shift, const QString& texto);
  void ListView1_ColumnClick(int seccion);
  void Cantidad(int KeyCode, int Shift);
  QString ValorDeColumna(int item, const QString& nombre) const;

  // The declared size of each column (-1: the engine declares none) and the
  // filters F5 has added since the first statement.
  QList<int> tamanos_;
  QList<filtro_consulta::Filtro> filtros_;
};
