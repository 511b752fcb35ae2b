#pragma once
// What a control chart reads: the values of one analysis column for one flour
// type (compared without case and surrounding blanks), in time order (date,
// then HORARIO, a missing time first), and the flour types recorded. The
// statements are pure functions of the engine and the request; analyses
// without a value in the column are left out.
//
// The reads throw Falla when the database cannot be read.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "analisis/control.h"

class Conexion;
class Dialecto;

struct PedidoControl {
  QString tabla = QStringLiteral("v_mv_zentalia");
  QString campo;  // the column's field (CENIZAS)
  QString tipo;   // the flour type as written in the sheet
  // A range typed on the report tab (either bound may be missing): every
  // analysis in it. With neither bound, the last `ultimos` analyses up to dia.
  std::optional<QDate> desde, hasta;
  QDate dia;
  int ultimos = 60;

  bool ConRango() const { return desde.has_value() || hasta.has_value(); }
};

// Date, HORARIO and the column of the analyses asked for. The last analyses
// come newest first (the engine stops after `ultimos`): LeerControl puts them
// back in time order.
QString SentenciaControl(const Dialecto& dialecto, const PedidoControl& pedido);

// Every flour type recorded, trimmed, with how many analyses have it, the
// most used first.
QString SentenciaTipos(const Dialecto& dialecto, const QString& tabla);

QList<PuntoControl> LeerControl(Conexion& conexion, const PedidoControl& pedido);

// The recorded types in alphabetical order; those differing only in case or
// blanks given once, as most analyses write it.
QStringList LeerTipos(Conexion& conexion, const QString& tabla);
