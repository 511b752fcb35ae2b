#pragma once
// LibReportes: the report engine. EmitirReporte makes the report its first
// argument names, from the rows of the session's connection that its
// selection formula selects; "Rp_ZENTALIA", the analysis report, is built
// into the program (report/reporte_zentalia.h).
//
// The settings, read at each launch:
//  - OpcionA  on: the report opens in the print preview, from which the
//             operator prints it or saves it as PDF; off: it goes straight to
//             the system's default printer.
//  - OpcionB  on: the report ends with its summary (count, mean, minimum and
//             maximum of each number column).
//  - OpcionC  on: every day of analyses starts a new page.
//  - RutaAplicacion: the program's folder; a relative output path is taken
//             from it.
// The sheet window launches with OpcionA and OpcionB on and OpcionC off.
//
// Unattended use: key "Salida" of section "Reportes" of RO000za.INI, a PDF
// path. When it is set the report is written there instead of being shown or
// printed; an existing file is replaced only by a complete report, and the
// operator is told where it was written (Operador::Informar).

#include <QString>
#include <QStringList>
#include <QVariant>

// A launch as EmitirReporte received it.
struct SolicitudReporte {
  QString reporte;
  QStringList parametros;
  QString formula;
  QString conexion;
  QStringList asignaciones;
};

class LibReportes {
 public:
  static LibReportes& Instancia();

  QString RutaAplicacion;
  bool OpcionA = true;
  bool OpcionB = true;
  bool OpcionC = false;

  // Makes the report. Formula is the selection formula (formula_reporte.h;
  // empty: every row); Formula1 to Formula3 are formula assignments
  // "name = 'text'": "empresa" and "NOMBREREP" are the company and the title
  // of the page header, any other name is not shown. The report's rows are
  // read on the session's connection: Conexion, Parametros, the two optional
  // values and the three texts are kept with the request (UltimaSolicitud) but
  // change nothing in the report.
  //
  // Returns true when the report was shown, printed or written, false when
  // the operator cancelled it while it was being made (nothing printed, no
  // file written). Throws Falla, with nothing printed or written:
  // kArgumentoInvalido for a report that does not exist, or a formula or
  // assignment that cannot be read (the message quotes it); kConexion or
  // kBaseDeDatos when the rows cannot be read, also halfway; kArchivo when
  // the PDF cannot be written or there is no printer.
  bool EmitirReporte(const QString& Reporte, const QStringList& Parametros, const QString& Formula,
                     const QString& Conexion, QString& Formula1, QString& Formula2,
                     QString& Formula3, const QVariant& Opcional1 = {},
                     const QVariant& Opcional2 = {}, const QString& Texto1 = {},
                     const QString& Texto2 = {}, const QString& Texto3 = {});

  // The PDF path of a key of section "Reportes" of RO000za.INI (a relative
  // one taken from RutaAplicacion); empty when the key is not set.
  QString Salida(const QString& clave) const;

  // The latest launch, whatever came of it.
  const SolicitudReporte& UltimaSolicitud() const { return ultima_; }

 private:
  SolicitudReporte ultima_;
};
