#include "lookup/lector_mascaras.h"

#include <QFile>
#include <QStringDecoder>

namespace lector_mascaras {

namespace {

// One field: its bytes as far as the content reaches, decoded, without the
// bytes 0 and 255 (the old file format's filler).
QString Campo(const QByteArray& contenido, qsizetype desde, qsizetype ancho) {
  if (desde >= contenido.size()) return {};
  QByteArray bytes = contenido.mid(desde, ancho);
  bytes.replace('\0', QByteArray());
  bytes.replace('\xFF', QByteArray());
  QStringDecoder ansi("windows-1252");
  return ansi.isValid() ? QString(ansi(bytes)) : QString::fromLatin1(bytes);
}

}  // namespace

RegistroMascara Registro(const QByteArray& contenido, qsizetype desde) {
  RegistroMascara registro;
  registro.Nombre = Campo(contenido, desde, 100);
  registro.Tabla = Campo(contenido, desde + 100, 100);
  registro.Campos = Campo(contenido, desde + 200, 500);
  registro.Filtro = Campo(contenido, desde + 700, 500);
  return registro;
}

std::optional<RegistroMascara> Buscar(const QByteArray& contenido, const QString& tabla) {
  const QString buscada = tabla.trimmed();
  for (qsizetype desde = 0; desde < contenido.size(); desde += RegistroMascara::kLargo) {
    RegistroMascara registro = Registro(contenido, desde);
    if (registro.Tabla.trimmed().compare(buscada, Qt::CaseInsensitive) == 0) return registro;
  }
  return std::nullopt;
}

std::optional<RegistroMascara> BuscarEnArchivo(const QString& ruta, const QString& tabla) {
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadOnly)) return std::nullopt;
  return Buscar(archivo.readAll(), tabla);
}

}  // namespace lector_mascaras
