#include "services/distintos.h"

#include <QRegularExpression>

#include "services/conexion.h"
#include "services/recordset.h"

std::optional<Distintos> LeerDistintos(const QString& sql) {
  // A name is a plain identifier; an alias may also be quoted the way each
  // engine quotes ("...", [...]).
  static const QRegularExpression forma(
      QStringLiteral("^\\s*SELECT\\s+(\\w+)(?:\\s+AS\\s+(\\w+|\"[^\"]+\"|\\[[^\\]]+\\]))?"
                     "\\s+FROM\\s+(\\w+)\\s+WHERE\\s+(\\w+)\\s*<>\\s*''\\s+GROUP\\s+BY\\s+(\\w+)"
                     "\\s*;?\\s*$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch partes = forma.match(sql);
  if (!partes.hasMatch()) return std::nullopt;
  const QString columna = partes.captured(1);
  // The condition and the grouping must be on the column selected.
  for (const int parte : {4, 5})
    if (partes.captured(parte).compare(columna, Qt::CaseInsensitive) != 0) return std::nullopt;
  return Distintos{partes.captured(3), columna, partes.captured(2)};
}

QString SentenciaParaElMotor(Conexion& conexion, const QString& sql) {
  const std::optional<Distintos> distintos = LeerDistintos(sql);
  if (!distintos) return sql;
  const Dialecto& dialecto = conexion.dialecto();
  const QString salto =
      dialecto.SaltoDeIndice(distintos->tabla, distintos->columna, distintos->alias);
  const QString indice = dialecto.IndiceDeColumna(distintos->tabla, distintos->columna);
  if (salto.isEmpty() || indice.isEmpty()) return sql;
  // Without an index each seek of the skip scan would read the table again:
  // the plain statement is then the faster one.
  Recordset filas = conexion.Execute(indice);
  return filas.Eof() ? sql : salto;
}
