// bench_exportar: the export of one year of analyses (7,300, from a table of
// three years) to CSV and to XLSX, each against the bare forward-only
// QSqlQuery of the export's own statement reading every field (goals: CSV at
// most 3x, XLSX at most 10x). Medians of rounds that alternate the order.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "report/analisis_reporte.h"
#include "report/exportacion.h"
#include "report/exportar_csv.h"
#include "report/exportar_xlsx.h"
#include "report/formula_reporte.h"
#include "services/carpetas.h"
#include "services/lib_datos.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"

#include "medicion.h"

namespace {

constexpr int kAnalisisDelAnio = 365 * 20;
const QString kFormula = QStringLiteral(
    "{V_MV_ZENTALIA.FECHA} >= Date(2003,01,01) AND  {V_MV_ZENTALIA.FECHA} <= Date(2003,12,31)");

QSqlDatabase Base() { return LibDatos::Instancia().Conexion().Base(); }

// Three years of days, 2002 to 2004, twenty analyses each, and the limits of
// each flour type, so that the XLSX judges every value.
void Llenar() {
  QSqlDatabase base = Base();
  if (!base.transaction()) Abortar(base.lastError().text());
  LlenarTresAnios(base, QStringLiteral("Muestra repetida a pedido del jefe de turno: la primera "
                                       "medición; de gluten \"húmedo\" salió fuera de rango"));
  QSqlQuery limites(base);
  if (!limites.exec(QStringLiteral(
          "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, "
          "aviso_maximo, vigente_desde) VALUES ('000', 'HUMEDAD', NULL, 14.3, NULL, 14.2, "
          "'2002-01-01'), ('0000', 'HUMEDAD', NULL, 14.2, NULL, NULL, '2003-06-01'), "
          "('000', 'FALLINGNUMBER', 305, 400, NULL, NULL, '2002-01-01'), "
          "('Integral', 'CENIZAS', NULL, 0.57, NULL, NULL, '2002-01-01')")))
    Abortar(limites.lastError().text());
  if (!base.commit()) Abortar(base.lastError().text());
  QSqlQuery(base).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

double Exportar(const QString& ruta, FormatoExportacion formato) {
  QFile::remove(ruta);
  QElapsedTimer reloj;
  reloj.start();
  if (!ExportarAnalisis(kFormula, {{ruta, formato}}))
    Abortar(QStringLiteral("la exportación se canceló"));
  const double ms = reloj.nsecsElapsed() / 1e6;
  if (!QFileInfo(ruta).isFile() || QFileInfo(ruta).size() < 100000)
    Abortar(QStringLiteral("la exportación no escribió %1").arg(ruta));
  return ms;
}

double ConsultaPura(const QString& sql) {
  QElapsedTimer reloj;
  reloj.start();
  QSqlQuery consulta(Base());
  consulta.setForwardOnly(true);
  if (!consulta.exec(sql)) Abortar(consulta.lastError().text());
  const int columnas = consulta.record().count();
  int filas = 0;
  qint64 nulos = 0;
  while (consulta.next()) {
    ++filas;
    for (int c = 0; c < columnas; ++c) nulos += consulta.value(c).isNull() ? 1 : 0;
  }
  const double ms = reloj.nsecsElapsed() / 1e6;
  if (filas != kAnalisisDelAnio || nulos != kAnalisisDelAnio * 4 / 5)
    Abortar(QStringLiteral("la consulta pura leyó %1 filas, %2 nulos").arg(filas).arg(nulos));
  return ms;
}

// The parts of an export: reading the rows, then writing each file from them.
struct Partes {
  double lectura, csv, xlsx;
};
Partes MedirPartes(const QString& sql, const QString& carpeta) {
  const QString condicion = sql.mid(sql.indexOf(QLatin1String(" WHERE ")) + 7)
                                .section(QStringLiteral(" ORDER BY "), 0, 0);
  const auto siempre = [](qint64) { return true; };
  QElapsedTimer reloj;
  reloj.start();
  const auto filas = LeerAnalisis(LibDatos::Instancia().Conexion(), condicion, siempre);
  const double lectura = reloj.nsecsElapsed() / 1e6;
  if (!filas || filas->size() != std::size_t(kAnalisisDelAnio))
    Abortar(QStringLiteral("la lectura no leyó el año"));
  reloj.restart();
  GuardarCsv(carpeta + QStringLiteral("/partes.csv"), *filas, FormatoCsvDelOperador(), siempre);
  const double csv = reloj.nsecsElapsed() / 1e6;
  reloj.restart();
  GuardarXlsx(carpeta + QStringLiteral("/partes.xlsx"), *filas, {}, siempre);
  return {lectura, csv, reloj.nsecsElapsed() / 1e6};
}

// Both measures of a round, the order alternated from one round to the next.
std::pair<double, double> Ronda(int i, const std::function<double()>& programa,
                                const std::function<double()>& piso) {
  if (i % 2 == 0) {
    const double a = programa();
    return {a, piso()};
  }
  const double b = piso();
  return {programa(), b};
}

void Imprimir(const char* que, const std::vector<double>& programa, const std::vector<double>& piso,
              double meta) {
  const double e = Mediana(programa);
  const double p = Mediana(piso);
  std::printf("  exportar a %-4s                        %9.1f ms\n", que, e);
  std::printf("  QSqlQuery pura, misma sentencia        %9.1f ms\n", p);
  std::printf("  razón                                  %9.1fx  (meta: <= %.0fx) %s\n", e / p, meta,
              e / p <= meta ? "cumple" : "NO CUMPLE");
}

}  // namespace

int main(int argc, char* argv[]) {
  QTemporaryDir carpeta;
  PrepararMedicion("bench_exportar", carpeta);
  QApplication aplicacion(argc, argv);
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  const int vueltas = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 15;
  FijarParametros(QStringLiteral("@DbName=%1;@UsuarioLogeado=bench;")
                      .arg(carpeta.filePath(QStringLiteral("anio.sqlite"))));
  if (!IniciarSesion() || !LibDatos::Instancia().Conectado())
    Abortar(QStringLiteral("no se pudo abrir la sesión"));
  QElapsedTimer llenado;
  llenado.start();
  Llenar();
  std::printf("tabla de %d análisis llenada en %.1f s\n\n", 3 * kAnalisisDelAnio,
              llenado.nsecsElapsed() / 1e9);

  const QString sql = SentenciaAnalisis(formula::CondicionSql(
      *formula::LeerFormula(kFormula), LibDatos::Instancia().Conexion().dialecto()));
  const QString csv = carpeta.filePath(QStringLiteral("anio.csv"));
  const QString xlsx = carpeta.filePath(QStringLiteral("anio.xlsx"));
  // One warm-up of each: the engine's cache, the library's first use.
  Exportar(csv, FormatoExportacion::Csv);
  Exportar(xlsx, FormatoExportacion::Xlsx);
  ConsultaPura(sql);
  std::vector<double> aCsv, aXlsx, pisoCsv, pisoXlsx, lectura, escrituraCsv, escrituraXlsx;
  for (int i = 0; i < vueltas; ++i) {
    const Partes partes = MedirPartes(sql, carpeta.path());
    lectura.push_back(partes.lectura);
    escrituraCsv.push_back(partes.csv);
    escrituraXlsx.push_back(partes.xlsx);
    const auto [c, pc] = Ronda(
        i, [&] { return Exportar(csv, FormatoExportacion::Csv); },
        [&] { return ConsultaPura(sql); });
    const auto [x, px] = Ronda(
        i + 1, [&] { return Exportar(xlsx, FormatoExportacion::Xlsx); },
        [&] { return ConsultaPura(sql); });
    aCsv.push_back(c);
    pisoCsv.push_back(pc);
    aXlsx.push_back(x);
    pisoXlsx.push_back(px);
  }
  std::printf("exportación de un año (%d análisis), mediana de %d vueltas\n", kAnalisisDelAnio,
              vueltas);
  Imprimir("CSV", aCsv, pisoCsv, 3);
  Imprimir("XLSX", aXlsx, pisoXlsx, 10);
  std::printf(
      "  de ello: la lectura de las filas %.1f ms, escribir el CSV %.1f ms, el XLSX %.1f "
      "ms (sin límites)\n",
      Mediana(lectura), Mediana(escrituraCsv), Mediana(escrituraXlsx));
  std::printf("  archivos: CSV %.1f MB, XLSX %.1f MB\n", QFileInfo(csv).size() / 1048576.0,
              QFileInfo(xlsx).size() / 1048576.0);
  return 0;
}
