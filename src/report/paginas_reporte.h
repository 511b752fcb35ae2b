#pragma once
// The analysis report's layout, apart from its painting: what is measured on
// the device (fonts, columns, the header's and footer's heights) and which
// blocks go on which page. A block never leaves its page's body; only a row
// taller than a whole page is split, by lines.

#include <QFont>
#include <QStringList>
#include <array>
#include <vector>

#include "report/reporte_zentalia.h"
#include "report/texto_reporte.h"

class QPagedPaintDevice;

namespace reporte {

// Everything measured on the device, in its pixels.
struct Medidas {
  double mm = 1;
  double ancho = 0;
  double alto = 0;
  QFont cuerpo, negrita, empresa, titulo, pequena;
  double linea = 0;    // a line of the body's font
  double relleno = 0;  // above and below a row's text
  std::array<double, kColumnasReporte> x{};
  std::array<double, kColumnasReporte> w{};
  double altoCabecera = 0;  // header, selection and column headings
  double altoPie = 0;
  double altoCuerpo = 0;
  std::array<QStringList, kColumnasReporte> encabezados;
  double altoSeleccion = 0;  // the selection's lines
  double altoEncabezados = 0;
};

struct Bloque {
  enum class Tipo { Dia, Fila, TotalDia, Aviso, Resumen, Leyenda } tipo;
  double alto = 0;
  int fila = -1;  // Dia, Fila, TotalDia: the analysis
  int desde = 0;  // Fila: the first and past-the-last line painted
  int hasta = 0;
  bool sigue = false;  // Dia: the heading repeated on the next page
};

// A row's cells, each as the report's shaped texts hold it.
using Lineas = std::array<const std::vector<LineaFormada>*, kColumnasReporte>;

Medidas Medir(const ContenidoReporte& r, QPagedPaintDevice& d);

double AltoFila(const Medidas& m, int lineas);
int LineasDe(const Lineas& lineas);
// The summary's columns: the column's name, then its figures (two more when
// the values were judged).
double AnchoNombreResumen(const Medidas& m);
double AnchoCifraResumen(const Medidas& m);
// The legend of the marks, on the last page of a judged report.
double AltoLeyenda(const Medidas& m);

// The pages and what each one holds.
std::vector<std::vector<Bloque>> Paginar(const ContenidoReporte& r, const Medidas& m,
                                         const std::vector<Lineas>& lineas);

// The whole layout of a report for one resolution and page size: the
// measures, every distinct text broken (and shaped, when formar), each row's
// cells and the pages. Painted on any device of that resolution and size; the
// device it was made on may be gone. Made without shaping, it is plain data
// that painters on other threads read, each with texts of its own.
struct Disposicion {
  Disposicion(const ContenidoReporte& contenido, QPagedPaintDevice& d, bool formar);
  bool Sirve(const QPagedPaintDevice& d) const;

  int dpiX, dpiY, ancho, alto;
  Medidas m;
  TextosFormados textos;    // the body's, where lineas point
  TextosFormados marcados;  // the marked values', with their marks, in bold
  std::vector<Lineas> lineas;
  std::vector<std::vector<Bloque>> paginas;
};

}  // namespace reporte
