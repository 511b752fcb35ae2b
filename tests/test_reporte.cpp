// The report request from the window, driven by keys: the report tab, the
// selection formula REPORTE writes in each case and the rest of the request,
// dates that are not dates; and the analyses each formula selects, read from
// the database. Runs on SQLite and on PostgreSQL.

#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

#include "report/analisis_reporte.h"
#include "report/formula_reporte.h"
#include "report/lib_reportes.h"
#include "services/lib_datos.h"
#include "session/estado_sesion.h"
#include "soporte/reporte_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

QStringList Tipos(const OperadorGuionado& operador) {
  QStringList tipos;
  for (const Pregunta& p : operador.preguntas) tipos << p.tipo + ": " + p.titulo + " " + p.texto;
  return tipos;
}

}  // namespace

class PruebaReporte : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void pestanaDelReporte();
  void solicitudDeCadaCaso_data();
  void solicitudDeCadaCaso();
  void fechaQueNoEsFecha_data();
  void fechaQueNoEsFecha();
  void filasSeleccionadas_data();
  void filasSeleccionadas();
};

void PruebaReporte::pestanaDelReporte() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  QCOMPARE(Habilitados(w), QStringList({"CONSULTAR", "CERRAR"}));
  IrAlReporte(w);
  QCOMPARE(w.SSTab1->currentIndex(), 1);
  QVERIFY(w.txtFields[2]->hasFocus());
  QCOMPARE(Habilitados(w), QStringList({"CONSULTAR", "REPORTE", "CERRAR"}));
  w.SSTab1->setCurrentIndex(0);
  QVERIFY(!Habilitados(w).contains("REPORTE"));
  // A day loaded from the report tab: the tab goes, the sheet's report stays.
  IrAlReporte(w);
  CargarDia(w, "15/03/2004");
  QVERIFY(w.PlanillaCargada);
  QCOMPARE(w.SSTab1->currentIndex(), 0);
  QVERIFY(!w.SSTab1->isTabEnabled(1));
  QVERIFY(Habilitados(w).contains("REPORTE"));
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);
}

void PruebaReporte::solicitudDeCadaCaso_data() {
  QTest::addColumn<QString>("dia");  // the day loaded first; empty: idle
  QTest::addColumn<QString>("desde");
  QTest::addColumn<QString>("hasta");
  QTest::addColumn<QString>("formula");
  QTest::newRow("planilla cargada") << "15/03/2004"
                                    << "01/01/2004"
                                    << "31/12/2004"
                                    << "{v_mv_ZENTALIA.fecha} = cdate('15/03/2004')";
  QTest::newRow("cargada, fecha corta") << "5/3/04"
                                        << ""
                                        << ""
                                        << "{v_mv_ZENTALIA.fecha} = cdate('5/3/04')";
  QTest::newRow("solo desde") << ""
                              << "01/03/2004"
                              << ""
                              << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01)";
  QTest::newRow("solo hasta") << ""
                              << ""
                              << "31/3/04"
                              << " {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)";
  QTest::newRow("ambas") << ""
                         << "1/3/2004"
                         << "31/03/2004"
                         << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  "
                            "{V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)";
  QTest::newRow("ninguna") << ""
                           << ""
                           << ""
                           << "";
  QTest::newRow("solo blancos") << ""
                                << "   "
                                << " "
                                << "";
}

void PruebaReporte::solicitudDeCadaCaso() {
  QFETCH(QString, dia);
  QFETCH(QString, desde);
  QFETCH(QString, hasta);
  QFETCH(QString, formula);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  FijarEmpresa(v.entorno, "Molino O'Higgins");
  LibReportes& reportes = LibReportes::Instancia();
  reportes.OpcionA = false;
  reportes.OpcionB = false;
  reportes.OpcionC = true;
  if (dia.isEmpty()) {
    PedirReporte(w, desde, hasta);
  } else {
    // The range fields hold dates, but a loaded day is reported alone.
    w.txtFields[2]->setText(desde);
    w.txtFields[3]->setText(hasta);
    CargarDia(w, dia);
    QVERIFY(w.PlanillaCargada);
    Tecla(Qt::Key_F6);
  }
  const SolicitudReporte& pedido = reportes.UltimaSolicitud();
  QCOMPARE(pedido.reporte, QStringLiteral("Rp_ZENTALIA"));
  QCOMPARE(pedido.formula, formula);
  QCOMPARE(pedido.parametros, QStringList({"", ""}));
  // The report reads through the session's connection: no connection text,
  // and so no password, travels with the request.
  QVERIFY(pedido.conexion.isEmpty());
  QCOMPARE(pedido.asignaciones,
           QStringList({"empresa = 'Molino O'Higgins'", "NOMBREREP= 'Análisis de Harina'",
                        "Parametros = ''"}));
  QVERIFY(reportes.OpcionA);
  QVERIFY(reportes.OpcionB);
  QVERIFY(!reportes.OpcionC);
  // The report was read and shown in the preview; nothing else was asked.
  QCOMPARE(Tipos(v.entorno.operador()), QStringList({"vista previa: Análisis de Harina "}));
}

void PruebaReporte::fechaQueNoEsFecha_data() {
  QTest::addColumn<int>("campo");
  QTest::addColumn<QString>("texto");
  QTest::newRow("desde, 31 de febrero") << 2 << "31/02/2024";
  QTest::newRow("hasta, palabra") << 3 << "hoy";
  QTest::newRow("hasta, sin año") << 3 << "15/03";
}

void PruebaReporte::fechaQueNoEsFecha() {
  QFETCH(int, campo);
  QFETCH(QString, texto);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  IrAlReporte(w);
  w.txtFields[campo]->setText(texto);  // pasted: letters are never typed in
  w.txtFields[5 - campo]->setText("01/03/2004");
  Tecla(Qt::Key_F6);
  const QList<Pregunta>& preguntas = v.entorno.operador().preguntas;
  QCOMPARE(preguntas.size(), 1);
  QCOMPARE(preguntas[0].tipo, QStringLiteral("avisar"));
  QVERIFY2(preguntas[0].texto.contains("«" + texto + "» no es una fecha válida"),
           qPrintable(preguntas[0].texto));
  // Refused before the report was asked for: nothing was read nor shown.
  QVERIFY(LibReportes::Instancia().UltimaSolicitud().reporte.isEmpty());
  QCOMPARE(v.entorno.operador().progresos, 0);
}

void PruebaReporte::filasSeleccionadas_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<QString>("filas");  // the analyses below, in the report's order
  QTest::newRow("todas") << ""
                         << "a c b e d f g";
  QTest::newRow("un día, con su momento") << "{v_mv_ZENTALIA.fecha} = cdate('15/03/2004')"
                                          << "e d";
  QTest::newRow("desde") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01)"
                         << "c b e d f g";
  QTest::newRow("hasta") << " {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)"
                         << "a c b e d f";
  QTest::newRow("ambas") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  "
                            "{V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)"
                         << "c b e d f";
  QTest::newRow("al revés") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,31) AND  "
                               "{V_MV_ZENTALIA.FECHA} <= Date(2004,03,01)"
                            << "";
  QTest::newRow("tipo") << "{v_mv_zentalia.TIPO_HARINA} = '000'"
                        << "a e f";
  QTest::newRow("NOT") << "NOT ({v_mv_zentalia.tipo_harina} = '000')"
                       << "c b g";
  QTest::newRow("número y fecha") << "{v_mv_zentalia.humedad} >= 14.5 AND "
                                     "{v_mv_zentalia.fecha} < Date(2004,4,1)"
                                  << "c b";
  QTest::newRow("OR") << "{v_mv_zentalia.fecha} = Date(2004,2,29) OR {v_mv_zentalia.humedad} > 14.9"
                      << "a c";
  QTest::newRow("hora") << "{v_mv_zentalia.horario} <= '8:00'"
                        << "a c e g";
  QTest::newRow("texto con comilla") << "{v_mv_zentalia.observaciones} = 'l''ami'"
                                     << "f";
}

void PruebaReporte::filasSeleccionadas() {
  QFETCH(QString, formula);
  QFETCH(QString, filas);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  const QMap<qint64, QString> letras = {
      {Sembrar(e, {"2004-02-29", "08:00:00", "000", "14.0"}), "a"},
      {Sembrar(e, {"2004-03-01", "09:00:00", "0000", "14.5"}), "b"},
      {Sembrar(e, {"2004-03-01", "07:00:00", "Integral", "15.0"}), "c"},
      {Sembrar(e, {"2004-03-15 13:30:00", nullptr, nullptr, nullptr, nullptr, "con su momento"}),
       "d"},
      // Blank in every column: no analysis, whatever the selection.
      {Sembrar(e, {"2004-03-15"}), "x"},
      {Sembrar(e, {"2004-03-15", "06:00:00", "000", "13.5"}), "e"},
      {Sembrar(e, {"2004-03-31 10:00:00", "10:00:00", "000", "14.2", nullptr, "l'ami"}), "f"},
      {Sembrar(e, {"2004-04-01", "08:00:00", "0000", "14.8"}), "g"},
  };
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const std::optional<formula::Condicion> condicion = formula::LeerFormula(formula);
  const QString sql = condicion ? formula::CondicionSql(*condicion, conexion.dialecto()) : "";
  const auto analisis = LeerAnalisis(conexion, sql, [](qint64) { return true; });
  QVERIFY(analisis.has_value());
  QStringList leidas;
  for (const AnalisisReporte& a : *analisis) leidas << letras.value(a.id, "?");
  QCOMPARE(leidas.join(' '), filas);
  // A text that repeats is held once, whichever cells show it: a long
  // report's memory is mostly its cells.
  for (const AnalisisReporte& a : *analisis)
    for (const AnalisisReporte& b : *analisis)
      for (int c = 0; c < kColumnasReporte; ++c)
        if (&a != &b && !a.celdas[c].isEmpty() && a.celdas[c] == b.celdas[c])
          QVERIFY2(a.celdas[c].constData() == b.celdas[c].constData(), qPrintable(a.celdas[c]));
}

QTEST_MAIN(PruebaReporte)
#include "test_reporte.moc"
