#pragma once
// The certificate of analysis of one analysis: what it says, built from the
// analysis's values, the quality limits and the one table of analysis
// columns, apart from its painting (hoja_certificado.h). Pure: the same
// analysis and limits give the same certificate.
//
// Every analysis column but the flour type, the time and the remarks is a
// row of its table. A value is judged by the limits of the flour type in
// force on the analysis's date: "Conforme" within them (a value in the
// warning band conforms), "No conforme" outside, "Sin especificación" with
// no limits for it; an empty value is left blank and not judged.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include "analisis/limites.h"

// The analysis as the sheet shows it.
struct AnalisisCertificado {
  QString empresa;
  QDate fecha;
  QString responsable;
  // Grid columns 1 to 11 at [indice - 1], numbers with the separator below.
  QStringList celdas;
};

struct RenglonCertificado {
  QString analisis;        // the column's title ("Humedad")
  QString valor;           // as the sheet shows it; empty when not measured
  QString unidad;          // from the column table
  QString especificacion;  // "máx. 15,0", "24 – 34"; empty without limits
  QString dictamen;        // "Conforme", "No conforme", "Sin especificación", ""
  Veredicto veredicto = Veredicto::SinJuicio;
  Lado lado = Lado::Ninguno;
};

struct Certificado {
  QString titulo;  // "Certificado de Análisis"
  QString empresa;
  QString tipoHarina;
  QString fecha;  // dd/MM/yyyy
  QString horario;
  QString responsable;
  QString observaciones;
  QList<RenglonCertificado> renglones;
  // True when some value was judged and none is out of its limits.
  bool cumple = false;
  // "El lote cumple la especificación", or "No cumple: HUMEDAD 15,3 (máx.
  // 15,0)" naming every value out, or why nothing could be judged.
  QString veredicto;
};

Certificado ArmarCertificado(const AnalisisCertificado& analisis, const QList<Limite>& limites,
                             const QString& separador);
