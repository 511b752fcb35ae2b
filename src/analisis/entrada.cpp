#include "analisis/entrada.h"

#include "analisis/horario.h"
#include "analisis/valores.h"
#include "services/falla.h"
#include "services/lib_util.h"

namespace {

EntradaLeida Rechazo(const QString& motivo) { return {false, {}, {}, motivo}; }

// The digits of a number in statement form ("-0.0120" has 3: 1, 2, 0 is
// trailing and holds no value, nor do the leading zeros).
int CifrasSignificativas(const QString& numero) {
  QString cifras;
  for (const QChar c : numero)
    if (c.isDigit()) cifras += c;
  const qsizetype punto = numero.indexOf(QLatin1Char('.'));
  if (punto >= 0) {
    while (cifras.endsWith(QLatin1Char('0'))) cifras.chop(1);
  }
  qsizetype inicio = 0;
  while (inicio < cifras.size() && cifras.at(inicio) == QLatin1Char('0')) ++inicio;
  return static_cast<int>(cifras.size() - inicio);
}

}  // namespace

bool TieneCaracteresDeControl(const QString& texto) {
  // Tab and line breaks are text a remark may hold.
  for (const QChar c : texto) {
    if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) continue;
    if (c.category() == QChar::Other_Control) return true;
  }
  return false;
}

EntradaLeida LeerEntrada(const ColumnaAnalisis& columna, const QString& entrada,
                         const QString& separador) {
  const QString nombre = NombreColumna(columna);
  if (TieneCaracteresDeControl(entrada))
    return Rechazo(
        QStringLiteral("La entrada de la columna %1 tiene caracteres de control (invisibles), "
                       "que no se pueden guardar: bórrela y escriba el valor de nuevo.\nNo se "
                       "guardó nada.")
            .arg(nombre));
  QString valor = entrada.trimmed();
  const TipoCampo tipo = columna.tipo;
  if (tipo == TipoCampo::Hora) {
    const std::optional<QString> hora = FormatearHorario(valor);
    if (!hora) return Rechazo(NoEsHorario(valor, nombre));
    valor = *hora;
  }
  if (tipo == TipoCampo::Texto && columna.maximo > 0) {
    // Characters as the engines count them: an emoji is one.
    const qsizetype largo = valor.toUcs4().size();
    if (largo > columna.maximo)
      return Rechazo(QStringLiteral("La columna %1 admite hasta %2 caracteres, y la entrada "
                                    "tiene %3: acórtela.\nNo se guardó nada.")
                         .arg(nombre)
                         .arg(columna.maximo)
                         .arg(largo));
  }
  EntradaLeida leida;
  try {
    leida.sql = ValorDeCelda(tipo, valor);
  } catch (const Falla&) {
    if (tipo != TipoCampo::Numero) throw;
    return Rechazo(QStringLiteral("«%1» no es un número: la columna %2 solo admite números, con "
                                  "coma o punto decimal (por ejemplo 12,5).\nNo se guardó nada.")
                       .arg(valor, nombre));
  }
  if (tipo == TipoCampo::Numero) {
    if (CifrasSignificativas(leida.sql) > kCifrasSignificativas)
      return Rechazo(QStringLiteral("«%1» tiene más cifras de las que guarda la columna %2 (hasta "
                                    "%3 cifras significativas).\nNo se guardó nada.")
                         .arg(valor, nombre)
                         .arg(kCifrasSignificativas));
    leida.celda = leida.sql == QLatin1String("NULL")
                      ? QString()
                      : LibUtil::FormatearValor(leida.sql, separador);
  } else {
    leida.celda = valor;
  }
  leida.valida = true;
  return leida;
}

bool EntradaSinCambios(const ColumnaAnalisis& columna, const QString& entrada,
                       const QString& original, const QString& separador) {
  if (entrada.trimmed() == original.trimmed()) return true;
  const EntradaLeida nueva = LeerEntrada(columna, entrada, separador);
  const EntradaLeida vieja = LeerEntrada(columna, original, separador);
  return nueva.valida && vieja.valida && nueva.sql == vieja.sql;
}
