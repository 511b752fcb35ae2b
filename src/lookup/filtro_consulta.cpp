#include "lookup/filtro_consulta.h"

#include <QRegularExpression>

namespace filtro_consulta {

namespace {

bool Palabra(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Whether `palabra` stands at `i` as a whole word.
bool PalabraEn(const QString& sql, qsizetype i, QLatin1StringView palabra) {
  if (i > 0 && Palabra(sql.at(i - 1))) return false;
  if (QStringView(sql).mid(i, palabra.size()).compare(palabra, Qt::CaseInsensitive) != 0)
    return false;
  const qsizetype despues = i + palabra.size();
  return despues >= sql.size() || !Palabra(sql.at(despues));
}

// The positions of a keyword at the statement's outer level: outside quotes,
// bracketed or double-quoted names, comments and parentheses.
QList<qsizetype> Exteriores(const QString& sql, QLatin1StringView palabra) {
  QList<qsizetype> posiciones;
  int profundidad = 0;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    const QChar c = sql.at(i);
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
      const QChar cierre = c == QLatin1Char('[') ? QLatin1Char(']') : c;
      const qsizetype fin = sql.indexOf(cierre, i + 1);
      if (fin < 0) break;
      i = fin;  // a doubled quote simply opens the next quoted run
    } else if (c == QLatin1Char('-') && i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('-')) {
      const qsizetype fin = sql.indexOf(QLatin1Char('\n'), i);
      if (fin < 0) break;
      i = fin;
    } else if (c == QLatin1Char('(')) {
      ++profundidad;
    } else if (c == QLatin1Char(')')) {
      --profundidad;
    } else if (profundidad == 0 && PalabraEn(sql, i, palabra)) {
      posiciones.append(i);
    }
  }
  return posiciones;
}

}  // namespace

Partes Descomponer(const QString& sql) {
  Partes partes;
  QString cuerpo = sql.trimmed();
  if (cuerpo.endsWith(QLatin1Char(';'))) cuerpo.chop(1);

  static const QRegularExpression limiteFinal(QStringLiteral("^LIMIT\\s+(\\d+)\\s*$"),
                                              QRegularExpression::CaseInsensitiveOption);
  const QList<qsizetype> limites = Exteriores(cuerpo, QLatin1StringView("LIMIT"));
  if (!limites.isEmpty()) {
    const QRegularExpressionMatch limite =
        limiteFinal.match(QStringView(cuerpo).mid(limites.last()));
    if (limite.hasMatch()) {
      partes.limite = limite.captured(1).toInt();
      cuerpo.truncate(limites.last());
    }
  }

  static const QRegularExpression ordenadoPor(QStringLiteral("^ORDER\\s+BY\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
  const QList<qsizetype> ordenes = Exteriores(cuerpo, QLatin1StringView("ORDER"));
  for (qsizetype i = ordenes.size() - 1; i >= 0; --i) {
    if (ordenadoPor.match(QStringView(cuerpo).mid(ordenes[i])).hasMatch()) {
      partes.orden = cuerpo.mid(ordenes[i]).trimmed();
      cuerpo.truncate(ordenes[i]);
      break;
    }
  }

  static const QRegularExpression top(QStringLiteral("^\\s*SELECT\\s+TOP\\s+(\\d+)\\s+"),
                                      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch conTop = top.match(cuerpo);
  if (conTop.hasMatch()) {
    partes.limite = conTop.captured(1).toInt();
    cuerpo = QStringLiteral("SELECT ") + cuerpo.mid(conTop.capturedEnd());
  }
  partes.cuerpo = cuerpo.trimmed();
  return partes;
}

QString Condicion(const Dialecto& dialecto, const QString& campo, const QString& texto) {
  return dialecto.Contiene(dialecto.ComoTexto(dialecto.Alias(campo)), texto);
}

QString Filtrada(const Dialecto& dialecto, const QString& sql, const QStringList& condiciones) {
  if (condiciones.isEmpty()) return sql;
  const Partes partes = Descomponer(sql);
  QString resto = QStringLiteral("* FROM (") + partes.cuerpo +
                  QStringLiteral(") AS Consulta WHERE ") +
                  condiciones.join(QStringLiteral(" and "));
  if (!partes.orden.isEmpty()) resto += QLatin1Char(' ') + partes.orden;
  if (partes.limite >= 0) return dialecto.SelectTop(partes.limite, resto);
  return QStringLiteral("SELECT ") + resto;
}

}  // namespace filtro_consulta
