#pragma once
// Helpers of the report tests: analyses written by another station, the
// report tab reached and a range typed as the operator does, and the text of
// a PDF as pdftotext reads it.

#include <QString>

#include "sheet/frm_harina.h"
#include "soporte/entorno_prueba.h"

// One analysis of v_mv_zentalia; a null pointer is a Null value. fecha is a
// day (yyyy-MM-dd, stored at its midnight) or a moment.
struct Muestra {
  const char* fecha;
  const char* horario = nullptr;
  const char* tipo = nullptr;
  const char* humedad = nullptr;  // a number as SQL writes it
  const char* falling = nullptr;  // idem
  const char* observaciones = nullptr;
};

// Writes the analysis through the test's own connection; its key.
qint64 Sembrar(EntornoPrueba& entorno, const Muestra& muestra);

// The company name the report shows, in the configuration table.
void FijarEmpresa(EntornoPrueba& entorno, const QString& nombre);

// A click on the report tab.
void IrAlReporte(frmHarina& ventana);

// On the report tab: types the bounds (a text of blanks is pasted, as the date
// fields take no blank typed), moving on with Enter, then presses F6.
void PedirReporte(frmHarina& ventana, const QString& desde, const QString& hasta);

// The text of the PDF, laid out as on the page (pdftotext -layout); a text
// beginning with "<" when it could not be read.
QString TextoPdf(const QString& ruta);
