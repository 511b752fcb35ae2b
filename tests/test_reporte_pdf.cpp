// The analysis report as the lab reads it: PDFs written through the INI key
// "Salida" (or painted from the preview) and read back with pdftotext. What is
// in them, what is not, the summary's figures, many pages, long remarks, an
// empty selection, cancelling, and a database that fails halfway. Runs on
// SQLite and on PostgreSQL.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

#include "report/lib_reportes.h"
#include "report/reporte_paralelo.h"
#include "services/falla.h"
#include "soporte/reporte_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

// A started window whose reports go to salida.pdf in the test's folder.
struct VentanaConSalida : VentanaIniciada {
  QString salida;
  VentanaConSalida() {
    salida = entorno.Carpeta() + "/reportes/salida.pdf";
    entorno.EscribirIni("[Reportes]\nSalida=" + salida + "\n");
  }
};

int Veces(const QString& texto, const QString& parte) {
  return static_cast<int>(texto.count(parte));
}

// The pages "Página n de m" found, as "n/m".
QStringList Paginas(const QString& texto) {
  QStringList paginas;
  static const QRegularExpression pagina("Página (\\d+) de (\\d+)");
  for (const auto& m : pagina.globalMatch(texto)) paginas << m.captured(1) + "/" + m.captured(2);
  return paginas;
}

// cuantas analyses of flour 000 written in one statement, each with its own
// remark "Muestra-1000", "Muestra-1001"…; dia is the SQL text of the n-th
// one's date.
void SembrarMuestras(EntornoPrueba& e, int cuantas, const QString& dia) {
  const QString ultima = QString::number(cuantas - 1);
  const QString serie = e.EsPostgresql()
                            ? "SELECT generate_series(0, " + ultima + ") AS n"
                            : "WITH RECURSIVE s(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM s "
                              "WHERE n < " +
                                  ultima + ") SELECT n FROM s";
  e.Ejecutar(
      "INSERT INTO v_mv_zentalia (Fecha, HORARIO, tipo_harina, HUMEDAD, OBSERVACIONES) "
      "SELECT " +
      (e.EsPostgresql() ? "CAST(" + dia + " AS TIMESTAMP)" : dia) +
      ", '08:00:00', '000', 14, 'Muestra-' || (1000 + n) FROM (" + serie + ") AS serie");
}

bool Lanzar(const QString& formula) {
  QString empresa = "empresa = 'Molino'";
  QString nombre = "NOMBREREP= 'Análisis de Harina'";
  QString parametros = "Parametros = ''";
  return LibReportes::Instancia().EmitirReporte("Rp_ZENTALIA", {"", ""}, formula, "", empresa,
                                                nombre, parametros);
}

}  // namespace

class PruebaReportePdf : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void rangoEnPdf();
  void vistaPreviaDelDiaCargado();
  void muchasPaginas();
  void guardarDesdeLaVistaPrevia();
  void observacionesLargasNoSeCortan();
  void sinAnalisis_data();
  void sinAnalisis();
  void opciones();
  void cabeceraLarga();
  void pedidoIlegible_data();
  void pedidoIlegible();
  void cancelar_data();
  void cancelar();
  void baseQueFallaAMitad();
};

void PruebaReportePdf::rangoEnPdf() {
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  FijarEmpresa(e, "Molino Harinero La Espiga S.A.");
  Sembrar(e, {"2004-02-29", "08:00:00", "000", "13.1", "280", "Fuera-antes"});
  Sembrar(e, {"2004-03-01", "09:15:00", "0000", "14.5", "320", "Dentro-dos"});
  Sembrar(e, {"2004-03-01", "07:30:00", "000", "14.2", "300", "Dentro-uno"});
  Sembrar(e, {"2004-03-31", "10:00:00", "Integral", "15.1", "340", "Dentro-tres"});
  Sembrar(e, {"2004-04-01", "08:00:00", "000", "16.3", "390", "Fuera-despues"});
  // Blank rows a station left in the range are no analyses: not counted.
  Sembrar(e, {"2004-03-01"});
  Sembrar(e, {"2004-03-15"});
  PedirReporte(v.ventana, "01/03/2004", "31/03/2004");
  QCOMPARE(e.operador().preguntas.size(), 0);
  const QString texto = TextoPdf(v.salida);
  QVERIFY2(texto.contains("Molino Harinero La Espiga S.A."), qPrintable(texto));
  QVERIFY(texto.contains("Análisis de Harina"));
  QVERIFY(texto.contains("Del 01/03/2004 al 31/03/2004"));
  QVERIFY(texto.contains("Fecha: 01/03/2004 (Lunes)"));
  QVERIFY(texto.contains("Fecha: 31/03/2004 (Miércoles)"));
  QVERIFY(texto.indexOf("Dentro-uno") < texto.indexOf("Dentro-dos"));  // by time
  QVERIFY(texto.indexOf("Dentro-dos") < texto.indexOf("Dentro-tres"));
  QVERIFY(!texto.contains("Fuera"));
  QVERIFY(!texto.contains("13,1"));
  QVERIFY(!texto.contains("16,3"));
  // A row as the sheet shows it.
  QVERIFY2(QRegularExpression("07:30:00\\s+300\\s+14,2\\s+Dentro-uno").match(texto).hasMatch(),
           qPrintable(texto));
  QCOMPARE(Veces(texto, "Análisis del día: 2"), 1);
  QCOMPARE(Veces(texto, "Análisis del día: 1"), 1);
  QVERIFY(texto.contains("Resumen: 3 análisis en 2 días"));
  QVERIFY(!texto.contains("Fecha: 15/03/2004"));
  QVERIFY2(QRegularExpression("Humedad\\s+3\\s+14,60\\s+14,2\\s+15,1").match(texto).hasMatch(),
           qPrintable(texto));
  QVERIFY(QRegularExpression("Falling number\\s+3\\s+320,0\\s+300\\s+340").match(texto).hasMatch());
  QVERIFY(QRegularExpression("Cenizas\\s+0\\s*\\n").match(texto).hasMatch());
  QCOMPARE(Paginas(texto), QStringList({"1/1"}));
  if (qEnvironmentVariableIsSet("PRUEBA_CAPTURAS"))
    QFile::copy(v.salida, qEnvironmentVariable("PRUEBA_CAPTURAS") + "/reporte.pdf");
}

void PruebaReportePdf::vistaPreviaDelDiaCargado() {
  // A station with English regional settings still gets Spanish day names.
  QLocale::setDefault(QLocale::c());
  const auto restaurar =
      qScopeGuard([] { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); });
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, {"2004-03-14", "08:00:00", "000", nullptr, nullptr, "Otro-dia"});
  Sembrar(e, {"2004-03-15", "08:00:00", "000", "14.5", nullptr, "El-dia"});
  e.operador().rutaVistaPrevia = e.Carpeta() + "/vista.pdf";
  v.ventana.txtFields[2]->setText("01/01/2004");
  CargarDia(v.ventana, "15/03/2004");
  Tecla(Qt::Key_F6);
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas[0].tipo, QStringLiteral("vista previa"));
  const QString texto = TextoPdf(e.operador().rutaVistaPrevia);
  QVERIFY2(texto.contains("Fecha: 15/03/2004 (Lunes)"), qPrintable(texto));
  QVERIFY(texto.contains("El-dia"));
  QVERIFY(!texto.contains("Otro-dia"));
  QVERIFY(texto.contains("Laboratorio de Calidad"));  // the schema's company name
  QVERIFY(texto.contains("Resumen: 1 análisis en 1 día"));
}

void PruebaReportePdf::muchasPaginas() {
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  // 150 analyses over five days.
  SembrarMuestras(e, 150, "'2004-05-0' || (1 + n / 30) || ' 00:00:00'");
  PedirReporte(v.ventana, "", "");
  QCOMPARE(e.operador().preguntas.size(), 0);
  const QString texto = TextoPdf(v.salida);
  const QStringList paginas = Paginas(texto);
  QVERIFY2(paginas.size() > 2, qPrintable(paginas.join(' ')));
  for (int i = 0; i < paginas.size(); ++i)
    QCOMPARE(paginas[i], QStringLiteral("%1/%2").arg(i + 1).arg(paginas.size()));
  // Every analysis once, none lost between two pages, none painted twice.
  for (int n = 0; n < 150; ++n) QCOMPARE(Veces(texto, QString("Muestra-%1").arg(1000 + n)), 1);
  QCOMPARE(Veces(texto, "Análisis del día: 30"), 5);
  QVERIFY(texto.contains("(continúa)"));
  QVERIFY(texto.contains("Todos los análisis"));
  QVERIFY(texto.contains("Resumen: 150 análisis en 5 días"));
  QVERIFY(e.operador().avanceMaximo >= 2 * 150);  // progress was told to the end
  if (qEnvironmentVariableIsSet("PRUEBA_CAPTURAS"))
    QFile::copy(v.salida, qEnvironmentVariable("PRUEBA_CAPTURAS") + "/reporte_paginas.pdf");
}

// "Guardar PDF…" in the preview writes the pages the preview shows, painted by
// several threads where the machine has the cores.
void PruebaReportePdf::guardarDesdeLaVistaPrevia() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  SembrarMuestras(e, 600, "'2004-05-' || (10 + n / 30) || ' 00:00:00'");
  e.operador().rutaVistaPrevia = e.Carpeta() + "/vista.pdf";
  e.operador().rutaGuardarPdf = e.Carpeta() + "/guardado/reporte.pdf";
  PedirReporte(v.ventana, "", "");
  QCOMPARE(e.operador().guardados, 1);
  const QString vista = TextoPdf(e.operador().rutaVistaPrevia);
  const QStringList paginas = Paginas(vista);
  QVERIFY2(paginas.size() >= 16, qPrintable(paginas.join(' ')));
  QCOMPARE(TextoPdf(e.operador().rutaGuardarPdf), vista);
  // Each thread's part brings its own fonts.
  const auto fuentes = [](const QString& ruta) {
    QProcess lector;
    lector.start("pdffonts", {ruta});
    lector.waitForFinished(60000);
    return static_cast<int>(QString::fromUtf8(lector.readAllStandardOutput()).count("DejaVu"));
  };
  QVERIFY(fuentes(e.operador().rutaVistaPrevia) > 0);
  QCOMPARE(fuentes(e.operador().rutaGuardarPdf),
           HilosDelReporte(paginas.size()) * fuentes(e.operador().rutaVistaPrevia));
  QCOMPARE(QDir(e.Carpeta() + "/guardado").entryList(QDir::Files | QDir::Hidden),
           QStringList{"reporte.pdf"});
}

void PruebaReportePdf::observacionesLargasNoSeCortan() {
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  // One remark of a few lines, and one longer than a whole page.
  QStringList corta, larga;
  for (int i = 0; i < 40; ++i) corta << QString("corta%1").arg(i, 3, 10, QChar('0'));
  for (int i = 0; i < 1500; ++i) larga << QString("larga%1").arg(i, 4, 10, QChar('0'));
  Sembrar(e, {"2004-03-01", "08:00:00", "000", "14", nullptr, qPrintable(corta.join(' '))});
  Sembrar(e, {"2004-03-02", "08:00:00", "000", "14", nullptr, qPrintable(larga.join(' '))});
  // Lines of its own, and a word wider than the column.
  const QString palabra = QString("x").repeated(150) + "FIN";
  const QString renglones = "Primera-linea\nSegunda-linea\r\n\n" + palabra;
  Sembrar(e, {"2004-03-03", "08:00:00", "000", "14", nullptr, qPrintable(renglones)});
  Sembrar(e, {"2004-03-04", "08:00:00", "000", "14", nullptr, "Despues-de-la-larga"});
  PedirReporte(v.ventana, "", "");
  const QString texto = TextoPdf(v.salida);
  for (const QString& palabra : corta + larga) QCOMPARE(Veces(texto, palabra), 1);
  QVERIFY(Paginas(texto).size() >= 3);
  QVERIFY(texto.indexOf("larga1499") < texto.indexOf("Despues-de-la-larga"));
  QVERIFY(texto.indexOf("Primera-linea") < texto.indexOf("Segunda-linea"));
  QString seguido = texto;
  seguido.remove(QRegularExpression("\\s"));
  QCOMPARE(Veces(seguido, palabra), 1);
}

void PruebaReportePdf::sinAnalisis_data() {
  QTest::addColumn<QString>("desde");
  QTest::addColumn<QString>("hasta");
  QTest::addColumn<QString>("dice");
  QTest::newRow("base vacía") << ""
                              << ""
                              << "Sin análisis para esta selección.";
  QTest::newRow("rango sin análisis") << "01/01/2003"
                                      << "31/01/2003"
                                      << "Sin análisis para esta selección.";
  QTest::newRow("rango al revés")
      << "31/03/2004"
      << "01/03/2004"
      << "Sin análisis: la fecha desde (31/03/2004) es posterior a la fecha hasta (01/03/2004).";
}

void PruebaReportePdf::sinAnalisis() {
  QFETCH(QString, desde);
  QFETCH(QString, hasta);
  QFETCH(QString, dice);
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  if (!desde.isEmpty()) Sembrar(v.entorno, {"2004-03-15", "08:00:00", "000", "14", nullptr, "X1"});
  PedirReporte(v.ventana, desde, hasta);
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);  // no error
  const QString texto = TextoPdf(v.salida);
  QVERIFY2(texto.contains(dice), qPrintable(texto));
  QVERIFY(!texto.contains("X1"));
  QVERIFY(!texto.contains("Resumen"));
  QCOMPARE(Paginas(texto), QStringList({"1/1"}));
}

void PruebaReportePdf::opciones() {
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  for (const char* dia : {"2004-03-01", "2004-03-02", "2004-03-03"})
    Sembrar(v.entorno, {dia, "08:00:00", "000", "14"});
  LibReportes& reportes = LibReportes::Instancia();
  reportes.OpcionB = false;  // no summary
  reportes.OpcionC = true;   // a page per day
  QVERIFY(Lanzar(""));
  const QString texto = TextoPdf(v.salida);
  QVERIFY(!texto.contains("Resumen"));
  QCOMPARE(Paginas(texto), QStringList({"1/3", "2/3", "3/3"}));
  const qsizetype segunda = texto.indexOf("Página 1 de 3");
  QVERIFY(texto.indexOf("Fecha: 02/03/2004") > segunda);
  // A relative output path is taken from the program's folder.
  v.entorno.EscribirIni("[Reportes]\nSalida=relativo.pdf\n");
  reportes.RutaAplicacion = v.entorno.CarpetaPrograma();
  reportes.OpcionB = true;
  reportes.OpcionC = false;
  QVERIFY(Lanzar("{v_mv_zentalia.fecha} = Date(2004,3,2)"));
  const QString relativo = TextoPdf(v.entorno.CarpetaPrograma() + "/relativo.pdf");
  QVERIFY2(relativo.contains("Fecha: 02/03/2004"), qPrintable(relativo));
  QVERIFY(!relativo.contains("01/03/2004"));
  QCOMPARE(Paginas(relativo), QStringList({"1/1"}));
}

void PruebaReportePdf::cabeceraLarga() {
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  Sembrar(v.entorno, {"2004-03-02", "08:00:00", "000", "14"});
  // A company name and a selection far wider than their place in the header.
  QStringList nombre, dias;
  for (int i = 1; i <= 12; ++i) nombre << QString("Molinero%1").arg(i);
  for (int d = 1; d <= 28; ++d) dias << QString("{v_mv_zentalia.fecha} = Date(2004,3,%1)").arg(d);
  const QString formula = dias.join(" OR ");
  QString empresa = "empresa = '" + nombre.join(' ') + "'";
  QString titulo = "NOMBREREP= 'Análisis de Harina'", parametros;
  QVERIFY(LibReportes::Instancia().EmitirReporte("Rp_ZENTALIA", {"", ""}, formula, "", empresa,
                                                 titulo, parametros));
  const QString texto = TextoPdf(v.salida);
  for (const QString& palabra : nombre) QCOMPARE(Veces(texto, palabra + " "), 1);
  QString seguido = texto;
  seguido.remove(QRegularExpression("\\s"));
  QString esperado = "Selección: " + formula;
  esperado.remove(QRegularExpression("\\s"));
  QVERIFY2(seguido.contains(esperado), qPrintable(texto));
  QCOMPARE(Paginas(texto), QStringList({"1/1"}));
}

void PruebaReportePdf::pedidoIlegible_data() {
  QTest::addColumn<QString>("reporte");
  QTest::addColumn<QString>("formula");
  QTest::addColumn<QString>("mensaje");
  QTest::newRow("reporte que no existe") << "Rp_OTRO"
                                         << ""
                                         << "El reporte «Rp_OTRO» no existe.";
  QTest::newRow("fórmula ilegible") << "rp_zentalia"
                                    << "{V_MV_ZENTALIA.FECHA} >= Date(2004,3"
                                    << "«{V_MV_ZENTALIA.FECHA} >= Date(2004,3»";
  QTest::newRow("campo que no existe") << "Rp_ZENTALIA"
                                       << "{V_MV_ZENTALIA.PESO} > 1"
                                       << "«{V_MV_ZENTALIA.PESO} > 1»";
}

void PruebaReportePdf::pedidoIlegible() {
  QFETCH(QString, reporte);
  QFETCH(QString, formula);
  QFETCH(QString, mensaje);
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  Sembrar(v.entorno, {"2004-03-15", "08:00:00", "000", "14"});
  QString empresa = "empresa = 'Molino'", nombre, parametros;
  try {
    LibReportes::Instancia().EmitirReporte(reporte, {"", ""}, formula, "", empresa, nombre,
                                           parametros);
    QFAIL("el reporte se hizo");
  } catch (const Falla& falla) {
    QCOMPARE(falla.Codigo(), int(Falla::kArgumentoInvalido));
    QVERIFY2(falla.Mensaje().contains(mensaje), qPrintable(falla.Mensaje()));
  }
  QVERIFY(!QFile::exists(v.salida));
  QCOMPARE(v.entorno.operador().progresos, 0);  // refused before reading
}

void PruebaReportePdf::cancelar_data() {
  QTest::addColumn<int>("en");  // the progress value at which the operator cancels
  QTest::newRow("leyendo") << 3;
  QTest::newRow("pintando") << 45;  // 40 read, then the first page
}

void PruebaReportePdf::cancelar() {
  QFETCH(int, en);
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  for (int i = 0; i < 40; ++i) Sembrar(v.entorno, {"2004-03-15", "08:00:00", "000", "14"});
  EntornoPrueba::EscribirArchivo(v.salida, "el reporte de ayer");
  v.entorno.operador().cancelarEn = en;
  PedirReporte(v.ventana, "", "");
  QCOMPARE(v.entorno.operador().progresos, 1);
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);
  QFile anterior(v.salida);
  QVERIFY(anterior.open(QIODevice::ReadOnly));
  QCOMPARE(anterior.readAll(), QByteArray("el reporte de ayer"));
  QCOMPARE(QDir(v.entorno.Carpeta() + "/reportes").entryList(QDir::Files),
           QStringList({"salida.pdf"}));
}

void PruebaReportePdf::baseQueFallaAMitad() {
  VentanaConSalida v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  QList<qint64> claves;
  for (int i = 0; i < 6; ++i)
    claves << Sembrar(e, {"2004-03-15", "08:00:00", "000", "14", nullptr, "Fila"});
  // The analyses become a view whose fourth row fails when it is read (SQLite
  // fails between two rows; PostgreSQL hands over the rows at once and fails
  // the statement).
  const QString falla = e.EsPostgresql() ? QString("CAST(1 / (ID - %1) AS TEXT)").arg(claves[3])
                                         : QString("abs(ID - ID - 9223372036854775807 - 1)");
  e.Ejecutar("ALTER TABLE v_mv_zentalia RENAME TO base_zentalia");
  e.Ejecutar(QString("CREATE VIEW v_mv_zentalia AS SELECT ID, Fecha, responsable, fecha_alta, "
                     "fecha_modificacion, tipo_harina, HORARIO, HUMEDO, SECO, CARACT, "
                     "FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, CONTROLPESAJE, CASE WHEN ID = %1 "
                     "THEN %2 ELSE OBSERVACIONES END AS OBSERVACIONES FROM base_zentalia")
                 .arg(claves[3])
                 .arg(falla));
  EntornoPrueba::EscribirArchivo(v.salida, "el reporte de ayer");
  PedirReporte(v.ventana, "", "");
  const QList<Pregunta>& preguntas = e.operador().preguntas;
  QCOMPARE(preguntas.size(), 1);
  QCOMPARE(preguntas[0].tipo, QStringLiteral("avisar"));
  QVERIFY2(preguntas[0].texto.contains("REPORTE"), qPrintable(preguntas[0].texto));
  QFile anterior(v.salida);
  QVERIFY(anterior.open(QIODevice::ReadOnly));
  QCOMPARE(anterior.readAll(), QByteArray("el reporte de ayer"));
  QCOMPARE(QDir(e.Carpeta() + "/reportes").entryList(QDir::Files), QStringList({"salida.pdf"}));
}

QTEST_MAIN(PruebaReportePdf)
#include "test_reporte_pdf.moc"
