// The export of the report's analyses as the files a spreadsheet opens: the
// CSV read back byte for byte under a Spanish and an English station, the
// XLSX opened again and its cells read as a spreadsheet reads them, a
// cancelled export and a folder that cannot be written leaving nothing. Runs
// on SQLite and on PostgreSQL.

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTest>

#include "report/exportacion.h"
#include "report/exportar_xlsx.h"
#include "services/falla.h"
#include "soporte/entorno_prueba.h"
#include "soporte/xlsx_prueba.h"

namespace {

const QString kMarzo = QStringLiteral(
    "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)");

// The small fixture: two analyses in March (one with every column, its remark
// holding the separator, a quote and a line break), one in April, and a blank
// row a station left in March.
void Sembrar(EntornoPrueba& e) {
  const QString insertar = QStringLiteral(
      "INSERT INTO v_mv_zentalia (Fecha, responsable, tipo_harina, HORARIO, HUMEDO, SECO, CARACT, "
      "FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, CONTROLPESAJE, OBSERVACIONES) VALUES ");
  e.Ejecutar(insertar +
             "('2004-03-02 00:00:00', 'lab', '000', NULL, NULL, NULL, NULL, NULL, 15.3, NULL, "
             "NULL, NULL, 'Sin, comas')");
  e.Ejecutar(insertar +
             "('2004-03-01 00:00:00', 'lab', '0000', '07:30:00', 28.5, 9.8, 'Elástico', 320, "
             "14.25, 0.48, 'Blanco', 1000, 'Dice \"hola\"; ok\nsegunda')");
  e.Ejecutar(insertar +
             "('2004-04-01 00:00:00', 'lab', '0000', '08:00:00', 27, 9, NULL, 300, 16.9, NULL, "
             "NULL, NULL, 'Abril')");
  e.Ejecutar(QStringLiteral(
      "INSERT INTO v_mv_zentalia (Fecha, responsable) VALUES ('2004-03-05 00:00:00', 'lab')"));
}

// Every file of the folder, hidden ones too.
QStringList Archivos(const QString& carpeta) {
  return QDir(carpeta).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
}

QByteArray Leer(const QString& ruta) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::ReadOnly) ? archivo.readAll() : QByteArray("<no se pudo leer>");
}

}  // namespace

class PruebaExportar : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { cleanup(); }
  void cleanup() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void csvByteAByte_data();
  void csvByteAByte();
  void xlsxComoLoLeeUnaPlanilla();
  void especificacionesEnVigor();
  void cancelarNoDejaNada_data();
  void cancelarNoDejaNada();
  void carpetaQueNoSePuedeEscribir_data();
  void carpetaQueNoSePuedeEscribir();
  void cienMilAnalisis_data();
  void cienMilAnalisis();
};

void PruebaExportar::csvByteAByte_data() {
  QTest::addColumn<QLocale>("local");
  QTest::addColumn<QByteArray>("esperado");
  QTest::newRow("español: punto y coma, coma decimal")
      << QLocale(QLocale::Spanish, QLocale::Spain)
      << QByteArray(
             "\xEF\xBB\xBF"
             "Fecha;Tipo de harina;Horario;Gluten húmedo;Gluten seco;Caract. del gluten;Falling "
             "number;Humedad;Cenizas;Color;Control de pesaje;Observaciones\r\n"
             "01/03/2004;0000;07:30;28,5;9,8;Elástico;320;14,25;0,48;Blanco;1000;\"Dice "
             "\"\"hola\"\"; ok\nsegunda\"\r\n"
             "02/03/2004;000;;;;;;15,3;;;;Sin, comas\r\n");
  QTest::newRow("inglés: coma, punto decimal")
      << QLocale(QLocale::English, QLocale::UnitedStates)
      << QByteArray(
             "\xEF\xBB\xBF"
             "Fecha,Tipo de harina,Horario,Gluten húmedo,Gluten seco,Caract. del gluten,Falling "
             "number,Humedad,Cenizas,Color,Control de pesaje,Observaciones\r\n"
             "01/03/2004,0000,07:30,28.5,9.8,Elástico,320,14.25,0.48,Blanco,1000,\"Dice "
             "\"\"hola\"\"; ok\nsegunda\"\r\n"
             "02/03/2004,000,,,,,,15.3,,,,\"Sin, comas\"\r\n");
}

void PruebaExportar::csvByteAByte() {
  QFETCH(QLocale, local);
  QFETCH(QByteArray, esperado);
  QLocale::setDefault(local);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Sembrar(e);
  const QString ruta = e.Carpeta() + "/exportes/marzo.csv";
  QVERIFY(ExportarAnalisis(kMarzo, {{ruta, FormatoExportacion::Csv}}));
  QCOMPARE(Leer(ruta), esperado);
  QCOMPARE(e.operador().preguntas.size(), 0);
  QCOMPARE(e.operador().informes, QStringList{"2 análisis exportados a " + ruta});
}

void PruebaExportar::xlsxComoLoLeeUnaPlanilla() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Sembrar(e);
  // Humidity of the 0000 at most 14.0 from January; of the 000 at most 15.0
  // until the 2nd of March, when it became 16.0: the 000's 15.3 of the 1st is
  // out, the same value on the 2nd is in.
  e.Ejecutar(
      QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, responsable, tipo_harina, HORARIO, "
                     "HUMEDAD) VALUES ('2004-03-01 00:00:00', 'lab', '000', '23:00:00', "
                     "15.3)"));
  e.Ejecutar(QStringLiteral(
      "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, "
      "vigente_desde) VALUES ('0000', 'HUMEDAD', NULL, 14.0, NULL, NULL, '2004-01-01'), "
      "('000', 'HUMEDAD', NULL, 15.0, NULL, NULL, '2004-01-01'), "
      "('000', 'HUMEDAD', NULL, 16.0, NULL, NULL, '2004-03-02'), "
      "('0000', 'CENIZAS', NULL, 0.5, NULL, NULL, '2004-01-01')"));
  const QString ruta = e.Carpeta() + "/marzo.xlsx";
  QVERIFY(ExportarAnalisis(kMarzo, {{ruta, FormatoExportacion::Xlsx}}));
  QCOMPARE(HojasXlsx(ruta), QStringList({"Análisis", "Especificaciones"}));
  const QMap<QString, CeldaXlsx> c = CeldasXlsx(ruta, 1);
  // The header, bold, and nothing past the two analyses of March.
  QCOMPARE(c["A1"].valor, QString("Fecha"));
  QVERIFY(c["A1"].negrita);
  QCOMPARE(c["L1"].valor, QString("Observaciones"));
  QVERIFY(!c.contains("A5"));
  // A date is a date: the day's serial number with a date format.
  QCOMPARE(c["A2"].tipo, QString("n"));
  QCOMPARE(c["A2"].valor.toInt(), QDate(1899, 12, 30).daysTo(QDate(2004, 3, 1)));
  QCOMPARE(c["A2"].formato, QString("dd/mm/yyyy"));
  // A time is the day's fraction with a time format.
  QCOMPARE(c["C2"].tipo, QString("n"));
  QCOMPARE(c["C2"].valor.toDouble(), 7.5 / 24);
  QCOMPARE(c["C2"].formato, QString("hh:mm"));
  // Numbers are numbers, shown with the decimals of their column.
  QCOMPARE(c["D2"].tipo, QString("n"));
  QCOMPARE(c["D2"].valor.toDouble(), 28.5);
  QCOMPARE(c["D2"].formato, QString("0.0"));
  QCOMPARE(c["G2"].valor.toDouble(), 320.0);
  QCOMPARE(c["G2"].formato, QString("0"));
  QCOMPARE(c["H2"].formato, QString("0.00"));
  QCOMPARE(c["H4"].formato, QString("0.00"));
  // Out of its limits in red; within it, or with no limit, not.
  QCOMPARE(c["H2"].valor.toDouble(), 14.25);
  QCOMPARE(c["H2"].color, QString("FFFF0000"));
  QCOMPARE(c["H3"].valor.toDouble(), 15.3);
  QCOMPARE(c["H3"].color, QString("FFFF0000"));
  QCOMPARE(c["A4"].valor.toInt(), QDate(1899, 12, 30).daysTo(QDate(2004, 3, 2)));
  QCOMPARE(c["H4"].valor.toDouble(), 15.3);
  QCOMPARE(c["H4"].color, QString());
  QCOMPARE(c["I2"].valor.toDouble(), 0.48);
  QCOMPARE(c["I2"].color, QString());
  QCOMPARE(c["G2"].color, QString());
  // Texts are texts, the remark whole.
  QVERIFY(c["B2"].tipo != "n");
  QCOMPARE(c["B2"].valor, QString("0000"));
  QCOMPARE(c["L2"].valor, QString("Dice \"hola\"; ok\nsegunda"));
  // The header row stays in view, and the widths follow the texts.
  const QString hoja = ParteXlsx(ruta, "xl/worksheets/sheet1.xml");
  QVERIFY2(hoja.contains(QRegularExpression("<pane [^>]*ySplit=\"1\"[^>]*state=\"frozen\"")),
           qPrintable(hoja.left(2000)));
  QVERIFY2(hoja.contains("<col min=\"2\" max=\"2\" width=\"16.7"), qPrintable(hoja.left(2000)));
  QVERIFY2(hoja.contains("<col min=\"12\" max=\"12\" width=\"17.7"), qPrintable(hoja.left(2000)));
}

void PruebaExportar::especificacionesEnVigor() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Sembrar(e);
  e.Ejecutar(QStringLiteral(
      "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, "
      "vigente_desde) VALUES ('000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2003-06-01'), "
      "('000', 'HUMEDAD', NULL, 16.0, NULL, NULL, '2004-03-02'), "
      "('000', 'HUMEDAD', NULL, 17.0, NULL, NULL, '2004-04-01'), "
      "('000', 'HUMEDAD', NULL, 18.0, NULL, NULL, '2003-01-01'), "
      "('0000', 'FALLINGNUMBER', 250, 400, 280, NULL, '2004-01-01')"));
  const QString ruta = e.Carpeta() + "/marzo.xlsx";
  QVERIFY(ExportarAnalisis(kMarzo, {{ruta, FormatoExportacion::Xlsx}}));
  const QMap<QString, CeldaXlsx> c = CeldasXlsx(ruta, 2);
  QCOMPARE(c["A1"].valor, QString("Tipo de harina"));
  QCOMPARE(c["H1"].valor, QString("Vigente desde"));
  // In force on the 1st and 2nd of March: the 000's two rows that ruled
  // them (not the one replaced before, nor the one of April), then the
  // 0000's falling number.
  QCOMPARE(c["A2"].valor, QString("000"));
  QCOMPARE(c["B2"].valor, QString("Humedad"));
  QCOMPARE(c["C2"].valor, QString("g/100 g"));
  QCOMPARE(c["F2"].valor.toDouble(), 14.5);
  QCOMPARE(c["G2"].valor.toDouble(), 15.0);
  QCOMPARE(c["H2"].valor.toInt(), QDate(1899, 12, 30).daysTo(QDate(2003, 6, 1)));
  QCOMPARE(c["H2"].formato, QString("dd/mm/yyyy"));
  QCOMPARE(c["G3"].valor.toDouble(), 16.0);
  QCOMPARE(c["A4"].valor, QString("0000"));
  QCOMPARE(c["B4"].valor, QString("Falling number"));
  QCOMPARE(c["D4"].valor.toDouble(), 250.0);
  QCOMPARE(c["E4"].valor.toDouble(), 280.0);
  QVERIFY(!c.contains("F4"));
  QCOMPARE(c["G4"].valor.toDouble(), 400.0);
  QVERIFY(!c.contains("A5"));
}

void PruebaExportar::cancelarNoDejaNada_data() {
  QTest::addColumn<int>("formato");
  QTest::addColumn<qint64>("cancelarEn");
  // Three rows are read (the blank one too), then two are written.
  QTest::newRow("csv, leyendo") << int(FormatoExportacion::Csv) << qint64(2);
  QTest::newRow("csv, escribiendo") << int(FormatoExportacion::Csv) << qint64(5);
  QTest::newRow("xlsx, leyendo") << int(FormatoExportacion::Xlsx) << qint64(2);
  QTest::newRow("xlsx, escribiendo") << int(FormatoExportacion::Xlsx) << qint64(5);
}

void PruebaExportar::cancelarNoDejaNada() {
  QFETCH(int, formato);
  QFETCH(qint64, cancelarEn);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Sembrar(e);
  const QString carpeta = e.Carpeta() + "/exportes";
  const QString ruta = carpeta + "/marzo.archivo";
  // A file of an earlier export stays as it was.
  QVERIFY(EntornoPrueba::EscribirArchivo(ruta, "anterior"));
  e.operador().cancelarEn = cancelarEn;
  QVERIFY(!ExportarAnalisis(kMarzo, {{ruta, FormatoExportacion(formato)}}));
  QCOMPARE(e.operador().avanceMaximo, cancelarEn);
  QCOMPARE(Archivos(carpeta), QStringList{"marzo.archivo"});
  QCOMPARE(Leer(ruta), QByteArray("anterior"));
  QVERIFY(e.operador().informes.isEmpty());
}

void PruebaExportar::carpetaQueNoSePuedeEscribir_data() {
  QTest::addColumn<int>("formato");
  QTest::newRow("csv") << int(FormatoExportacion::Csv);
  QTest::newRow("xlsx") << int(FormatoExportacion::Xlsx);
}

void PruebaExportar::carpetaQueNoSePuedeEscribir() {
  QFETCH(int, formato);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Sembrar(e);
  // A file where the folder should be: no folder can be made there, not even
  // by root, as CI runs.
  const QString estorbo = e.Carpeta() + "/estorbo";
  QVERIFY(EntornoPrueba::EscribirArchivo(estorbo, "x"));
  const QString ruta = estorbo + "/sub/marzo.archivo";
  try {
    ExportarAnalisis(kMarzo, {{ruta, FormatoExportacion(formato)}});
    QFAIL("la exportación no avisó");
  } catch (const Falla& falla) {
    QCOMPARE(falla.Codigo(), int(Falla::kArchivo));
    QVERIFY2(falla.Mensaje().startsWith("No se pudo exportar a «" + ruta + "»"),
             qPrintable(falla.Mensaje()));
    QVERIFY(falla.Mensaje().contains("No se guardó nada"));
  }
  QCOMPARE(Archivos(e.Carpeta()).filter("marzo"), QStringList());
  QCOMPARE(Leer(estorbo), QByteArray("x"));
}

void PruebaExportar::cienMilAnalisis_data() {
  QTest::addColumn<int>("formato");
  QTest::newRow("csv") << int(FormatoExportacion::Csv);
  QTest::newRow("xlsx") << int(FormatoExportacion::Xlsx);
}

void PruebaExportar::cienMilAnalisis() {
  QFETCH(int, formato);
  constexpr qint64 kAnalisis = 100000;
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                            "WHERE i < %1) INSERT INTO v_mv_zentalia (Fecha, responsable, "
                            "tipo_harina, HUMEDAD) SELECT '2004-03-01 00:00:00', 'lab', '000', "
                            "14.5 FROM n")
                 .arg(kAnalisis));
  const QString carpeta = e.Carpeta() + "/exportes";
  const QString ruta = carpeta + "/marzo.archivo";
  // Cancelled halfway through the writing: nothing is left.
  e.operador().cancelarEn = kAnalisis + kAnalisis / 2;
  QVERIFY(!ExportarAnalisis(kMarzo, {{ruta, FormatoExportacion(formato)}}));
  QCOMPARE(e.operador().avanceMaximo, kAnalisis + kAnalisis / 2);
  QCOMPARE(Archivos(carpeta), QStringList());
  // Not cancelled: the progress went through the reading and the writing,
  // and every analysis is in the file.
  e.operador().cancelarEn = -1;
  e.operador().avanceMaximo = 0;
  QVERIFY(ExportarAnalisis(kMarzo, {{ruta, FormatoExportacion(formato)}}));
  QCOMPARE(e.operador().progresos, 2);
  QCOMPARE(e.operador().avanceMaximo, 2 * kAnalisis);
  QCOMPARE(Archivos(carpeta), QStringList{"marzo.archivo"});
  if (FormatoExportacion(formato) == FormatoExportacion::Csv) {
    const QByteArray texto = Leer(ruta);
    QCOMPARE(texto.count("\r\n"), kAnalisis + 1);
    QVERIFY(texto.endsWith("\r\n01/03/2004;000;;;;;;14,5;;;;\r\n"));
  } else {
    const QMap<QString, CeldaXlsx> celdas = CeldasXlsx(ruta, 1);
    const QString ultima = QString::number(kAnalisis + 1);
    QCOMPARE(celdas["H" + ultima].valor.toDouble(), 14.5);
    QVERIFY(!celdas.contains("A" + QString::number(kAnalisis + 2)));
  }
}

QTEST_MAIN(PruebaExportar)
#include "test_exportar.moc"
