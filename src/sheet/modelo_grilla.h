#pragma once
// ModeloGrilla: the texts of the sheet grid as plain lists, shown by a view.
// Each data row is a list of texts, one per column; the two header lines of
// every column are the horizontal header's label; a column's alignment holds
// for its label and every one of its cells. A whole load replaces everything
// at once (Reemplazar), with one reset of the view.

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

class ModeloGrilla : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion,
                      int rol = Qt::DisplayRole) const override;

  void SetFilas(int filas);
  void SetColumnas(int columnas);
  QString Texto(int fila, int columna) const;
  void SetTexto(int fila, int columna, const QString& texto);
  // linea 0 or 1 of a column's header.
  QString Encabezado(int linea, int columna) const;
  void SetEncabezado(int linea, int columna, const QString& texto);
  void SetAlineacion(int columna, Qt::Alignment alineacion);
  // Every cell and header line empty; the sizes stay.
  void Vaciar();
  // New rows and columns at once; row 1 of each header gets nombres[c].
  void Reemplazar(QList<QStringList> filas, const QStringList& nombres);

 private:
  QList<QStringList> filas_;
  QList<QStringList> encabezados_;  // [columna] -> {line 1, line 2}
  QList<Qt::Alignment> alineaciones_;
};
