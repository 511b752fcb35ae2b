// The sheet window: start-up into the idle state, the controls each state
// enables, the key routing to the command bar, the idle grid, resizing and
// closing.

#include <QApplication>
#include <QDate>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "services/twips.h"
#include "services/util_kor.h"
#include "session/linea_de_comandos.h"
#include "sheet/barra_estado.h"
#include "sheet/disposicion.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"
#include "soporte/entorno_prueba.h"
#include "soporte/ventana_prueba.h"

Q_DECLARE_METATYPE(Disposicion)

class PruebaPlanilla : public QObject {
  Q_OBJECT

 private slots:
  void arranqueDejaLaVentanaOciosa();
  void sinConexionNoHayVentana();
  void grillaOciosa();
  void estadosDeLosControles();
  void teclasALaBarraYAlControl();
  void cancelarVuelveAlEstadoOcioso();
  void redimensionar_data();
  void redimensionar();
  void ventanaRedimensionada();
  void cerrar();
};

void PruebaPlanilla::arranqueDejaLaVentanaOciosa() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  QVERIFY(v.cargada);
  frmHarina& w = v.ventana;
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QCOMPARE(w.windowTitle(), QStringLiteral("ANÁLISIS DE HARINA"));
  QCOMPARE(w.txtFields[0]->text(), QDate::currentDate().toString("dd/MM/yyyy"));
  QVERIFY(w.txtFields[0]->isEnabled());
  QTRY_VERIFY(w.txtFields[0]->hasFocus());
  QCOMPARE(w.txtFields[1]->text(), QStringLiteral("Marta Giménez"));
  QVERIFY(!w.txtFields[1]->isEnabled());
  QCOMPARE(w.SSTab1->currentIndex(), 0);
  QVERIFY(w.SSTab1->isTabEnabled(1));
  QCOMPARE(Habilitados(w), QStringList({"CONSULTAR", "CERRAR"}));
  QVERIFY(!w.TxtEdit->isVisible());
  QCOMPARE(w.Tabla, QStringLiteral("v_mv_zentalia"));
  QVERIFY(!w.PlanillaCargada);

  QCOMPARE(w.Label1->text(), QStringLiteral("Fecha:"));
  QCOMPARE(w.Label3->text(), QStringLiteral("Responsable:"));
  QCOMPARE(w.Label2->text(), QStringLiteral("Fecha Desde:"));
  QCOMPARE(w.Label4->text(), QStringLiteral("Fecha Hasta:"));
  QVERIFY(w.Label2->font().bold());
  QCOMPARE(w.SSTab1->tabText(0), QStringLiteral("Análisis de Harina"));
  QCOMPARE(w.SSTab1->tabText(1), QStringLiteral("Reporte de Análisis de Harina"));
  const int maximos[] = {10, 32767, 10, 10};
  for (int i = 0; i < 4; ++i) QCOMPARE(w.txtFields[i]->maxLength(), maximos[i]);
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);

  // The report tab, reached with Ctrl+Tab as the operator does, shows its
  // picture.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(w.SSTab1->currentIndex(), 1);
  QCOMPARE(w.imgRep->pixmap().toImage(),
           QPixmap(QStringLiteral(":/imagenes/reporte.png")).toImage());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(w.SSTab1->currentIndex(), 0);

  if (qEnvironmentVariableIsSet("PRUEBA_CAPTURAS")) {
    w.grab().save(qEnvironmentVariable("PRUEBA_CAPTURAS") + "/ociosa.png");
    w.SSTab1->setCurrentIndex(1);
    w.grab().save(qEnvironmentVariable("PRUEBA_CAPTURAS") + "/reporte.png");
  }
}

void PruebaPlanilla::sinConexionNoHayVentana() {
  EntornoPrueba entorno;
  FijarParametros(QStringLiteral("@DbName=") + entorno.Carpeta() +
                  QStringLiteral("/no-existe/../../..;@UsuarioLogeado=ana;"));
  entorno.EscribirIni("[Datos]\nMotor=ninguno\n");
  frmHarina ventana;
  QVERIFY(!ventana.Form_Load());
  QCOMPARE(entorno.operador().preguntas.size(), 1);
  QVERIFY(entorno.operador().preguntas.first().texto.contains("ninguno"));
}

void PruebaPlanilla::grillaOciosa() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  Grilla* grilla = v.ventana.MSflexGrid1;
  QCOMPARE(grilla->Rows(), 30);
  QCOMPARE(grilla->Cols(), 12);
  QCOMPARE(grilla->FixedRows(), 2);
  QVERIFY(grilla->isEnabled());
  QCOMPARE(grilla->ColWidth(0), 0);
  // The runs of capital X, in proportion, fill the grid's width: no column
  // runs off its edge, and it stays so when the window is widened.
  const QFontMetrics medida(v.ventana.font());
  const int equis[] = {0, 50, 50, 50, 10, 8, 20, 10, 10, 10, 10, 10};
  qint64 totalEquis = 0;
  for (int c = 1; c < 12; ++c) totalEquis += medida.horizontalAdvance(QString(equis[c], 'X'));
  for (const int anchoVentana : {1100, 1500}) {
    v.ventana.resize(anchoVentana, v.ventana.height());
    const int disponible = grilla->viewport()->width();
    int suma = 0;
    for (int c = 1; c < 12; ++c) {
      const double esperado =
          double(disponible) * medida.horizontalAdvance(QString(equis[c], 'X')) / totalEquis;
      QVERIFY2(qAbs(grilla->columnWidth(c) - esperado) <= 1.0, qPrintable(QString::number(c)));
      suma += grilla->columnWidth(c);
    }
    QCOMPARE(suma, disponible);
  }
  for (int r = 0; r < 30; ++r)
    for (int c = 0; c < 12; ++c) QVERIFY(grilla->TextMatrix(r, c).isEmpty());
}

void PruebaPlanilla::estadosDeLosControles() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  w.MSflexGrid1->SetRows(3);
  w.PlanillaCargada = true;
  bool cargada = true;
  w.EstadoPlanilla(cargada);
  w.EnabledControls(cargada);
  QCOMPARE(Habilitados(w), QStringList({"NUEVO", "BORRAR", "CONSULTAR", "REPORTE", "CANCELAR"}));
  QVERIFY(!w.txtFields[0]->isEnabled());
  QVERIFY(!w.SSTab1->isTabEnabled(1));

  // With no analysis row the report stays off.
  w.MSflexGrid1->SetRows(2);
  w.UtilKor1->reporteenabled(false);
  w.EstadoPlanilla(cargada);
  QVERIFY(!Habilitados(w).contains("REPORTE"));
}

void PruebaPlanilla::teclasALaBarraYAlControl() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QStringList pulsados;
  connect(w.UtilKor1, &UtilKor::BotonPulsado, [&](QString& boton) { pulsados << boton; });
  QLineEdit* fecha = w.txtFields[0];
  QTRY_VERIFY(fecha->hasFocus());
  const QString hoy = fecha->text();

  QTest::keyClick(fecha, Qt::Key_F2);  // NUEVO is off in the idle state
  QTest::keyClick(fecha, Qt::Key_F4);  // BORRAR too
  QTest::keyClick(fecha, Qt::Key_F3);  // CONSULTAR is on: once, however far the key travels
  QTest::keyClick(fecha, Qt::Key_Backspace);
  QCOMPARE(pulsados, QStringList({"CONSULTAR"}));
  // The keys still reached the field.
  QCOMPARE(fecha->text(), hoy.chopped(1));
  QTest::keyClick(fecha, Qt::Key_End);
  QTest::keyClick(fecha, Qt::Key_4);
  QCOMPARE(fecha->text(), hoy.chopped(1) + '4');
  QVERIFY(w.isVisible());
}

void PruebaPlanilla::cancelarVuelveAlEstadoOcioso() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  QVERIFY(QTest::qWaitForWindowActive(&w));
  w.txtFields[0]->setText("01/02/2003");
  w.MSflexGrid1->SetTextMatrix(2, 1, "000");
  w.PlanillaCargada = true;
  bool cargada = true;
  w.EstadoPlanilla(cargada);
  w.EnabledControls(cargada);
  w.MSflexGrid1->setFocus();
  QTest::keyClick(w.MSflexGrid1, Qt::Key_F8);  // CANCELAR
  QCOMPARE(w.txtFields[0]->text(), QDate::currentDate().toString("dd/MM/yyyy"));
  QVERIFY(w.txtFields[0]->isEnabled());
  QCOMPARE(w.txtFields[1]->text(), QStringLiteral("Marta Giménez"));
  QVERIFY(w.MSflexGrid1->TextMatrix(2, 1).isEmpty());
  QCOMPARE(Habilitados(w), QStringList({"CONSULTAR", "CERRAR"}));
  QVERIFY(w.SSTab1->isTabEnabled(1));
  QVERIFY(!w.PlanillaCargada);
}

void PruebaPlanilla::redimensionar_data() {
  QTest::addColumn<int>("ancho");
  QTest::addColumn<int>("alto");
  QTest::addColumn<Disposicion>("esperada");
  const Disposicion diseno = DisposicionDeDiseno();
  const auto medidas = [](int W, int H) {
    Disposicion d;
    d.banda = {W - 120, 1260};
    d.tabs = {W - 120, H - 1660};
    d.grilla = {W - 120, H - 2060};
    d.panel = {W - 240, H - 2160};
    d.imagen = {W - 360, H - 2360};
    return d;
  };
  QTest::newRow("diseno") << 7740 << 4600 << medidas(7740, 4600);
  QTest::newRow("grande") << 15000 << 10000 << medidas(15000, 10000);
  QTest::newRow("limite de la imagen") << 7740 << 2360 << medidas(7740, 2360);
  // Each height that comes out negative is refused; the control keeps its size.
  Disposicion bajo = medidas(7740, 2359);
  bajo.imagen.alto = diseno.imagen.alto;
  QTest::newRow("imagen negativa") << 7740 << 2359 << bajo;
  Disposicion masBajo = medidas(7740, 2100);
  masBajo.panel.alto = diseno.panel.alto;
  masBajo.imagen.alto = diseno.panel.alto - 200;  // read from the panel it kept
  QTest::newRow("panel negativo") << 7740 << 2100 << masBajo;
  Disposicion minimo = medidas(7740, 1000);
  minimo.tabs.alto = diseno.tabs.alto;
  minimo.grilla.alto = diseno.grilla.alto;
  minimo.panel.alto = diseno.tabs.alto - 500;
  minimo.imagen.alto = diseno.tabs.alto - 700;
  QTest::newRow("todo negativo") << 7740 << 1000 << minimo;
  Disposicion angosto = medidas(100, 4600);
  angosto.banda.ancho = diseno.banda.ancho;
  angosto.tabs.ancho = diseno.tabs.ancho;
  angosto.grilla.ancho = diseno.grilla.ancho;
  angosto.panel.ancho = diseno.tabs.ancho - 120;
  angosto.imagen.ancho = diseno.tabs.ancho - 240;
  QTest::newRow("anchos negativos") << 100 << 4600 << angosto;
}

void PruebaPlanilla::redimensionar() {
  QFETCH(int, ancho);
  QFETCH(int, alto);
  QFETCH(Disposicion, esperada);
  const Disposicion d = Redimensionar(DisposicionDeDiseno(), ancho, alto);
  const TamanoTwips obtenidos[] = {d.banda, d.tabs, d.grilla, d.panel, d.imagen};
  const TamanoTwips esperados[] = {esperada.banda, esperada.tabs, esperada.grilla, esperada.panel,
                                   esperada.imagen};
  const char* nombres[] = {"banda", "tabs", "grilla", "panel", "imagen"};
  for (int i = 0; i < 5; ++i) {
    QVERIFY2(obtenidos[i].ancho == esperados[i].ancho && obtenidos[i].alto == esperados[i].alto,
             qPrintable(QStringLiteral("%1: %2x%3, esperado %4x%5")
                            .arg(nombres[i])
                            .arg(obtenidos[i].ancho)
                            .arg(obtenidos[i].alto)
                            .arg(esperados[i].ancho)
                            .arg(esperados[i].alto)));
  }
}

void PruebaPlanilla::ventanaRedimensionada() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  const QRect barra = w.UtilKor1->geometry();
  const QRect fecha = w.txtFields[0]->geometry();
  w.resize(900, 600);
  // The rules lay out the window above its status bar.
  const int W = twips::DePixeles(w.frameGeometry().width());
  const int H = twips::DePixeles(w.frameGeometry().height() - AltoBarraDeEstado(&w), Qt::Vertical);
  QVERIFY(AltoBarraDeEstado(&w) > 0);
  QCOMPARE(w.Frame2->width(), twips::APixeles(W - 120));
  QCOMPARE(w.SSTab1->height(), twips::APixeles(H - 1260 - 400, Qt::Vertical));
  QCOMPARE(w.MSflexGrid1->height(), twips::APixeles(H - 1260 - 800, Qt::Vertical));
  QCOMPARE(w.MSflexGrid1->width(), twips::APixeles(W - 120));
  QCOMPARE(w.imgRep->width(), twips::APixeles(W - 360));
  // Widening moves nothing inside the header band.
  w.resize(1300, 600);
  QCOMPARE(w.UtilKor1->geometry(), barra);
  QCOMPARE(w.txtFields[0]->geometry(), fecha);
  QCOMPARE(w.Frame2->width(), twips::APixeles(twips::DePixeles(w.frameGeometry().width()) - 120));
}

void PruebaPlanilla::cerrar() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QTest::keyClick(w.txtFields[0], Qt::Key_F12);  // CERRAR
  QVERIFY(!w.isVisible());

  // In the loaded state CERRAR is off, but the title bar's close box still
  // ends the program.
  w.show();
  w.PlanillaCargada = true;
  bool cargada = true;
  w.EstadoPlanilla(cargada);
  QTest::keyClick(w.txtFields[0], Qt::Key_F12);
  QVERIFY(w.isVisible());
  QVERIFY(w.close());
  QVERIFY(!w.isVisible());
}

QTEST_MAIN(PruebaPlanilla)
#include "test_planilla.moc"
