// The export from the sheet window, driven by keys as the operator does: F10
// on a loaded day with the INI's unattended files, F10 on the report tab's
// range through the save dialog, a cancelled dialog, EXPORTAR disabled where
// the report is, and a folder that cannot be written told to the operator.
// Runs on SQLite and on PostgreSQL.

#include <QDir>
#include <QFile>
#include <QTest>
#include <QToolButton>

#include "services/util_kor.h"
#include "soporte/reporte_prueba.h"
#include "soporte/ventana_prueba.h"
#include "soporte/xlsx_prueba.h"

namespace {

QString LeerTexto(const QString& ruta) {
  QFile archivo(ruta);
  return archivo.open(QIODevice::ReadOnly) ? QString::fromUtf8(archivo.readAll()) : QString();
}

void SembrarMarzo(EntornoPrueba& e) {
  Sembrar(e, {"2004-03-01", "09:15:00", "0000", "14.5", "320", "Uno-dos"});
  Sembrar(e, {"2004-03-01", "07:30:00", "000", "14.2", "300", "Uno-uno"});
  Sembrar(e, {"2004-03-31", "10:00:00", "Integral", "15.1", "340", "Treinta y uno"});
  Sembrar(e, {"2004-04-01", "08:00:00", "000", "16.3", "390", "Abril"});
}

bool Habilitado(const frmHarina& w, const char* clave) {
  return w.UtilKor1->findChild<QToolButton*>(QString::fromLatin1(clave))->isEnabled();
}

}  // namespace

class PruebaExportarVentana : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void diaCargadoAAmbasSalidas();
  void rangoPorElDialogo_data();
  void rangoPorElDialogo();
  void dialogoCancelado();
  void habilitadoComoElReporte();
  void carpetaQueNoSePuedeEscribir();
};

void PruebaExportarVentana::diaCargadoAAmbasSalidas() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  SembrarMarzo(e);
  const QString csv = e.Carpeta() + "/salidas/dia.csv";
  const QString xlsx = e.Carpeta() + "/salidas/dia.xlsx";
  e.EscribirIni("[Reportes]\nSalidaCsv=" + csv + "\nSalidaXlsx=" + xlsx + "\n");
  CargarDia(v.ventana, "01/03/2004");
  QVERIFY(Habilitado(v.ventana, "EXPORTAR"));
  Tecla(Qt::Key_F10);
  QCOMPARE(e.operador().preguntas.size(), 0);
  // The loaded day only, in the order of the report: by time.
  const QString texto = LeerTexto(csv);
  QVERIFY2(texto.contains("\r\n01/03/2004;000;07:30;;;;300;14,2;;;;Uno-uno\r\n"
                          "01/03/2004;0000;09:15;;;;320;14,5;;;;Uno-dos\r\n"),
           qPrintable(texto));
  QCOMPARE(texto.count("\r\n"), 3);
  const QMap<QString, CeldaXlsx> celdas = CeldasXlsx(xlsx, 1);
  QCOMPARE(celdas["L2"].valor, QString("Uno-uno"));
  QCOMPARE(celdas["L3"].valor, QString("Uno-dos"));
  QVERIFY(!celdas.contains("A4"));
  QCOMPARE(e.operador().informes,
           QStringList({"2 análisis exportados a " + csv, "2 análisis exportados a " + xlsx}));
  // The sheet goes on as it was: loaded, the grid in the focus chain.
  QVERIFY(v.ventana.PlanillaCargada);
}

void PruebaExportarVentana::rangoPorElDialogo_data() {
  QTest::addColumn<QString>("nombre");
  QTest::addColumn<bool>("esCsv");
  QTest::newRow("csv") << "marzo.CSV" << true;
  QTest::newRow("xlsx") << "marzo.xlsx" << false;
}

void PruebaExportarVentana::rangoPorElDialogo() {
  QFETCH(QString, nombre);
  QFETCH(bool, esCsv);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  SembrarMarzo(e);
  const QString ruta = e.Carpeta() + "/" + nombre;
  e.operador().archivos.enqueue(ruta);
  IrAlReporte(v.ventana);
  Teclear("01/03/2004");
  Tecla(Qt::Key_Return);
  Teclear("31/03/2004");
  Tecla(Qt::Key_Return);
  Tecla(Qt::Key_F10);
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas[0].tipo, QString("archivo"));
  QCOMPARE(e.operador().preguntas[0].titulo, QString("Exportar análisis"));
  QVERIFY2(e.operador().preguntas[0].texto.endsWith("/Analisis_2004-03-01_2004-03-31.xlsx"),
           qPrintable(e.operador().preguntas[0].texto));
  QCOMPARE(e.operador().progresos, 1);
  if (esCsv) {
    QFile archivo(ruta);
    QVERIFY(archivo.open(QIODevice::ReadOnly));
    const QByteArray bytes = archivo.readAll();
    QVERIFY2(bytes.startsWith("\xEF\xBB\xBF"
                              "Fecha;Tipo de harina;"),
             bytes.constData());
    const QString texto = QString::fromUtf8(bytes);
    QCOMPARE(texto.count("\r\n"), 4);
    QVERIFY(texto.contains("31/03/2004;Integral;10:00;"));
    QVERIFY(!texto.contains("Abril"));
  } else {
    const QMap<QString, CeldaXlsx> celdas = CeldasXlsx(ruta, 1);
    QCOMPARE(celdas["L4"].valor, QString("Treinta y uno"));
    QVERIFY(!celdas.contains("A5"));
  }
}

void PruebaExportarVentana::dialogoCancelado() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  SembrarMarzo(e);
  CargarDia(v.ventana, "01/03/2004");
  // No answer queued: the operator closes the dialog.
  Tecla(Qt::Key_F10);
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas[0].tipo, QString("archivo"));
  QCOMPARE(e.operador().progresos, 0);
  QVERIFY(e.operador().informes.isEmpty());
}

void PruebaExportarVentana::habilitadoComoElReporte() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const QString csv = e.Carpeta() + "/todo.csv";
  e.EscribirIni("[Reportes]\nSalidaCsv=" + csv + "\n");
  // Idle on the sheet's tab there is nothing to export: F10 does nothing.
  QVERIFY(!Habilitado(v.ventana, "EXPORTAR"));
  Tecla(Qt::Key_F10);
  QVERIFY(!QFile::exists(csv));
  IrAlReporte(v.ventana);
  QVERIFY(Habilitado(v.ventana, "REPORTE"));
  QVERIFY(Habilitado(v.ventana, "EXPORTAR"));
  // The button does what the key does.
  QTest::mouseClick(v.ventana.UtilKor1->findChild<QToolButton*>("EXPORTAR"), Qt::LeftButton);
  QVERIFY(QFile::exists(csv));
  QCOMPARE(e.operador().preguntas.size(), 0);
}

void PruebaExportarVentana::carpetaQueNoSePuedeEscribir() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  SembrarMarzo(e);
  // A file stands where the folder should be: not even root can write there.
  const QString estorbo = e.Carpeta() + "/estorbo";
  QVERIFY(EntornoPrueba::EscribirArchivo(estorbo, "x"));
  e.EscribirIni("[Reportes]\nSalidaXlsx=" + estorbo + "/dia.xlsx\n");
  CargarDia(v.ventana, "01/03/2004");
  Tecla(Qt::Key_F10);
  QCOMPARE(e.operador().preguntas.size(), 1);
  const Pregunta& aviso = e.operador().preguntas[0];
  QCOMPARE(aviso.tipo, QString("avisar"));
  QVERIFY2(aviso.texto.contains("No se pudo exportar a «" + estorbo + "/dia.xlsx»"),
           qPrintable(aviso.texto));
  QVERIFY(aviso.texto.contains("No se guardó nada"));
  QCOMPARE(QDir(e.Carpeta()).entryList({"*.xlsx*", ".*xlsx*"}, QDir::Files | QDir::Hidden),
           QStringList());
  QVERIFY(v.ventana.PlanillaCargada);
}

QTEST_MAIN(PruebaExportarVentana)
#include "test_exportar_ventana.moc"
