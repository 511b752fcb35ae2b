#pragma once
// ModeloHistorial: rows of the audit trail as the history window lists them,
// in the order given (newest first): moment, station, operator, action, the
// analysis, the column, the value before and after. Read only.

#include <QAbstractTableModel>
#include <QList>

#include "services/auditoria.h"

class ModeloHistorial : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Columna { kMomento, kEstacion, kOperador, kAccion, kAnalisis, kCampo, kAntes, kDespues };

  explicit ModeloHistorial(QObject* padre = nullptr) : QAbstractTableModel(padre) {}

  void Poner(QList<auditoria::Fila> filas);
  const auditoria::Fila& FilaEn(int fila) const { return filas_.at(fila); }

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion,
                      int rol = Qt::DisplayRole) const override;

 private:
  QList<auditoria::Fila> filas_;
};
