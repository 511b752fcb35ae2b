#include "report/exportar_csv.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include "analisis/columnas.h"
#include "services/falla.h"
#include "services/lib_campos.h"

namespace {

// A number as the sheet shows it, with the file's decimal mark: only the one
// separator of "-digits,digits" is replaced; any other text stays as it is.
QString ConMarca(const QString& numero, QChar decimal) {
  const qsizetype inicio = numero.startsWith(QLatin1Char('-')) ? 1 : 0;
  qsizetype marca = -1;
  for (qsizetype i = inicio; i < numero.size(); ++i) {
    const QChar c = numero.at(i);
    if (c.isDigit()) continue;
    if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && marca < 0 && i > inicio) {
      marca = i;
      continue;
    }
    return numero;
  }
  if (marca < 0 || marca == numero.size() - 1) return numero;
  QString conMarca = numero;
  conMarca[marca] = decimal;
  return conMarca;
}

// "hh:mm:ss" as HH:mm; a text that is no such time stays as it is.
QString HoraMinutos(const QString& hora) {
  const bool esHora =
      hora.size() == 8 && hora.at(2) == QLatin1Char(':') && hora.at(5) == QLatin1Char(':');
  return esHora ? hora.left(5) : hora;
}

void Agregar(QString& linea, const QString& campo, QChar separador) {
  bool comillas = false;
  for (const QChar c : campo) {
    if (c == separador || c == QLatin1Char('"') || c == QLatin1Char('\n') ||
        c == QLatin1Char('\r')) {
      comillas = true;
      break;
    }
  }
  if (!comillas) {
    linea += campo;
    return;
  }
  linea += QLatin1Char('"');
  linea += QString(campo).replace(QLatin1Char('"'), QLatin1String("\"\""));
  linea += QLatin1Char('"');
}

}  // namespace

FormatoCsv FormatoCsvDelOperador() {
  if (LibCampos::SeparadorDecimal() == QLatin1String(","))
    return {QLatin1Char(';'), QLatin1Char(',')};
  return {QLatin1Char(','), QLatin1Char('.')};
}

bool EscribirCsv(QIODevice& destino, const std::vector<AnalisisReporte>& analisis,
                 const FormatoCsv& formato, const std::function<bool(qint64)>& avanzar) {
  const auto& columnas = ColumnasReporte();
  std::array<TipoCampo, kColumnasReporte> tipos{};
  QString linea = QStringLiteral("\uFEFFFecha");
  for (int c = 0; c < kColumnasReporte; ++c) {
    tipos[c] = ColumnaPorIndice(c + 1)->tipo;
    linea += formato.separador;
    Agregar(linea, columnas[c].titulo, formato.separador);
  }
  linea += QLatin1String("\r\n");
  // The records go out in blocks: one write per analysis would cost more than
  // the text itself.
  constexpr qsizetype kBloque = 64 * 1024;
  QByteArray bloque;
  const auto vaciar = [&] {
    const bool escrito = destino.write(bloque) == bloque.size();
    // resize, not clear: the block keeps its memory for the next one.
    bloque.resize(0);
    return escrito;
  };
  bloque += linea.toUtf8();
  // The cells already carry the operator's separator: a file with that mark
  // takes them as they are.
  const bool otraMarca = LibCampos::SeparadorDecimal() != QString(formato.decimal);
  qint64 escritas = 0;
  // The analyses come by day: a day's text is made once.
  QDate dia;
  QString textoDia;
  for (const AnalisisReporte& fila : analisis) {
    linea.resize(0);
    if (fila.fecha != dia) {
      dia = fila.fecha;
      textoDia = dia.isValid() ? dia.toString(QStringLiteral("dd/MM/yyyy")) : QString();
    }
    linea += textoDia;
    for (int c = 0; c < kColumnasReporte; ++c) {
      linea += formato.separador;
      const QString& celda = fila.celdas[c];
      if (tipos[c] == TipoCampo::Numero && otraMarca)
        Agregar(linea, ConMarca(celda, formato.decimal), formato.separador);
      else if (tipos[c] == TipoCampo::Hora)
        Agregar(linea, HoraMinutos(celda), formato.separador);
      else
        Agregar(linea, celda, formato.separador);
    }
    linea += QLatin1String("\r\n");
    bloque += linea.toUtf8();
    if (bloque.size() >= kBloque && !vaciar()) return false;
    if (!avanzar(++escritas)) return false;
  }
  return vaciar();
}

void NoSeExporto(const QString& ruta, const QString& razon) {
  throw Falla(Falla::kArchivo,
              QStringLiteral("No se pudo exportar a «%1»: %2.\nNo se guardó nada (no quedó ningún "
                             "archivo a medias). Elija una carpeta donde se pueda escribir, o "
                             "libere espacio en el disco, y vuelva a intentarlo.")
                  .arg(QDir::toNativeSeparators(ruta), razon));
}

bool GuardarCsv(const QString& ruta, const std::vector<AnalisisReporte>& analisis,
                const FormatoCsv& formato, const std::function<bool(qint64)>& avanzar) {
  const QString carpeta = QFileInfo(ruta).absolutePath();
  if (!QDir().mkpath(carpeta))
    NoSeExporto(ruta, QStringLiteral("no se pudo crear la carpeta «%1»").arg(carpeta));
  QSaveFile archivo(ruta);
  if (!archivo.open(QIODevice::WriteOnly)) NoSeExporto(ruta, archivo.errorString());
  if (!EscribirCsv(archivo, analisis, formato, avanzar)) {
    const bool cancelado = archivo.error() == QFileDevice::NoError;
    const QString razon = archivo.errorString();
    archivo.cancelWriting();
    if (cancelado) return false;
    NoSeExporto(ruta, razon);
  }
  if (!archivo.commit()) NoSeExporto(ruta, archivo.errorString());
  return true;
}
