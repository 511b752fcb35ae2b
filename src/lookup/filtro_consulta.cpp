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

// Calls `visitar` with every position at the statement's outer level:
// outside quotes, bracketed or double-quoted names, comments and parentheses.
template <typename Visita>
void Exterior(const QString& sql, Visita visitar) {
  int profundidad = 0;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    const QChar c = sql.at(i);
    if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('[')) {
      const QChar cierre = c == QLatin1Char('[') ? QLatin1Char(']') : c;
      const qsizetype fin = sql.indexOf(cierre, i + 1);
      if (fin < 0) return;
      i = fin;  // a doubled quote simply opens the next quoted run
    } else if (c == QLatin1Char('-') && i + 1 < sql.size() && sql.at(i + 1) == QLatin1Char('-')) {
      const qsizetype fin = sql.indexOf(QLatin1Char('\n'), i);
      if (fin < 0) return;
      i = fin;
    } else if (c == QLatin1Char('(')) {
      ++profundidad;
    } else if (c == QLatin1Char(')')) {
      --profundidad;
    } else if (profundidad == 0) {
      visitar(i);
    }
  }
}

// The positions of a keyword at the statement's outer level.
QList<qsizetype> Exteriores(const QString& sql, QLatin1StringView palabra) {
  QList<qsizetype> posiciones;
  Exterior(sql, [&](qsizetype i) {
    if (PalabraEn(sql, i, palabra)) posiciones.append(i);
  });
  return posiciones;
}

// The items of a list, split at its outer commas.
QStringList Items(const QString& lista) {
  QStringList items;
  qsizetype desde = 0;
  Exterior(lista, [&](qsizetype i) {
    if (lista.at(i) != QLatin1Char(',')) return;
    items.append(lista.mid(desde, i - desde));
    desde = i + 1;
  });
  items.append(lista.mid(desde));
  return items;
}

// The statement as a table expression of this name, which no statement of
// the program's tables is likely to use itself.
const QString kTabla = QStringLiteral("ConsultaFiltrada");

// The name each result column takes inside the filtered statement: its
// position, which two columns never share.
QString Numerada(qsizetype columna) {
  return QStringLiteral("columna_") + QString::number(columna + 1);
}

// The order `orden` ("ORDER BY ...") on the numbered columns, or an empty
// text when one of its items is not a result column: a position, or a name
// (plain, quoted or bracketed) that exactly one column bears, each followed by
// its direction and the place of nulls.
QString OrdenNumerado(const Dialecto& dialecto, const QString& orden, const QStringList& columnas) {
  static const QRegularExpression ordenadoPor(QStringLiteral("^ORDER\\s+BY\\s+"),
                                              QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression item(
      QStringLiteral(
          "^\\s*(?:(\\d+)|\"((?:[^\"]|\"\")+)\"|\\[([^\\]]+)\\]|([\\p{L}_][\\p{L}\\p{N}_$]*))"
          "((?:\\s+(?:ASC|DESC))?(?:\\s+NULLS\\s+(?:FIRST|LAST))?)\\s*$"),
      QRegularExpression::CaseInsensitiveOption);
  const QRegularExpressionMatch inicio = ordenadoPor.match(orden);
  if (!inicio.hasMatch()) return {};
  QStringList numerados;
  for (const QString& texto : Items(orden.mid(inicio.capturedEnd()))) {
    const QRegularExpressionMatch partes = item.match(texto);
    if (!partes.hasMatch()) return {};
    qsizetype columna = -1;
    if (partes.capturedLength(1) > 0) {
      bool numero = false;
      columna = partes.captured(1).toLongLong(&numero) - 1;
      if (!numero || columna < 0 || columna >= columnas.size()) return {};
    } else {
      QString nombre = partes.captured(2) + partes.captured(3) + partes.captured(4);
      if (partes.capturedLength(2) > 0)
        nombre.replace(QStringLiteral("\"\""), QStringLiteral("\""));
      for (qsizetype i = 0; i < columnas.size(); ++i) {
        if (columnas[i].compare(nombre, Qt::CaseInsensitive) != 0) continue;
        if (columna >= 0) return {};  // two columns bear it
        columna = i;
      }
      if (columna < 0) return {};
    }
    numerados.append(dialecto.Alias(Numerada(columna)) + partes.captured(5));
  }
  return QStringLiteral("ORDER BY ") + numerados.join(QStringLiteral(", "));
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

QString Filtrada(const Dialecto& dialecto, const QString& sql, const QStringList& columnas,
                 const QList<Filtro>& filtros) {
  QStringList condiciones;
  for (const Filtro& filtro : filtros)
    if (filtro.columna >= 0 && filtro.columna < columnas.size())
      condiciones.append(Condicion(dialecto, Numerada(filtro.columna), filtro.texto));
  if (condiciones.isEmpty()) return sql;
  const Partes partes = Descomponer(sql);
  const QString ordenFuera = OrdenNumerado(dialecto, partes.orden, columnas);
  QStringList numeradas;
  QStringList devueltas;
  for (qsizetype i = 0; i < columnas.size(); ++i) {
    numeradas.append(dialecto.Alias(Numerada(i)));
    devueltas.append(numeradas.last() + QStringLiteral(" AS ") + dialecto.Alias(columnas[i]));
  }
  QString dentro = partes.cuerpo;
  if (ordenFuera.isEmpty() && !partes.orden.isEmpty()) dentro += QLatin1Char(' ') + partes.orden;
  QString resto = devueltas.join(QStringLiteral(", ")) + QStringLiteral(" FROM ") + kTabla +
                  QStringLiteral(" WHERE ") + condiciones.join(QStringLiteral(" and "));
  if (!ordenFuera.isEmpty()) resto += QLatin1Char(' ') + ordenFuera;
  const QString tabla = QStringLiteral("WITH ") + kTabla + QStringLiteral(" (") +
                        numeradas.join(QStringLiteral(", ")) + QStringLiteral(") AS (") + dentro +
                        QStringLiteral(") ");
  if (partes.limite >= 0) return tabla + dialecto.SelectTop(partes.limite, resto);
  return tabla + QStringLiteral("SELECT ") + resto;
}

}  // namespace filtro_consulta
