// frmHarina: the export of the report's analyses to spreadsheet files.

#include <QDir>
#include <QLineEdit>
#include <QStandardPaths>

#include "report/exportacion.h"
#include "services/fechas.h"
#include "services/operador.h"
#include "sheet/frm_harina.h"

namespace {

// "Analisis_2004-03-01" for a day, "Analisis_2004-03-01_2004-03-31" for a
// range: a name that sorts by date in a folder.
QString NombrePropuesto(const QStringList& dias) {
  QString nombre = QStringLiteral("Analisis");
  for (const QString& dia : dias) {
    const std::optional<QDate> fecha = fechas::LeerFecha(dia);
    if (fecha) nombre += QLatin1Char('_') + fecha->toString(Qt::ISODate);
  }
  return nombre + QStringLiteral(".xlsx");
}

}  // namespace

void frmHarina::Exportar() {
  const QString formula = FormulaDelReporte();
  std::vector<DestinoExportacion> destinos = DestinosDelIni();
  if (destinos.empty()) {
    const QStringList dias = PlanillaCargada
                                 ? QStringList{Campo(QStringLiteral("fecha"))->text()}
                                 : QStringList{Campo(QStringLiteral("FechaDesde"))->text(),
                                               Campo(QStringLiteral("FechaHasta"))->text()};
    // The documents folder where the desktop has one, else the home folder.
    QString carpeta = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QDir(carpeta).exists()) carpeta = QDir::homePath();
    const std::optional<QString> ruta = ElOperador().ElegirArchivo(
        QStringLiteral("Exportar análisis"), QDir(carpeta).filePath(NombrePropuesto(dias)),
        {QStringLiteral("Libro de Excel (*.xlsx)"),
         QStringLiteral("CSV, valores separados (*.csv)")});
    if (!ruta || ruta->trimmed().isEmpty()) return;
    destinos.push_back({*ruta, FormatoDeRuta(*ruta)});
  }
  ExportarAnalisis(formula, destinos);
}
