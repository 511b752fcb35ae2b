#pragma once
// CajaTexto: a line edit that carries, as properties of its own class, the
// data field it edits ("DataField") and the lookup it offers ("Tag"; a date
// field has the tag "Fecha"). They are read and written by name, like any
// control's (lib_campos.h), or through the accessors; declared here, a write
// finds them at once and sends no event, where a property added at run time
// is looked for through every property of Qt's line edit first. The cell
// editor has both written on every move of the grid's cursor.

#include <QLineEdit>
#include <QString>

class CajaTexto : public QLineEdit {
  Q_OBJECT
  Q_PROPERTY(QString Tag READ Tag WRITE SetTag)
  Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)

 public:
  explicit CajaTexto(QWidget* padre = nullptr);

  const QString& Tag() const { return tag_; }
  void SetTag(const QString& tag) { tag_ = tag; }
  const QString& DataField() const { return dataField_; }
  void SetDataField(const QString& campo) { dataField_ = campo; }

 private:
  QString tag_;
  QString dataField_;
};
