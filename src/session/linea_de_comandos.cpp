#include "session/linea_de_comandos.h"

#include <QCoreApplication>
#include <QStringList>
#include <optional>

namespace {

std::optional<QString>& Fijados() {
  static std::optional<QString> parametros;
  return parametros;
}

}  // namespace

QString ParametrosDeInicio() {
  if (Fijados()) return *Fijados();
  // A launcher may split the string at its blanks: join the pieces back.
  return QCoreApplication::arguments().mid(1).join(QLatin1Char(' '));
}

void FijarParametros(const QString& parametros) { Fijados() = parametros; }
