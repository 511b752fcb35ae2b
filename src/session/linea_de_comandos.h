#pragma once
// The start-up parameter string: the command line text after the program's
// name (its only argument, "@Server=...;@DbName=...;..."). Tests set it
// instead with FijarParametros.

#include <QString>

QString ParametrosDeInicio();
void FijarParametros(const QString& parametros);
