#pragma once
// CajaTexto: a line edit that carries, as properties of its own class, the
// data field it edits ("DataField") and the lookup it offers ("Tag"; a date
// field has the tag "Fecha"). They are read and written by name, like any
// control's (lib_campos.h); declared here, a write finds them at once and
// sends no event, where a property added at run time is looked for through
// every property of Qt's line edit first. The cell editor has both written
// on every move of the grid's cursor.

#include <QLineEdit>
#include <QString>

class CajaTexto : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(QString Tag MEMBER tag_)
  Q_PROPERTY(QString DataField MEMBER dataField_)

 public:
  explicit CajaTexto(QWidget* padre = nullptr);

 private:
  QString tag_;
  QString dataField_;
};
