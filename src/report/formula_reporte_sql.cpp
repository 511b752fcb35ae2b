// The conditions of report formulas as the engines' WHERE text, and the
// range of days a condition selects.

#include "report/formula_reporte.h"

namespace formula {

namespace {

QString Signo(Comparador c) {
  switch (c) {
    case Comparador::Igual:
      return QStringLiteral(" = ");
    case Comparador::Distinto:
      return QStringLiteral(" <> ");
    case Comparador::Menor:
      return QStringLiteral(" < ");
    case Comparador::MenorIgual:
      return QStringLiteral(" <= ");
    case Comparador::Mayor:
      return QStringLiteral(" > ");
    case Comparador::MayorIgual:
      break;
  }
  return QStringLiteral(" >= ");
}

// A date column against a day: the day runs from its midnight up to, not
// including, the next one, so a moment with a time of day is still in its day.
QString CompararDia(const QString& columna, Comparador c, const QDate& dia, const Dialecto& d) {
  const QString inicio = d.LiteralDia(dia);
  const QString siguiente = d.LiteralDia(dia.addDays(1));
  switch (c) {
    case Comparador::Igual:
      return QStringLiteral("(%1 >= %2 AND %1 < %3)").arg(columna, inicio, siguiente);
    case Comparador::Distinto:
      return QStringLiteral("(%1 < %2 OR %1 >= %3)").arg(columna, inicio, siguiente);
    case Comparador::Menor:
      return columna + QStringLiteral(" < ") + inicio;
    case Comparador::MenorIgual:
      return columna + QStringLiteral(" < ") + siguiente;
    case Comparador::Mayor:
      return columna + QStringLiteral(" >= ") + siguiente;
    case Comparador::MayorIgual:
      break;
  }
  return columna + QStringLiteral(" >= ") + inicio;
}

}  // namespace

QString CondicionSql(const Condicion& condicion, const Dialecto& d) {
  switch (condicion.tipo) {
    case Condicion::Tipo::Y:
    case Condicion::Tipo::O: {
      QStringList partes;
      for (const Condicion& hijo : condicion.hijos) partes << CondicionSql(hijo, d);
      const QString union_ =
          condicion.tipo == Condicion::Tipo::Y ? QStringLiteral(" AND ") : QStringLiteral(" OR ");
      return QLatin1Char('(') + partes.join(union_) + QLatin1Char(')');
    }
    case Condicion::Tipo::No:
      return QStringLiteral("NOT ") + CondicionSql(condicion.hijos.front(), d);
    case Condicion::Tipo::Comparacion:
      break;
  }
  const QString columna = d.Columna(condicion.izquierdo.campo);
  const Operando& derecho = condicion.derecho;
  switch (derecho.tipo) {
    case Operando::Tipo::Fecha:
      return CompararDia(columna, condicion.comparador, derecho.fecha, d);
    case Operando::Tipo::Campo:
      return columna + Signo(condicion.comparador) + d.Columna(derecho.campo);
    case Operando::Tipo::Numero:
      return columna + Signo(condicion.comparador) + derecho.valor;
    case Operando::Tipo::Texto:
      break;
  }
  return columna + Signo(condicion.comparador) + Dialecto::Texto(derecho.valor);
}

std::optional<Rango> RangoDeFechas(const Condicion& condicion) {
  std::vector<const Condicion*> pendientes = {&condicion};
  Rango rango;
  while (!pendientes.empty()) {
    const Condicion* c = pendientes.back();
    pendientes.pop_back();
    if (c->tipo == Condicion::Tipo::Y) {
      for (const Condicion& hijo : c->hijos) pendientes.push_back(&hijo);
      continue;
    }
    if (c->tipo != Condicion::Tipo::Comparacion || c->derecho.tipo != Operando::Tipo::Fecha ||
        c->izquierdo.campo != QLatin1String("Fecha") || c->comparador == Comparador::Distinto)
      return std::nullopt;
    const QDate dia = c->derecho.fecha;
    const auto desde = [&](const QDate& d) {
      if (!rango.desde || d > *rango.desde) rango.desde = d;
    };
    const auto hasta = [&](const QDate& d) {
      if (!rango.hasta || d < *rango.hasta) rango.hasta = d;
    };
    switch (c->comparador) {
      case Comparador::Igual:
        desde(dia);
        hasta(dia);
        break;
      case Comparador::Menor:
        hasta(dia.addDays(-1));
        break;
      case Comparador::MenorIgual:
        hasta(dia);
        break;
      case Comparador::Mayor:
        desde(dia.addDays(1));
        break;
      case Comparador::MayorIgual:
        desde(dia);
        break;
      case Comparador::Distinto:
        break;
    }
  }
  return rango;
}

}  // namespace formula
