#include "analisis/valores.h"

#include <QTime>

#include "services/dialecto.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"

QString TextoDeCelda(TipoCampo tipo, const QVariant& valor, const QString& separador) {
  if (!valor.isValid() || valor.isNull()) return {};
  if (valor.typeId() == QMetaType::QTime)
    return valor.toTime().toString(QStringLiteral("HH:mm:ss"));
  const QString texto = valor.toString();
  if (tipo == TipoCampo::Numero) return LibUtil::FormatearValor(texto, separador);
  return texto;
}

QString ValorDeCelda(TipoCampo tipo, const QString& entrada) {
  const QString valor = entrada.trimmed();
  switch (tipo) {
    case TipoCampo::Numero:
      return LibDatos::FormatoSql(valor, QStringLiteral("@"));
    case TipoCampo::Texto:
    case TipoCampo::Hora:
      return valor.isEmpty() ? QStringLiteral("NULL") : Dialecto::Texto(valor);
    case TipoCampo::Clave:
    case TipoCampo::Momento:
    case TipoCampo::Desconocido:
      break;
  }
  throw Falla(Falla::kArgumentoInvalido, QStringLiteral("Esta columna no se puede modificar."));
}
