#include "report/exportacion.h"

#include <QDir>
#include <memory>

#include "analisis/lector_limites.h"
#include "report/analisis_reporte.h"
#include "report/exportar_csv.h"
#include "report/exportar_xlsx.h"
#include "report/formula_reporte.h"
#include "report/lib_reportes.h"
#include "services/lib_datos.h"
#include "services/operador.h"

std::vector<DestinoExportacion> DestinosDelIni() {
  std::vector<DestinoExportacion> destinos;
  const QString csv = LibReportes::Instancia().Salida(QStringLiteral("SalidaCsv"));
  if (!csv.isEmpty()) destinos.push_back({csv, FormatoExportacion::Csv});
  const QString xlsx = LibReportes::Instancia().Salida(QStringLiteral("SalidaXlsx"));
  if (!xlsx.isEmpty()) destinos.push_back({xlsx, FormatoExportacion::Xlsx});
  return destinos;
}

FormatoExportacion FormatoDeRuta(const QString& ruta) {
  return ruta.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive) ? FormatoExportacion::Csv
                                                                   : FormatoExportacion::Xlsx;
}

bool ExportarAnalisis(const QString& formula, const std::vector<DestinoExportacion>& destinos) {
  // A formula that cannot be read writes nothing.
  const std::optional<formula::Condicion> condicion = formula::LeerFormula(formula);
  ::Conexion& conexion = LibDatos::Instancia().Conexion();
  // An export waits for another station's lock as long as a report does.
  ::Conexion::EsperaLarga larga(conexion);
  const QString sql =
      condicion ? formula::CondicionSql(*condicion, conexion.dialecto()) : QString();
  Recordset cuenta = conexion.Execute(SentenciaCuenta(sql));
  const qint64 total = cuenta.Valor(0).toLongLong();
  cuenta.Close();

  // Reading the rows is one share of the work, writing each file another.
  const auto partes = static_cast<qint64>(destinos.size()) + 1;
  std::unique_ptr<Progreso> progreso =
      ElOperador().MostrarProgreso(QStringLiteral("Exportar análisis"),
                                   QStringLiteral("Exportando los análisis…"), partes * total + 1);
  std::optional<std::vector<AnalisisReporte>> analisis =
      LeerAnalisis(conexion, sql, [&](qint64 leidas) { return progreso->Avanzar(leidas); });
  if (!analisis) return false;
  bool xlsx = false;
  for (const DestinoExportacion& destino : destinos)
    xlsx = xlsx || destino.formato == FormatoExportacion::Xlsx;
  const QList<Limite> limites = xlsx ? LeerLimites(conexion) : QList<Limite>();

  qint64 hecho = total;
  for (const DestinoExportacion& destino : destinos) {
    const auto avanzar = [&, desde = hecho](qint64 escritas) {
      return progreso->Avanzar(desde + escritas);
    };
    const bool escrito = destino.formato == FormatoExportacion::Csv
                             ? GuardarCsv(destino.ruta, *analisis, FormatoCsvDelOperador(), avanzar)
                             : GuardarXlsx(destino.ruta, *analisis, limites, avanzar);
    if (!escrito) return false;
    hecho += total;
    ElOperador().Informar(QStringLiteral("%1 análisis exportados a %2")
                              .arg(analisis->size())
                              .arg(QDir::toNativeSeparators(destino.ruta)));
  }
  return true;
}
