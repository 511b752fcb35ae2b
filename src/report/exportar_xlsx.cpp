#include "report/exportar_xlsx.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>

#include "analisis/columnas.h"
#include "report/exportar_csv.h"

namespace {

constexpr int kTipo = 0;  // the flour type among an analysis's cells
constexpr int kAnchoMaximo = 60;

QByteArray Utf8(const QString& texto) { return texto.toUtf8(); }

int Decimales(const QString& numero) {
  const qsizetype marca =
      std::max(numero.lastIndexOf(QLatin1Char('.')), numero.lastIndexOf(QLatin1Char(',')));
  return marca < 0 ? 0 : static_cast<int>(numero.size() - marca - 1);
}

QByteArray FormatoNumero(int decimales) {
  return decimales <= 0 ? QByteArray("0") : "0." + QByteArray(decimales, '0');
}

// "hh:mm:ss" as the fraction of a day a spreadsheet keeps for a time; -1 for
// any other text. Read by hand: Qt's parser would cost more than the rest of
// the row.
double FraccionDelDia(const QString& hora) {
  if (hora.size() != 8 || hora.at(2) != QLatin1Char(':') || hora.at(5) != QLatin1Char(':'))
    return -1;
  int partes[3] = {0, 0, 0};
  for (int p = 0; p < 3; ++p) {
    const QChar decenas = hora.at(3 * p);
    const QChar unidades = hora.at(3 * p + 1);
    if (!decenas.isDigit() || !unidades.isDigit()) return -1;
    partes[p] = decenas.digitValue() * 10 + unidades.digitValue();
  }
  if (partes[0] > 23 || partes[1] > 59 || partes[2] > 59) return -1;
  return (partes[0] * 3600 + partes[1] * 60 + partes[2]) / 86400.0;
}

lxw_datetime Dia(const QDate& fecha) { return {fecha.year(), fecha.month(), fecha.day(), 0, 0, 0}; }

// The workbook, freed without being written unless it was closed.
class Libro {
 public:
  explicit Libro(const QString& ruta) {
    lxw_workbook_options opciones{};
    // Rows go to disk as they are written: 100,000 analyses take no more
    // memory than ten.
    opciones.constant_memory = LXW_TRUE;
    opciones.use_zip64 = LXW_TRUE;
    libro_ = workbook_new_opt(QFile::encodeName(ruta).constData(), &opciones);
  }
  ~Libro() {
    if (libro_) lxw_workbook_free(libro_);
  }
  Libro(const Libro&) = delete;
  Libro& operator=(const Libro&) = delete;

  lxw_workbook* get() const { return libro_; }
  lxw_error Cerrar() {
    const lxw_error error = workbook_close(libro_);
    libro_ = nullptr;
    return error;
  }

 private:
  lxw_workbook* libro_ = nullptr;
};

struct Formatos {
  lxw_format* encabezado = nullptr;
  lxw_format* fecha = nullptr;
  lxw_format* hora = nullptr;
  std::array<lxw_format*, kColumnasReporte> numero{};
  std::array<lxw_format*, kColumnasReporte> fuera{};
};

void Encabezar(lxw_worksheet* hoja, const QStringList& titulos, lxw_format* formato) {
  for (int c = 0; c < titulos.size(); ++c)
    worksheet_write_string(hoja, 0, static_cast<lxw_col_t>(c), Utf8(titulos[c]).constData(),
                           formato);
  // The titles stay in view however far down the operator scrolls.
  worksheet_freeze_panes(hoja, 1, 0);
}

void Anchos(lxw_worksheet* hoja, const std::vector<int>& anchos) {
  for (std::size_t c = 0; c < anchos.size(); ++c)
    worksheet_set_column(hoja, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                         std::min(anchos[c], kAnchoMaximo) + 2, nullptr);
}

// The limits of each column in force for one flour type and day. The rows
// come by day, the types of a day mixed: each type keeps the limits of the
// last day it was looked up for.
class LimitesDeFila {
 public:
  using Vigentes = std::array<std::optional<Limite>, kColumnasReporte>;
  explicit LimitesDeFila(const QList<Limite>& limites) : limites_(limites) {}
  const Vigentes& De(const AnalisisReporte& fila) {
    if (limites_.isEmpty()) return ninguno_;
    const QString& tipo = fila.celdas[kTipo];
    auto [entrada, nueva] = porTipo_.try_emplace(tipo);
    Dia& dia = entrada->second;
    if (nueva || dia.fecha != fila.fecha) {
      dia.fecha = fila.fecha;
      for (int c = 0; c < kColumnasReporte; ++c)
        dia.vigentes[c] = ColumnasReporte()[c].numero
                              ? LimiteVigente(limites_, tipo, ColumnasReporte()[c].campo, dia.fecha)
                              : std::nullopt;
    }
    return dia.vigentes;
  }

 private:
  struct Dia {
    QDate fecha;
    Vigentes vigentes;
  };
  const QList<Limite>& limites_;
  const Vigentes ninguno_{};
  std::map<QString, Dia> porTipo_;
};

bool HojaAnalisis(lxw_workbook* libro, Formatos& f, const std::vector<AnalisisReporte>& analisis,
                  const QList<Limite>& limites, const std::function<bool(qint64)>& avanzar) {
  const auto& columnas = ColumnasReporte();
  lxw_worksheet* hoja = workbook_add_worksheet(libro, "Análisis");

  QStringList titulos{QStringLiteral("Fecha")};
  std::vector<int> anchos{10};
  std::array<int, kColumnasReporte> decimales{};
  std::array<TipoCampo, kColumnasReporte> tipos{};
  for (int c = 0; c < kColumnasReporte; ++c) {
    tipos[c] = ColumnaPorIndice(c + 1)->tipo;
    titulos << columnas[c].titulo;
    anchos.push_back(static_cast<int>(columnas[c].titulo.size()));
  }
  // Widths and decimals need every row before the first is written.
  for (const AnalisisReporte& fila : analisis)
    for (int c = 0; c < kColumnasReporte; ++c) {
      const QString& celda = fila.celdas[c];
      // The longest line of the text, counted in place.
      int largo = 0;
      int linea = 0;
      for (const QChar c : celda) {
        linea = c == QLatin1Char('\n') ? 0 : linea + 1;
        largo = std::max(largo, linea);
      }
      anchos[c + 1] = std::max(anchos[c + 1], largo);
      if (columnas[c].numero && !std::isnan(fila.valores[c]))
        decimales[c] = std::max(decimales[c], std::min(6, Decimales(celda)));
    }
  // One format per look: libxlsxwriter looks a format up again on every cell
  // when another one has the same look.
  std::map<int, std::pair<lxw_format*, lxw_format*>> porDecimales;
  for (int c = 0; c < kColumnasReporte; ++c) {
    if (!columnas[c].numero) continue;
    auto& [numero, fuera] = porDecimales[decimales[c]];
    if (!numero) {
      const QByteArray formato = FormatoNumero(decimales[c]);
      numero = workbook_add_format(libro);
      format_set_num_format(numero, formato.constData());
      fuera = workbook_add_format(libro);
      format_set_num_format(fuera, formato.constData());
      format_set_font_color(fuera, LXW_COLOR_RED);
    }
    f.numero[c] = numero;
    f.fuera[c] = fuera;
  }
  Anchos(hoja, anchos);
  Encabezar(hoja, titulos, f.encabezado);

  LimitesDeFila vigentes(limites);
  lxw_row_t r = 0;
  for (const AnalisisReporte& fila : analisis) {
    ++r;
    if (fila.fecha.isValid()) {
      lxw_datetime dia = Dia(fila.fecha);
      worksheet_write_datetime(hoja, r, 0, &dia, f.fecha);
    }
    const auto& limitesFila = vigentes.De(fila);
    for (int c = 0; c < kColumnasReporte; ++c) {
      const QString& celda = fila.celdas[c];
      if (celda.isEmpty()) continue;
      const auto columna = static_cast<lxw_col_t>(c + 1);
      if (columnas[c].numero && !std::isnan(fila.valores[c])) {
        const double valor = fila.valores[c];
        const bool fuera =
            limitesFila[c] && Juzgar(*limitesFila[c], valor).veredicto == Veredicto::Fuera;
        worksheet_write_number(hoja, r, columna, valor, fuera ? f.fuera[c] : f.numero[c]);
        continue;
      }
      const double hora = tipos[c] == TipoCampo::Hora ? FraccionDelDia(celda) : -1;
      if (hora >= 0)
        worksheet_write_number(hoja, r, columna, hora, f.hora);
      else
        worksheet_write_string(hoja, r, columna, Utf8(celda).constData(), nullptr);
    }
    if (!avanzar(r)) return false;
  }
  return true;
}

void HojaEspecificaciones(lxw_workbook* libro, const Formatos& f,
                          const std::vector<AnalisisReporte>& analisis,
                          const QList<Limite>& limites) {
  lxw_worksheet* hoja = workbook_add_worksheet(libro, "Especificaciones");
  lxw_format* encabezado = f.encabezado;
  lxw_format* fecha = f.fecha;
  const QStringList titulos{QStringLiteral("Tipo de harina"), QStringLiteral("Análisis"),
                            QStringLiteral("Unidad"),         QStringLiteral("Mínimo"),
                            QStringLiteral("Aviso mínimo"),   QStringLiteral("Aviso máximo"),
                            QStringLiteral("Máximo"),         QStringLiteral("Vigente desde")};
  QDate desde, hasta;
  for (const AnalisisReporte& fila : analisis) {
    if (!fila.fecha.isValid()) continue;
    if (!desde.isValid() || fila.fecha < desde) desde = fila.fecha;
    if (!hasta.isValid() || fila.fecha > hasta) hasta = fila.fecha;
  }
  if (!desde.isValid()) desde = hasta = QDate::currentDate();
  const QList<Limite> vigentes = LimitesEnVigor(limites, desde, hasta);

  std::vector<int> anchos;
  for (const QString& titulo : titulos) anchos.push_back(static_cast<int>(titulo.size()));
  std::vector<std::array<QString, 3>> textos;
  for (const Limite& limite : vigentes) {
    const ColumnaAnalisis* columna = CampoPorNombre(limite.campo);
    std::array<QString, 3> fila{limite.tipoHarina, columna ? columna->tituloReporte : limite.campo,
                                columna ? columna->unidad : QString()};
    for (int c = 0; c < 3; ++c) anchos[c] = std::max(anchos[c], static_cast<int>(fila[c].size()));
    textos.push_back(fila);
  }
  Anchos(hoja, anchos);
  Encabezar(hoja, titulos, encabezado);
  lxw_row_t r = 0;
  for (const Limite& limite : vigentes) {
    const std::array<QString, 3>& fila = textos[r];
    ++r;
    for (lxw_col_t c = 0; c < 3; ++c)
      if (!fila[c].isEmpty())
        worksheet_write_string(hoja, r, c, Utf8(fila[c]).constData(), nullptr);
    const std::array<std::optional<double>, 4> cotas{limite.minimo, limite.avisoMinimo,
                                                     limite.avisoMaximo, limite.maximo};
    for (lxw_col_t c = 0; c < 4; ++c)
      if (cotas[c]) worksheet_write_number(hoja, r, 3 + c, *cotas[c], nullptr);
    if (limite.vigenteDesde.isValid()) {
      lxw_datetime dia = Dia(limite.vigenteDesde);
      worksheet_write_datetime(hoja, r, 7, &dia, fecha);
    }
  }
}

}  // namespace

QList<Limite> LimitesEnVigor(const QList<Limite>& limites, const QDate& desde, const QDate& hasta) {
  const auto clave = [](const Limite& l) {
    return std::make_pair(l.tipoHarina.trimmed().toLower(), l.campo.trimmed().toUpper());
  };
  const auto orden = [&](const Limite& l) {
    const ColumnaAnalisis* columna = CampoPorNombre(l.campo);
    return std::make_tuple(l.tipoHarina.trimmed().toLower(), columna ? columna->indice : 99,
                           l.campo.trimmed().toUpper(), l.vigenteDesde);
  };
  QList<Limite> ordenados = limites;
  std::stable_sort(ordenados.begin(), ordenados.end(),
                   [&](const Limite& a, const Limite& b) { return orden(a) < orden(b); });
  QList<Limite> enVigor;
  for (qsizetype i = 0; i < ordenados.size(); ++i) {
    const Limite& limite = ordenados[i];
    // A row rules from its day until the next row of its type and column.
    const bool hayOtra = i + 1 < ordenados.size() && clave(ordenados[i + 1]) == clave(limite);
    if (limite.vigenteDesde > hasta) continue;
    if (hayOtra && ordenados[i + 1].vigenteDesde <= desde) continue;
    enVigor.append(limite);
  }
  return enVigor;
}

bool GuardarXlsx(const QString& ruta, const std::vector<AnalisisReporte>& analisis,
                 const QList<Limite>& limites, const std::function<bool(qint64)>& avanzar) {
  const QFileInfo destino(ruta);
  const QString carpeta = destino.absolutePath();
  if (!QDir().mkpath(carpeta))
    NoSeExporto(ruta, QStringLiteral("no se pudo crear la carpeta «%1»").arg(carpeta));
  // The temporary file holds the name until the workbook is renamed over
  // the destination; any way out before that removes it.
  QTemporaryFile temporal(carpeta + QStringLiteral("/.") + destino.fileName() +
                          QStringLiteral(".XXXXXX"));
  if (!temporal.open()) NoSeExporto(ruta, temporal.errorString());
  temporal.close();
  {
    Libro libro(temporal.fileName());
    if (!libro.get()) NoSeExporto(ruta, QStringLiteral("no se pudo preparar el libro"));
    Formatos formatos;
    formatos.encabezado = workbook_add_format(libro.get());
    format_set_bold(formatos.encabezado);
    formatos.fecha = workbook_add_format(libro.get());
    format_set_num_format(formatos.fecha, "dd/mm/yyyy");
    formatos.hora = workbook_add_format(libro.get());
    format_set_num_format(formatos.hora, "hh:mm");
    if (!HojaAnalisis(libro.get(), formatos, analisis, limites, avanzar)) return false;
    HojaEspecificaciones(libro.get(), formatos, analisis, limites);
    const lxw_error error = libro.Cerrar();
    if (error != LXW_NO_ERROR) NoSeExporto(ruta, QString::fromUtf8(lxw_strerror(error)));
  }
  // A file made here is read by others as any document is.
  temporal.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                          QFileDevice::ReadGroup | QFileDevice::ReadOther);
  if (std::rename(QFile::encodeName(temporal.fileName()).constData(),
                  QFile::encodeName(ruta).constData()) != 0)
    NoSeExporto(ruta, QString::fromLocal8Bit(std::strerror(errno)));
  temporal.setAutoRemove(false);
  return true;
}
