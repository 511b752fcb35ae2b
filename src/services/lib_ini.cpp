#include "services/lib_ini.h"

#include <QDir>
#include <QFile>
#include <QStringDecoder>

#include "services/carpetas.h"

namespace {

// The file as text: UTF-8 when it is valid UTF-8, else the Windows code page
// the lab's older INI files were written in.
QString LeerTexto(const QString& ruta) {
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  const QByteArray bytes = archivo.readAll();
  QStringDecoder utf8(QStringDecoder::Utf8);
  QString texto = utf8(bytes);
  if (!utf8.hasError()) return texto;
  QStringDecoder ansi("windows-1252");
  if (ansi.isValid()) return ansi(bytes);
  return QString::fromLatin1(bytes);
}

// The file of that name in the folder, its name compared without case (an
// INI copied from Windows may be "ro000za.ini").
QString Ubicar(const QString& carpeta, const QString& nombre) {
  const QDir dir(carpeta);
  if (dir.exists(nombre)) return dir.filePath(nombre);
  const QStringList presentes = dir.entryList(QDir::Files);
  for (const QString& presente : presentes) {
    if (presente.compare(nombre, Qt::CaseInsensitive) == 0) return dir.filePath(presente);
  }
  return {};
}

}  // namespace

LibIni& LibIni::Instancia() {
  static LibIni ini;
  return ini;
}

QString LibIni::LeerValor(const QString& archivo, const QString& seccion, const QString& clave,
                          const QString& porDefecto) const {
  for (const QString& carpeta : {carpetas::DelPrograma(), carpetas::DeConfiguracion()}) {
    const QString ruta = Ubicar(carpeta, archivo);
    if (ruta.isEmpty()) continue;
    if (auto valor = Buscar(LeerTexto(ruta), seccion, clave)) return *valor;
  }
  return porDefecto;
}

std::optional<QString> LibIni::Buscar(const QString& contenido, const QString& seccion,
                                      const QString& clave) {
  bool enSeccion = false;
  const QStringList lineas = contenido.split(QLatin1Char('\n'));
  for (const QString& cruda : lineas) {
    const QString linea = cruda.trimmed();
    if (linea.isEmpty() || linea.startsWith(QLatin1Char(';')) || linea.startsWith(QLatin1Char('#')))
      continue;
    if (linea.startsWith(QLatin1Char('['))) {
      const qsizetype cierre = linea.lastIndexOf(QLatin1Char(']'));
      if (cierre < 0) continue;
      enSeccion =
          linea.mid(1, cierre - 1).trimmed().compare(seccion.trimmed(), Qt::CaseInsensitive) == 0;
      continue;
    }
    if (!enSeccion) continue;
    const qsizetype igual = linea.indexOf(QLatin1Char('='));
    if (igual <= 0) continue;
    if (linea.left(igual).trimmed().compare(clave.trimmed(), Qt::CaseInsensitive) != 0) continue;
    QString valor = linea.mid(igual + 1).trimmed();
    if (valor.size() >= 2 && valor.startsWith(QLatin1Char('"')) && valor.endsWith(QLatin1Char('"')))
      valor = valor.mid(1, valor.size() - 2);
    return valor;
  }
  return std::nullopt;
}
