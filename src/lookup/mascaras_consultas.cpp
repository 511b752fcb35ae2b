#include "lookup/mascaras_consultas.h"

#include <QFile>
#include <QStringEncoder>

#include "services/falla.h"

namespace {

// The text in the Windows code page the file has always used, padded with
// spaces or cut to the width.
QByteArray Ancho(const QString& texto, int ancho) {
  QStringEncoder ansi("windows-1252");
  QByteArray bytes = ansi.isValid() ? QByteArray(ansi(texto)) : texto.toLatin1();
  bytes.truncate(ancho);
  return bytes.leftJustified(ancho, ' ');
}

}  // namespace

QByteArray RegistroMascara::Bytes() const {
  return Ancho(Nombre, 100) + Ancho(Tabla, 100) + Ancho(Campos, 500) + Ancho(Filtro, 500) +
         QByteArray("\r\n");
}

QList<RegistroMascara> MascarasPorDefecto() {
  return {
      {QStringLiteral("ARTICULOS"),
       QStringLiteral("V_MA_ARTICULOS"),
       QStringLiteral("|DESCRIPCION|IDARTICULO|"),
       {}},
      {QStringLiteral("CLIENTES"),
       QStringLiteral("VT_CLIENTES"),
       QStringLiteral("|RAZON_SOCIAL|CODIGO|CONTACTO|"),
       {}},
      {QStringLiteral("PROVEEDORES"),
       QStringLiteral("VT_PROVEEDORES"),
       QStringLiteral("|RAZON_SOCIAL|CODIGO|"),
       {}},
      {QStringLiteral("CONTACTOS"),
       QStringLiteral("MA_CONTACTOS"),
       QStringLiteral("|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"),
       {}},
      {QStringLiteral("VENDEDORES"),
       QStringLiteral("V_TA_VENDEDORES"),
       QStringLiteral("|NOMBRE|IDVENDEDOR|"),
       {}},
      {QStringLiteral("TECNICOS"),
       QStringLiteral("V_TA_TECNICOS"),
       QStringLiteral("|NOMBRE|IDTECNICO|"),
       {}},
      {QStringLiteral("MANTENIMIENTOS"),
       QStringLiteral("V_MA_MANTENIMIENTOS"),
       QStringLiteral("|DESCRIPCION|CODIGO|"),
       {}},
  };
}

void CrearMascarasConsultas(const QString& ruta) {
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadWrite))
    throw Falla(
        Falla::kArchivo,
        QStringLiteral("No se pudo crear %1: %2").arg(archivo.fileName(), archivo.errorString()));
  for (RegistroMascara registro : MascarasPorDefecto()) {
    registro.Nombre = registro.Nombre.trimmed();
    registro.Campos = registro.Campos.trimmed();
    const qint64 numero = archivo.size() / RegistroMascara::kLargo + 1;
    if (!archivo.seek((numero - 1) * RegistroMascara::kLargo) ||
        archivo.write(registro.Bytes()) != RegistroMascara::kLargo)
      throw Falla(Falla::kArchivo, QStringLiteral("No se pudo escribir %1: %2")
                                       .arg(archivo.fileName(), archivo.errorString()));
  }
  if (!archivo.flush())
    throw Falla(Falla::kArchivo, QStringLiteral("No se pudo escribir %1.").arg(archivo.fileName()));
}
