#include "report/lib_reportes.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

#include "analisis/lector_limites.h"
#include "report/analisis_reporte.h"
#include "report/formula_reporte.h"
#include "report/reporte_paralelo.h"
#include "report/reporte_zentalia.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/lib_ini.h"
#include "services/operador.h"

namespace {

const QString kZentalia = QStringLiteral("Rp_ZENTALIA");

QString Dia(const QDate& fecha) { return fecha.toString(QStringLiteral("dd/MM/yyyy")); }

// What the page header says was selected.
QString Seleccion(const std::optional<formula::Condicion>& condicion, const QString& texto) {
  if (!condicion) return QStringLiteral("Todos los análisis");
  const std::optional<formula::Rango> rango = formula::RangoDeFechas(*condicion);
  if (!rango) return QStringLiteral("Selección: ") + texto.simplified();
  if (rango->desde && rango->hasta) {
    if (*rango->desde == *rango->hasta) return QStringLiteral("Fecha: ") + Dia(*rango->desde);
    return QStringLiteral("Del %1 al %2").arg(Dia(*rango->desde), Dia(*rango->hasta));
  }
  if (rango->desde) return QStringLiteral("Desde el ") + Dia(*rango->desde);
  if (rango->hasta) return QStringLiteral("Hasta el ") + Dia(*rango->hasta);
  return QStringLiteral("Todos los análisis");
}

QString SinAnalisis(const std::optional<formula::Condicion>& condicion) {
  const std::optional<formula::Rango> rango =
      condicion ? formula::RangoDeFechas(*condicion) : std::nullopt;
  if (rango && rango->Vacio())
    return QStringLiteral("Sin análisis: la fecha desde (%1) es posterior a la fecha hasta (%2).")
        .arg(Dia(*rango->desde), Dia(*rango->hasta));
  return QStringLiteral("Sin análisis para esta selección.");
}

}  // namespace

LibReportes& LibReportes::Instancia() {
  static LibReportes reportes;
  return reportes;
}

QString LibReportes::Salida(const QString& clave) const {
  QString salida =
      LibIni::Instancia()
          .LeerValor(QStringLiteral("RO000za.INI"), QStringLiteral("Reportes"), clave, QString())
          .trimmed();
  if (!salida.isEmpty() && QFileInfo(salida).isRelative())
    salida = QDir(RutaAplicacion).absoluteFilePath(salida);
  return salida;
}

bool LibReportes::EmitirReporte(const QString& Reporte, const QStringList& Parametros,
                                const QString& Formula, const QString& Conexion, QString& Formula1,
                                QString& Formula2, QString& Formula3, const QVariant& /*Opcional1*/,
                                const QVariant& /*Opcional2*/, const QString& /*Texto1*/,
                                const QString& /*Texto2*/, const QString& /*Texto3*/) {
  ultima_ = {Reporte, Parametros, Formula, Conexion, {Formula1, Formula2, Formula3}};
  if (Reporte.trimmed().compare(kZentalia, Qt::CaseInsensitive) != 0)
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("El reporte «%1» no existe.").arg(Reporte.trimmed()));

  // Everything is read and checked before a row is: a formula that cannot be
  // read prints nothing.
  const std::optional<formula::Condicion> condicion = formula::LeerFormula(Formula);
  ContenidoReporte contenido;
  contenido.titulo = QStringLiteral("Análisis de Harina");
  for (const QString* texto : {&Formula1, &Formula2, &Formula3}) {
    if (texto->trimmed().isEmpty()) continue;
    const std::optional<formula::Asignacion> asignacion = formula::LeerAsignacion(*texto);
    if (!asignacion)
      throw Falla(Falla::kArgumentoInvalido,
                  QStringLiteral("La fórmula «%1» del reporte no es de la forma nombre = 'texto'.")
                      .arg(*texto));
    if (asignacion->nombre.compare(QLatin1String("empresa"), Qt::CaseInsensitive) == 0)
      contenido.empresa = asignacion->valor.trimmed();
    else if (asignacion->nombre.compare(QLatin1String("NOMBREREP"), Qt::CaseInsensitive) == 0)
      contenido.titulo = asignacion->valor.trimmed();
  }
  contenido.seleccion = Seleccion(condicion, Formula);
  contenido.sinAnalisis = SinAnalisis(condicion);
  contenido.resumen = OpcionB;
  contenido.diaPorPagina = OpcionC;
  const QString salida = Salida(QStringLiteral("Salida"));

  ::Conexion& conexion = LibDatos::Instancia().Conexion();
  // The report may wait for another station's lock as long as a report
  // takes; the operator asked for a long task.
  ::Conexion::EsperaLarga larga(conexion);
  const QString sql =
      condicion ? formula::CondicionSql(*condicion, conexion.dialecto()) : QString();
  Recordset cuenta = conexion.Execute(SentenciaCuenta(sql));
  const qint64 total = cuenta.Valor(0).toLongLong();
  cuenta.Close();

  // Reading the rows is the first half of the work, painting them the second.
  std::unique_ptr<Progreso> progreso = ElOperador().MostrarProgreso(
      QStringLiteral("Reporte de análisis"), QStringLiteral("Preparando el reporte de análisis…"),
      2 * total + 1);
  std::optional<std::vector<AnalisisReporte>> analisis =
      LeerAnalisis(conexion, sql, [&](qint64 leidas) { return progreso->Avanzar(leidas); });
  if (!analisis) return false;
  contenido.analisis = std::move(*analisis);
  // Each analysis is judged by the limits of its own day: the report of a
  // past month shows what was out then.
  const QList<Limite> limites = LeerLimites(conexion);
  contenido.juzgado = !limites.isEmpty();
  JuzgarAnalisis(contenido.analisis, limites);
  contenido.impreso = QDateTime::currentDateTime();
  const auto pintando = [&](qint64 pintadas) { return progreso->Avanzar(total + pintadas); };

  if (!salida.isEmpty()) {
    if (!GuardarReportePdf(contenido, salida, PaginaReporte(), pintando)) return false;
    ElOperador().Informar(QStringLiteral("Reporte guardado en %1").arg(salida));
    return true;
  }
  if (OpcionA) {
    progreso.reset();
    // The preview and its printing paint one layout; the PDF saved from it
    // is painted by several threads, as the unattended one.
    ReporteDispuesto dispuesto(contenido);
    ElOperador().VistaPrevia(
        contenido.titulo, PaginaReporte(),
        [&](QPagedPaintDevice& destino) { dispuesto.Pintar(destino, [](qint64) { return true; }); },
        [&](const QString& ruta, const QPageLayout& pagina) {
          return GuardarReportePdf(contenido, ruta, pagina, [](qint64) { return true; });
        });
    return true;
  }
  const QPrinterInfo predeterminada = QPrinterInfo::defaultPrinter();
  if (predeterminada.isNull())
    throw Falla(Falla::kArchivo,
                QStringLiteral("No hay una impresora predeterminada donde imprimir el reporte."));
  QPrinter impresora(predeterminada, QPrinter::HighResolution);
  impresora.setPageLayout(PaginaReporte());
  impresora.setDocName(contenido.titulo);
  return PintarReporte(contenido, impresora, pintando);
}
