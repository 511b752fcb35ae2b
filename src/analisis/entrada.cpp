#include "analisis/entrada.h"

#include <QRegularExpression>

#include "analisis/horario.h"
#include "analisis/valores.h"
#include "services/falla.h"
#include "services/lib_util.h"

namespace {

EntradaLeida Rechazo(const QString& motivo) { return {false, {}, {}, motivo}; }

// A sign, digits and at most one decimal mark: what reads as a number, even
// one too long for a column.
bool FormaDeNumero(const QString& texto) {
  static const QRegularExpression forma(QStringLiteral("^[+-]?([0-9]+([.,][0-9]*)?|[.,][0-9]+)$"));
  return forma.match(texto).hasMatch();
}

}  // namespace

bool TieneCaracteresDeControl(const QString& texto) {
  // Tab and line breaks are text a remark may hold. The control characters
  // are U+0000 to U+001F and U+007F to U+009F, a set Unicode never changes:
  // told by their codes, without the character tables every stored cell
  // would otherwise read.
  for (const QChar c : texto) {
    if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r')) continue;
    const char16_t codigo = c.unicode();
    if (codigo < 0x20 || (codigo >= 0x7F && codigo <= 0x9F)) return true;
  }
  return false;
}

EntradaLeida LeerEntrada(const ColumnaAnalisis& columna, const QString& entrada,
                         const QString& separador) {
  // The column's name is only for the reasons of a refusal.
  const auto nombre = [&columna] { return NombreColumna(columna); };
  if (TieneCaracteresDeControl(entrada))
    return Rechazo(
        QStringLiteral("La entrada de la columna %1 tiene caracteres de control (invisibles), "
                       "que no se pueden guardar: bórrela y escriba el valor de nuevo.\nNo se "
                       "guardó nada.")
            .arg(nombre()));
  QString valor = entrada.trimmed();
  const TipoCampo tipo = columna.tipo;
  if (tipo == TipoCampo::Hora) {
    const std::optional<QString> hora = FormatearHorario(valor);
    if (!hora) return Rechazo(NoEsHorario(valor, nombre()));
    valor = *hora;
  }
  if (tipo == TipoCampo::Texto && columna.maximo > 0) {
    // Characters as the engines count them: an emoji is one.
    const qsizetype largo = valor.toUcs4().size();
    if (largo > columna.maximo)
      return Rechazo(QStringLiteral("La columna %1 admite hasta %2 caracteres, y la entrada "
                                    "tiene %3: acórtela.\nNo se guardó nada.")
                         .arg(nombre(), QString::number(columna.maximo), QString::number(largo)));
  }
  EntradaLeida leida;
  try {
    leida.sql = ValorDeCelda(tipo, valor);
  } catch (const Falla& falla) {
    if (tipo != TipoCampo::Numero) throw;
    // A number the columns cannot hold as typed: the reason names the limit.
    if (FormaDeNumero(valor))
      return Rechazo(
          QStringLiteral("Columna %1: %2\nNo se guardó nada.").arg(nombre(), falla.Mensaje()));
    return Rechazo(QStringLiteral("«%1» no es un número: la columna %2 solo admite números, con "
                                  "coma o punto decimal (por ejemplo 12,5).\nNo se guardó nada.")
                       .arg(valor, nombre()));
  }
  if (tipo == TipoCampo::Numero) {
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
                       const EntradaLeida& leida, const QString& original,
                       const QString& separador) {
  if (entrada.trimmed() == original.trimmed()) return true;
  if (!leida.valida) return false;
  const EntradaLeida vieja = LeerEntrada(columna, original, separador);
  return vieja.valida && vieja.sql == leida.sql;
}

bool EntradaSinCambios(const ColumnaAnalisis& columna, const QString& entrada,
                       const QString& original, const QString& separador) {
  return EntradaSinCambios(columna, entrada, LeerEntrada(columna, entrada, separador), original,
                           separador);
}
