// The control chart on a real database: the values read for a flour type
// (its case and blanks aside) in time order, the last ones or a range; the
// window F11 opens from the sheet, its figures and broken rule, changed by
// its combos and closed by Esc; and its PDF written through the INI key
// "SalidaGrafico", read back with pdftotext. Runs on SQLite and on
// PostgreSQL.

#include <QApplication>
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QLineSeries>
#include <QListWidget>
#include <QMap>
#include <QPen>
#include <QProcess>
#include <QRegularExpression>
#include <QScatterSeries>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

#include "analisis/lector_control.h"
#include "report/ventana_grafico.h"
#include "services/lib_datos.h"
#include "services/util_kor.h"
#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/reporte_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

void Analisis(EntornoPrueba& e, const QString& dia, const QString& hora, const QString& tipo,
              const QString& falling) {
  e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, responsable, HORARIO, tipo_harina, "
                            "FALLINGNUMBER) VALUES ('%1 00:00:00', 'lab', '%2', '%3', %4)")
                 .arg(dia, hora, tipo, falling));
}

// Nine falling numbers of Integral, 400 380 400 380 400 40 400 380 400, by
// hand: mean 3180 / 9 = 353.33, moving ranges 20 20 20 20 360 360 20 20, mean
// 105; LCS 353.33 + 2.66 · 105 = 632.63, LCI 74.03: the 40 of 11/03 09:30 is
// below it. Sample deviation 117.90. Limits 250 to 450: sigma
// 105 / 1.128 = 93.09, Cp 200 / 558.5 = 0.36, Cpk 96.67 / 279.3 = 0.35.
// The type is written in several ways; the same day's analyses are stored
// out of time order; an empty value, another type and a later day are left
// out.
void SembrarIntegral(EntornoPrueba& e) {
  Analisis(e, "2004-03-06", "08:00:00", "Integral", "400");
  Analisis(e, "2004-03-07", "08:00:00", "Integral", "380");
  Analisis(e, "2004-03-08", "08:00:00", " integral", "400");
  Analisis(e, "2004-03-09", "08:00:00", "Integral", "380");
  Analisis(e, "2004-03-10", "08:00:00", "INTEGRAL ", "400");
  Analisis(e, "2004-03-11", "09:30:00", "Integral", "40");
  Analisis(e, "2004-03-12", "08:00:00", "Integral", "NULL");
  Analisis(e, "2004-03-13", "08:00:00", "0000", "999");
  Analisis(e, "2004-03-14", "10:00:00", "Integral", "380");
  Analisis(e, "2004-03-14", "07:30:00", "Integral", "400");
  Analisis(e, "2004-03-15", "08:00:00", "Integral", "400");
  Analisis(e, "2004-03-16", "08:00:00", "Integral", "999");
  e.Ejecutar(
      "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, vigente_desde) VALUES "
      "('INTEGRAL', 'FALLINGNUMBER', 250, 450, '2004-01-01')");
}

QStringList Textos(const QList<PuntoControl>& puntos) {
  QStringList textos;
  for (const PuntoControl& p : puntos)
    textos << p.fecha.toString("dd/MM") + " " + p.horario + " " +
                  (p.valor ? QString::number(*p.valor) : "-");
  return textos;
}

// The PDF's text in the order it was written (a wrapped line follows its
// first part), its ligatures ("ﬁ") written out as letters.
QString Legible(const QString& ruta) {
  QProcess pdftotext;
  pdftotext.start("pdftotext", {"-raw", ruta, "-"});
  if (!pdftotext.waitForFinished(120000) || pdftotext.exitCode() != 0)
    return "<pdftotext no pudo leer " + ruta + ">";
  return QString::fromUtf8(pdftotext.readAllStandardOutput())
      .replace(QChar(0xFB01), "fi")
      .replace(QChar(0xFB02), "fl");
}

GraficoControl* Abierto() {
  for (QWidget* ventana : QApplication::topLevelWidgets())
    if (auto* grafico = qobject_cast<GraficoControl*>(ventana); grafico && grafico->isVisible())
      return grafico;
  return nullptr;
}

}  // namespace

class PruebaGrafico : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void lectura();
  void f11AbreElGrafico();
  void otraColumnaSinNumero();
  void rangoDelReporte();
  void rangoQueNoEsFecha();
  void pdfDesatendido();
};

void PruebaGrafico::lectura() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  SembrarIntegral(e);
  PedidoControl pedido;
  pedido.campo = "FALLINGNUMBER";
  pedido.tipo = "integral ";
  pedido.dia = QDate(2004, 3, 15);
  pedido.ultimos = 4;
  Conexion& conexion = LibDatos::Instancia().Conexion();
  QCOMPARE(
      Textos(LeerControl(conexion, pedido)),
      QStringList({"11/03 09:30 40", "14/03 07:30 400", "14/03 10:00 380", "15/03 08:00 400"}));
  pedido.ultimos = 60;
  QCOMPARE(LeerControl(conexion, pedido).size(), 9);
  pedido.desde = QDate(2004, 3, 8);
  pedido.hasta = QDate(2004, 3, 10);
  QCOMPARE(Textos(LeerControl(conexion, pedido)),
           QStringList({"08/03 08:00 400", "09/03 08:00 380", "10/03 08:00 400"}));
  pedido.desde.reset();  // up to the end of the 10th: the first five
  QCOMPARE(LeerControl(conexion, pedido).size(), 5);
  QCOMPARE(LeerTipos(conexion, "v_mv_zentalia"), QStringList({"0000", "Integral"}));
}

void PruebaGrafico::f11AbreElGrafico() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  SembrarIntegral(v.entorno);
  auto* boton = v.ventana.UtilKor1->findChild<QToolButton*>("GRAFICO");
  QVERIFY(boton && !boton->isEnabled());  // no sheet, no cell to chart
  CargarDia(v.ventana, kDia);
  QVERIFY(boton->isEnabled());
  IrA(v.ventana, 2, 6);  // the falling number of the day's analysis
  Tecla(Qt::Key_F11);
  GraficoControl* g = Abierto();
  QVERIFY(g);
  QVERIFY(QTest::qWaitForWindowExposed(g));
  QCOMPARE(g->windowTitle(), QStringLiteral("Gráfico de control"));
  QCOMPARE(g->cmbColumna->currentText(), QStringLiteral("Falling number"));
  QCOMPARE(g->cmbTipo->currentText(), QStringLiteral("Integral"));
  const QList<std::pair<const char*, const char*>> figuras = {
      {"n", "9"},       {"Media", "353,33"}, {"Desvío estándar", "117,90"},
      {"LC", "353,33"}, {"LCS", "632,63"},   {"LCI", "74,03"},
      {"Cp", "0,36"},   {"Cpk", "0,35"}};
  for (const auto& [nombre, valor] : figuras) QCOMPARE(g->Figura(nombre), QString(valor));
  QCOMPARE(g->Reglas(),
           QStringList{"11/03/2004 09:30: fuera del límite de control inferior (LCI)"});
  if (qEnvironmentVariableIsSet("PRUEBA_CAPTURAS"))
    g->grab().save(qEnvironmentVariable("PRUEBA_CAPTURAS") + "/grafico.png");
  // The customer's limits drawn apart from the process's, named apart.
  QChartView* individuos = g->findChildren<QChartView*>().value(0);
  QVERIFY(individuos);
  QMap<QString, QPen> lineas;
  for (QAbstractSeries* serie : individuos->chart()->series())
    if (auto* linea = qobject_cast<QLineSeries*>(serie)) lineas.insert(linea->name(), linea->pen());
  QCOMPARE(QStringList(lineas.keys()), QStringList({"Especificación máx.", "Especificación mín.",
                                                    "LC", "LCI", "LCS", "Valores"}));
  QVERIFY(lineas["LCS"].color() != lineas["Especificación máx."].color());
  QVERIFY(lineas["LCS"].style() != lineas["Especificación máx."].style());
  QCOMPARE(lineas["LCI"].style(), lineas["LCS"].style());
  // The point that breaks a rule is marked, and only it: the sixth, 40.
  QList<QPointF> marcados;
  for (QAbstractSeries* serie : individuos->chart()->series())
    if (auto* puntos = qobject_cast<QScatterSeries*>(serie)) marcados += puntos->points();
  QCOMPARE(marcados, QList<QPointF>({QPointF(6, 40)}));

  // Another type by keys: the 0000 has a single value, hence no limits.
  QTest::keyClick(g->cmbTipo, Qt::Key_Up);
  QCOMPARE(g->cmbTipo->currentText(), QStringLiteral("0000"));
  QCOMPARE(g->Figura("n"), QStringLiteral("1"));
  QCOMPARE(g->Figura("LCS"), QStringLiteral("—"));
  QVERIFY(g->Figura("Cp").isEmpty());
  // Ctrl+P: the print preview, through the operator.
  QVERIFY(QTest::qWaitForWindowActive(g));
  v.entorno.operador().rutaVistaPrevia = v.entorno.Carpeta() + "/vista.pdf";
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_P, Qt::ControlModifier);
  QCOMPARE(v.entorno.operador().preguntas.size(), 1);
  QCOMPARE(v.entorno.operador().preguntas[0].tipo, QStringLiteral("vista previa"));
  QVERIFY(Legible(v.entorno.operador().rutaVistaPrevia).contains("Falling number (s) · 0000"));
  // Esc closes it.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
  QTRY_VERIFY(!Abierto());
}

void PruebaGrafico::otraColumnaSinNumero() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  SembrarIntegral(v.entorno);
  CargarDia(v.ventana, kDia);
  IrA(v.ventana, 2, 11);  // the remarks: no number
  Tecla(Qt::Key_F11);
  GraficoControl* g = Abierto();
  QVERIFY(g);
  QCOMPARE(g->cmbColumna->currentText(), QStringLiteral("Gluten húmedo"));
  QCOMPARE(g->Figura("n"), QStringLiteral("0"));
  g->close();
  // An analysis without a flour type: the status bar says what to do.
  v.ventana.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&v.ventana));
  Tecla(Qt::Key_F8);
  CargarDia(v.ventana, "20/03/2004");
  IrA(v.ventana, 2, 6);
  Tecla(Qt::Key_F11);
  QVERIFY(!Abierto());
  QVERIFY(v.ventana.findChild<QStatusBar*>()->currentMessage().contains("tipo de harina"));
}

void PruebaGrafico::rangoDelReporte() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  SembrarIntegral(v.entorno);
  // The range typed on the report tab before the day was loaded.
  IrAlReporte(v.ventana);
  Teclear("08/03/2004");
  Tecla(Qt::Key_Return);
  Teclear("11/03/2004");
  Tecla(Qt::Key_Return);
  CargarDia(v.ventana, kDia);
  IrA(v.ventana, 2, 6);
  Tecla(Qt::Key_F11);
  GraficoControl* g = Abierto();
  QVERIFY(g);
  // 400 380 400 40: mean 305, not the last 60.
  QCOMPARE(g->Figura("n"), QStringLiteral("4"));
  QCOMPARE(g->Figura("Media"), QStringLiteral("305,00"));
  g->close();
}

void PruebaGrafico::rangoQueNoEsFecha() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  SembrarIntegral(v.entorno);
  // A range field is checked as it is typed; one filled otherwise is checked
  // again before anything is read.
  v.ventana.txtFields[3]->setText("31/02/2004");
  CargarDia(v.ventana, kDia);
  IrA(v.ventana, 2, 6);
  Tecla(Qt::Key_F11);
  QVERIFY(!Abierto());
  const QStringList avisos = Avisos(v.entorno.operador(), "avisar");
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos[0].contains("«31/02/2004» no es una fecha válida"), qPrintable(avisos[0]));
}

void PruebaGrafico::pdfDesatendido() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const QString salida = v.entorno.Carpeta() + "/graficos/integral.pdf";
  v.entorno.EscribirIni("[Reportes]\nSalidaGrafico=" + salida + "\n");
  SembrarIntegral(v.entorno);
  CargarDia(v.ventana, kDia);
  IrA(v.ventana, 2, 6);
  Tecla(Qt::Key_F11);
  QVERIFY(!Abierto());
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);
  QCOMPARE(v.entorno.operador().informes, QStringList{"Gráfico de control guardado en " + salida});
  const QString texto = Legible(salida);
  QVERIFY2(texto.contains("Gráfico de control"), qPrintable(texto));
  QVERIFY(
      texto.contains("Falling number (s) · Integral · últimos 60 análisis hasta el 15/03/2004"));
  for (const char* figura : {"n\\s+9", "Media\\s+353,33", "Desvío estándar\\s+117,90",
                             "LCS\\s+632,63", "LCI\\s+74,03", "Cp\\s+0,36", "Cpk\\s+0,35"})
    QVERIFY2(QRegularExpression(figura).match(texto).hasMatch(), figura);
  QVERIFY(texto.contains("Especificación máx."));
  QVERIFY(texto.contains("Especificación mín."));
  if (qEnvironmentVariableIsSet("PRUEBA_CAPTURAS"))
    QFile::copy(salida, qEnvironmentVariable("PRUEBA_CAPTURAS") + "/grafico.pdf");
  QString seguido = texto.simplified();
  QVERIFY2(seguido.contains("11/03/2004 09:30: fuera del límite de control inferior (LCI)"),
           qPrintable(seguido));
}

QTEST_MAIN(PruebaGrafico)
#include "test_grafico.moc"
