#pragma once
// Historial: the window that answers "who changed this, when, and from
// what": the audit trail of one analysis, or of one day (its deleted analyses
// included), newest first. Keyboard first: the filter box has the focus and
// narrows the rows to those holding its text in any column; Down goes to the
// list; Ctrl+C copies the rows shown, tab-separated under a line of titles;
// Alt+V "Verificar registro" walks the whole trail's chain and says whether it
// is intact; Alt+R "Restaurar" (in a day's history) re-creates the deleted
// analysis of the current row; F7 in an analysis's history shows its whole
// day's; Esc closes. The focus stays in the filter box
// and the list: the buttons are for the mouse.
//
// Made by DeAnalisis or DelDia, which read the trail first (a failure throws
// Falla and no window is made). Shown modal to the application without
// blocking (show(), not exec()); it deletes itself when closed.

#include <QDate>
#include <QDialog>
#include <QString>

class ModeloHistorial;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

class Historial : public QDialog {
  Q_OBJECT

 public:
  // Of one analysis of dia; F7 there shows the whole day's instead.
  static Historial* DeAnalisis(QWidget* padre, const QString& tabla, qint64 id, const QDate& dia);
  static Historial* DelDia(QWidget* padre, const QString& tabla, const QDate& dia);

  // The rows shown (after the filter), as Ctrl+C copies them.
  QString TextoMostrado() const;

 signals:
  // An analysis of dia was restored under the key id.
  void Restaurado(const QDate& dia, qint64 id);

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override;
  void showEvent(QShowEvent* evento) override;

 private:
  Historial(QWidget* padre, QString tabla, qint64 id, QDate dia);
  void Recargar();
  // The title, the columns and the buttons of the history shown.
  void Rotular();
  void Copiar();
  void VerificarRegistro();
  void RestaurarActual();
  void Restaurar();

  QString tabla_;
  qint64 id_ = 0;  // 0: the day's history
  QDate dia_;
  ModeloHistorial* modelo_ = nullptr;
  QSortFilterProxyModel* filtro_ = nullptr;
  QTableView* lista_ = nullptr;
  QLineEdit* caja_ = nullptr;
  QLabel* estado_ = nullptr;
  QPushButton* restaurar_ = nullptr;
};
