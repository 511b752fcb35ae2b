#include "session/parametros_inicio.h"

#include "services/lib_util.h"

QString LeerParametro(const QString& clave, const QString& parametros) {
  qsizetype desde = 0;
  for (;;) {
    const qsizetype inicio = parametros.indexOf(clave, desde, Qt::CaseInsensitive);
    if (inicio < 0) return {};
    desde = inicio + 1;
    // The key must open an item: only blanks between it and the previous ";".
    if (!parametros.left(inicio).section(QLatin1Char(';'), -1).trimmed().isEmpty()) continue;
    // ...and close the item's key: only blanks between it and its "=" or ";".
    const qsizetype fin = inicio + clave.size();
    qsizetype despues = fin;
    while (despues < parametros.size() && parametros[despues].isSpace()) ++despues;
    if (despues < parametros.size() && parametros[despues] != QLatin1Char('=') &&
        parametros[despues] != QLatin1Char(';'))
      continue;
    const qsizetype puntoYComa = parametros.indexOf(QLatin1Char(';'), fin);
    if (puntoYComa < 0) return {};
    return LibUtil::QuitarCaracteres(parametros.mid(fin, puntoYComa - fin), QStringLiteral("="))
        .trimmed();
  }
}

QString QuitarPrefijoServidor(const QString& servidor) {
  const qsizetype barra = servidor.indexOf(QLatin1Char('/'));
  return barra < 0 ? servidor : servidor.mid(barra + 1);
}
