#pragma once
// The control chart of one analysis column for one flour type, ready to be
// shown or painted: the points read, their figures, the quality limit
// in force, and the two charts (individuals, moving range) made from them.
//
// The quality limits are the customer's and the control limits the
// process's: they are drawn apart, each in its own colour and dash, and
// named apart in the legend ("Especificación máx."/"Especificación mín." and
// "LCS"/"LCI"). Every figure shows two decimals with the operator's decimal
// separator.

#include <QPageLayout>
#include <QString>
#include <QStringList>
#include <optional>

#include "analisis/columnas.h"
#include "analisis/control.h"
#include "analisis/lector_control.h"
#include "analisis/limites.h"

class Conexion;
class QChart;
class QPagedPaintDevice;

struct DatosGrafico {
  PedidoControl pedido;
  const ColumnaAnalisis* columna = nullptr;
  std::optional<Limite> limite;  // in force on the last analysis's day
  Control control;
};

// Reads the points and the limits of the request (the column by its field).
// Throws Falla when the database cannot be read.
DatosGrafico LeerGrafico(Conexion& conexion, const PedidoControl& pedido);

// "Cenizas (g/100 g) · 0000 · últimos 60 análisis hasta el 15/03/2004".
QString SubtituloGrafico(const DatosGrafico& datos);

// The figures beside the chart, as pairs of name and text: "n", "Media",
// "Desvío estándar", "LC", "LCS", "LCI", and "Cp", "Cpk" when they exist.
QList<QPair<QString, QString>> FigurasGrafico(const DatosGrafico& datos, const QString& separador);

// The broken rules in words, one a line; "Ninguna regla de control rota."
// when there is none.
QStringList ReglasGrafico(const DatosGrafico& datos);

// New charts of the data; the caller owns them.
QChart* GraficoIndividuos(const DatosGrafico& datos);
QChart* GraficoRangos(const DatosGrafico& datos);

// The printed page: landscape A4, title, both charts, the figures and the
// broken rules.
QPageLayout PaginaGrafico();
void PintarGrafico(const DatosGrafico& datos, QPagedPaintDevice& destino);
