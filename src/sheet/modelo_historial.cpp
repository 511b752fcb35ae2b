#include "sheet/modelo_historial.h"

#include <QFont>

void ModeloHistorial::Poner(QList<auditoria::Fila> filas) {
  beginResetModel();
  filas_ = std::move(filas);
  endResetModel();
}

int ModeloHistorial::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloHistorial::columnCount(const QModelIndex& padre) const { return padre.isValid() ? 0 : 8; }

QVariant ModeloHistorial::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid() || indice.row() >= filas_.size()) return {};
  const auditoria::Fila& f = filas_.at(indice.row());
  if (rol == Qt::FontRole && f.asiento.accion == auditoria::kBaja) {
    // A deletion stands out: it is what Restaurar brings back.
    QFont negrita;
    negrita.setBold(true);
    return negrita;
  }
  if (rol != Qt::DisplayRole && rol != Qt::ToolTipRole) return {};
  switch (indice.column()) {
    case kMomento:
      // The date as the operator reads dates, the time to the second.
      return QStringLiteral("%1/%2/%3 %4")
          .arg(f.momento.mid(8, 2), f.momento.mid(5, 2), f.momento.left(4), f.momento.mid(11, 8));
    case kEstacion:
      return f.estacion;
    case kOperador:
      return f.operador;
    case kAccion:
      return f.asiento.accion;
    case kAnalisis:
      return QString::number(f.asiento.idFila);
    case kCampo:
      return f.asiento.campo;
    case kAntes:
      return f.asiento.anterior;
    case kDespues:
      return f.asiento.nuevo;
    default:
      return {};
  }
}

QVariant ModeloHistorial::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole) return {};
  static const char* const kTitulos[] = {"Momento",  "Estación", "Operador", "Acción",
                                         "Análisis", "Columna",  "Antes",    "Después"};
  if (seccion < 0 || seccion >= 8) return {};
  return QString::fromUtf8(kTitulos[seccion]);
}
