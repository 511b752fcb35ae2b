// The control chart's figures and run rules against values worked out by
// hand on small fixtures, the words of each broken rule, the figures as the
// operator reads them, and the statement that reads the chart's values on
// every engine. Pure: no database.

#include <QTest>
#include <algorithm>

#include "analisis/control.h"
#include "analisis/lector_control.h"
#include "report/grafico_control.h"
#include "services/dialecto.h"

namespace {

QList<PuntoControl> Puntos(const QList<std::optional<double>>& valores) {
  QList<PuntoControl> puntos;
  QDate dia(2004, 3, 1);
  for (const std::optional<double>& valor : valores) {
    puntos.append({dia, QStringLiteral("08:00"), valor});
    dia = dia.addDays(1);
  }
  return puntos;
}

QList<std::optional<double>> Valores(const QList<double>& numeros) {
  QList<std::optional<double>> valores;
  for (double numero : numeros) valores.append(numero);
  return valores;
}

// "7 R4+": point, rule, side, as the table of cases writes them.
QStringList Rotas(const Control& c) {
  static const char* nombres[] = {"R1", "R2", "R3", "R4"};
  QStringList rotas;
  for (const Violacion& v : c.violaciones)
    rotas << QStringLiteral("%1 %2%3")
                 .arg(v.punto)
                 .arg(QLatin1String(nombres[static_cast<int>(v.regla)]))
                 .arg(v.arriba ? '+' : '-');
  return rotas;
}

}  // namespace

class PruebaControl : public QObject {
  Q_OBJECT

 private slots:
  void figurasConUnValorVacio();
  void pocosPuntos();
  void reglas_data();
  void reglas();
  void palabrasDeLasReglas();
  void figurasComoLasLeeElOperador();
  void sentencias_data();
  void sentencias();
};

void PruebaControl::figurasConUnValorVacio() {
  // 10, 12, (empty), 11, 13, 9: five points. Mean 55 / 5 = 11; moving ranges
  // 2, 1, 2, 4 (the empty value is no point: 11 follows 12), mean 9 / 4 =
  // 2.25; limits 11 ± 2.66 · 2.25; sigma 2.25 / 1.128; sample deviation
  // sqrt(10 / 4). Limits 6 to 17: Cp = 11 / 6 sigma, Cpk = (11 - 6) / 3
  // sigma.
  const Control c = CalcularControl(Puntos({10.0, 12.0, std::nullopt, 11.0, 13.0, 9.0}), 6.0, 17.0);
  QCOMPARE(c.n, 5);
  QCOMPARE(c.media, 11.0);
  QCOMPARE(c.rangos, QList<double>({2, 1, 2, 4}));
  QCOMPARE(c.rangoMedio, 2.25);
  QVERIFY(qFuzzyCompare(c.lcs, 16.985));
  QVERIFY(qFuzzyCompare(c.lci, 5.015));
  QVERIFY(qFuzzyCompare(c.lcsRango, 7.35075));
  QVERIFY(qFuzzyCompare(c.sigma, 1.9946808510638));
  QVERIFY(qFuzzyCompare(c.desvio, 1.5811388300842));
  QVERIFY(c.cp && c.cpk);
  QVERIFY(qFuzzyCompare(*c.cp, 0.9191111111111));
  QVERIFY(qFuzzyCompare(*c.cpk, 0.8355555555556));
  QCOMPARE(c.puntos[2].fecha, QDate(2004, 3, 4));  // the point after the gap
  QVERIFY(c.violaciones.isEmpty());

  // A one-sided limit has no Cp nor Cpk.
  const Control unLado = CalcularControl(Puntos({10.0, 12.0, 11.0}), std::nullopt, 17.0);
  QVERIFY(!unLado.cp && !unLado.cpk);
}

void PruebaControl::pocosPuntos() {
  const Control vacio = CalcularControl(Puntos({std::nullopt, std::nullopt}), 1.0, 2.0);
  QCOMPARE(vacio.n, 0);
  QVERIFY(!vacio.conLimites);
  const Control uno = CalcularControl(Puntos({std::nullopt, 4.5}), 1.0, 9.0);
  QCOMPARE(uno.n, 1);
  QCOMPARE(uno.media, 4.5);
  QVERIFY(!uno.conLimites && !uno.cp && uno.violaciones.isEmpty());
  // Every value alike: no variation, no sigma, no rule and no capability.
  const Control iguales = CalcularControl(Puntos(Valores(QList<double>(9, 3.0))), 1.0, 5.0);
  QVERIFY(iguales.conLimites);
  QCOMPARE(iguales.lcs, 3.0);
  QVERIFY(!iguales.cp && iguales.violaciones.isEmpty());
}

void PruebaControl::reglas_data() {
  QTest::addColumn<QList<double>>("valores");
  QTest::addColumn<QStringList>("rotas");
  // Mean 10.5, MRbar 5.5 / 6, sigma 0.81: nothing beyond 1 sigma, no run of
  // eight.
  QTest::newRow("ninguna") << QList<double>{10, 11, 10, 11, 10, 11, 10.5} << QStringList();
  // Mean 12.8, MRbar 52 / 9, LCS 12.8 + 2.66 · 5.78 = 28.17: 30 is beyond.
  QTest::newRow("fuera de LCS") << QList<double>{10, 12, 10, 12, 10, 12, 10, 30, 12, 10}
                                << QStringList{"7 R1+"};
  // Mean 159 / 9 = 17.67, MRbar 42 / 8 = 5.25, LCI 17.67 - 13.97 = 3.70: 2 is
  // below.
  QTest::newRow("fuera de LCI") << QList<double>{20, 19, 20, 19, 20, 2, 20, 19, 20}
                                << QStringList{"5 R1-"};
  // Mean 11.9, MRbar 18 / 9 = 2, sigma 1.773: 2 sigma above is 15.45 and LCS
  // 17.22, so the two 16 are beyond 2 sigma only; the second completes it.
  QTest::newRow("2 de 3 arriba") << QList<double>{10, 12, 11, 16, 16, 11, 10, 12, 11, 10}
                                 << QStringList{"4 R2+"};
  // Mean 8.1, sigma 1.773: 2 sigma below is 4.55, LCI 2.78.
  QTest::newRow("2 de 3 abajo") << QList<double>{10, 8, 9, 4, 4, 9, 10, 8, 9, 10}
                                << QStringList{"4 R2-"};
  // Mean 123 / 11 = 11.18, MRbar 11 / 10 = 1.1, sigma 0.975: 1 sigma above is
  // 12.16 and 2 sigma 13.13; four 13 in a row, the fourth completes 4 of 5.
  QTest::newRow("4 de 5") << QList<double>{10, 11, 10, 13, 13, 13, 13, 10, 11, 10, 9}
                          << QStringList{"6 R3+"};
  // Mean 153 / 15 = 10.2, MRbar 30 / 14 = 2.14, sigma 1.90: the first eight
  // are above the centre, none beyond 2 sigma, never 4 of 5 beyond 1 sigma.
  QTest::newRow("8 seguidos") << QList<double>{11, 13, 11, 13, 11, 13, 11, 13, 9, 7, 9, 7, 9, 7, 9}
                              << QStringList{"7 R4+"};
}

void PruebaControl::reglas() {
  QFETCH(QList<double>, valores);
  QFETCH(QStringList, rotas);
  const Control c = CalcularControl(Puntos(Valores(valores)), std::nullopt, std::nullopt);
  QCOMPARE(Rotas(c), rotas);
  for (int i = 0; i < c.n; ++i) {
    const bool rota = std::any_of(rotas.begin(), rotas.end(), [&](const QString& r) {
      return r.section(' ', 0, 0).toInt() == i;
    });
    QCOMPARE(PuntoMarcado(c, i), rota);
  }
}

void PruebaControl::palabrasDeLasReglas() {
  QList<PuntoControl> puntos = Puntos(Valores({20, 19, 20, 19, 20, 2, 20, 19, 20}));
  puntos[5].fecha = QDate(2004, 3, 15);
  puntos[5].horario = QStringLiteral("08:30");
  Control c = CalcularControl(puntos, std::nullopt, std::nullopt);
  QCOMPARE(DescribirViolacion(c, c.violaciones.value(0)),
           QStringLiteral("15/03/2004 08:30: fuera del límite de control inferior (LCI)"));
  const QList<std::pair<Violacion, QString>> casos = {
      {{5, Regla::FueraDeLimite, true}, "fuera del límite de control superior (LCS)"},
      {{5, Regla::DosDeTres, false}, "2 de 3 puntos a más de 2 sigma por debajo de la media"},
      {{5, Regla::CuatroDeCinco, true}, "4 de 5 puntos a más de 1 sigma por encima de la media"},
      {{5, Regla::OchoSeguidos, false}, "8 puntos seguidos por debajo de la media"},
  };
  for (const auto& [violacion, palabras] : casos)
    QCOMPARE(DescribirViolacion(c, violacion), "15/03/2004 08:30: " + palabras);
  puntos[5].horario.clear();
  c = CalcularControl(puntos, std::nullopt, std::nullopt);
  QVERIFY(DescribirViolacion(c, c.violaciones.value(0)).startsWith("15/03/2004: fuera"));
}

void PruebaControl::figurasComoLasLeeElOperador() {
  DatosGrafico datos;
  datos.pedido.tipo = QStringLiteral(" 0000 ");
  datos.pedido.dia = QDate(2004, 3, 15);
  datos.columna = CampoPorNombre(QStringLiteral("CENIZAS"));
  // 0.50, 0.54, 0.52, 0.59: mean 0.5375, ranges .04 .02 .07, MRbar 0.04333,
  // LCS 0.5375 + 0.11527 = 0.6528, LCI 0.4222; deviation sqrt(0.004475 / 3)
  // = 0.0386; sigma 0.03842, Cp 0.28 / 0.2305 = 1.215, Cpk 0.1375 / 0.11525 =
  // 1.193.
  datos.control = CalcularControl(Puntos({0.50, 0.54, 0.52, 0.59}), 0.40, 0.68);
  using Figuras = QList<QPair<QString, QString>>;
  QCOMPARE(FigurasGrafico(datos, ","), (Figuras{{"n", "4"},
                                                {"Media", "0,54"},
                                                {"Desvío estándar", "0,04"},
                                                {"LC", "0,54"},
                                                {"LCS", "0,65"},
                                                {"LCI", "0,42"},
                                                {"Cp", "1,21"},
                                                {"Cpk", "1,19"}}));
  QCOMPARE(FigurasGrafico(datos, ".").value(4).second, QStringLiteral("0.65"));
  QCOMPARE(SubtituloGrafico(datos),
           QStringLiteral("Cenizas (g/100 g) · 0000 · últimos 60 análisis hasta el 15/03/2004"));
  datos.pedido.desde = QDate(2004, 3, 1);
  datos.pedido.hasta = QDate(2004, 3, 31);
  QVERIFY(SubtituloGrafico(datos).endsWith("del 01/03/2004 al 31/03/2004"));
  QCOMPARE(ReglasGrafico(datos), QStringList{"Ninguna regla de control rota."});
  // Without limits: neither Cp nor Cpk is shown.
  datos.control = CalcularControl(Puntos({0.50, 0.54}), std::nullopt, 0.65);
  QCOMPARE(FigurasGrafico(datos, ",").size(), 6);
}

void PruebaControl::sentencias_data() {
  QTest::addColumn<int>("motor");
  QTest::addColumn<bool>("rango");
  QTest::addColumn<QString>("sql");
  const int sqlite = static_cast<int>(Motor::Sqlite), pg = static_cast<int>(Motor::Postgresql),
            ss = static_cast<int>(Motor::SqlServer);
  QTest::newRow("sqlite, últimos")
      << sqlite << false
      << "SELECT [Fecha], [HORARIO], [CENIZAS] FROM v_mv_zentalia WHERE "
         "UPPER(LTRIM(RTRIM([tipo_harina]))) = UPPER('0''0') AND [CENIZAS] IS NOT NULL AND [Fecha] "
         "< "
         "'2004-03-16' ORDER BY [Fecha] DESC, CASE WHEN [HORARIO] IS NULL THEN 0 ELSE 1 END DESC, "
         "[HORARIO] DESC, ID DESC LIMIT 60";
  QTest::newRow("postgresql, rango")
      << pg << true
      << "SELECT \"fecha\", \"horario\", \"cenizas\" FROM v_mv_zentalia WHERE "
         "UPPER(LTRIM(RTRIM(\"tipo_harina\"))) = UPPER('0''0') AND \"cenizas\" IS NOT NULL AND "
         "\"fecha\" "
         ">= '2004-03-01' AND \"fecha\" < '2004-04-01' ORDER BY \"fecha\", CASE WHEN \"horario\" "
         "IS NULL THEN 0 ELSE 1 END, \"horario\", ID";
  QTest::newRow("sql server, últimos")
      << ss << false
      << "SELECT TOP 60 [Fecha], [HORARIO], [CENIZAS] FROM v_mv_zentalia WHERE "
         "UPPER(LTRIM(RTRIM([tipo_harina]))) = UPPER('0''0') AND [CENIZAS] IS NOT NULL AND [Fecha] "
         "< "
         "'20040316' ORDER BY [Fecha] DESC, CASE WHEN [HORARIO] IS NULL THEN 0 ELSE 1 END DESC, "
         "[HORARIO] DESC, ID DESC";
}

void PruebaControl::sentencias() {
  QFETCH(int, motor);
  QFETCH(bool, rango);
  QFETCH(QString, sql);
  PedidoControl pedido;
  pedido.campo = QStringLiteral("CENIZAS");
  pedido.tipo = QStringLiteral(" 0'0 ");  // a quote, and blanks typed around it
  pedido.dia = QDate(2004, 3, 15);
  if (rango) {
    pedido.desde = QDate(2004, 3, 1);
    pedido.hasta = QDate(2004, 3, 31);
  }
  QCOMPARE(SentenciaControl(Dialecto(static_cast<Motor>(motor)), pedido), sql);
}

QTEST_MAIN(PruebaControl)
#include "test_control.moc"
