#pragma once
// EditorEspecificaciones: the limits editor "Especificaciones", a dialog
// worked from the keyboard like the sheet. A flour type is chosen (those with
// limits and every one recorded in the analyses, so a new type can get
// limits); a table shows, per number column, the limits in force today for
// it, to be typed over (either decimal separator, an empty cell no bound;
// Delete empties a cell);
// "Vigente desde" is the date from which a save holds, today unless typed.
//
// Guardar (Ctrl+G) checks every row first and refuses with a message naming
// the column, storing nothing; otherwise it writes the type's rows in one
// transaction and closes. A failed save says so and leaves the editor open
// with what was typed. Esc, Cancelar, closing it or choosing another type
// ask before dropping typed changes. Every question goes through the
// operator (Operador).

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

#include "analisis/especificacion.h"
#include "analisis/limites.h"

class QComboBox;
class QLineEdit;
class QTableWidget;

class EditorEspecificaciones : public QDialog {
  Q_OBJECT

 public:
  // tabla: the analysis table whose flour types are offered.
  EditorEspecificaciones(QWidget* padre, QString tabla);

  // Reads the limits and the flour types and shows the first type. Throws
  // Falla when the database cannot be read.
  void Cargar();

  // Whether a save went through: the limits in the database have changed.
  bool Guardado() const { return guardado_; }

  void reject() override;

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;

 private:
  void Guardar();
  void MostrarTipo(int indice);
  void CambiarTipo(int indice);
  // Stores the text of a cell still being typed into its cell.
  void TerminarCelda();
  bool HayCambios() const;
  // Asks before typed changes are dropped; true when they may go.
  bool DescartarCambios();
  CotasTecleadas Textos(int fila) const;

  QString tabla_;
  QList<Limite> limites_;
  QList<const ColumnaAnalisis*> columnas_;
  QComboBox* tipos_ = nullptr;
  QTableWidget* cotas_ = nullptr;
  QLineEdit* vigente_ = nullptr;
  int tipoMostrado_ = -1;
  QList<CotasTecleadas> abiertos_;  // the rows as shown, to tell a change
  QString vigenteAbierto_;
  bool guardado_ = false;
};
