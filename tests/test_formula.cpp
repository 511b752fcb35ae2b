// The report's formula language, without a database: typed dates turned into
// formula literals, selection formulas read and turned into each engine's
// WHERE text, formulas that cannot be read refused with their text quoted, the
// range of days a formula selects, and the formula assignments.

#include <QTest>

#include "services/falla.h"
#include "report/formula_reporte.h"
#include "services/lib_util.h"

namespace {

QString Sql(const QString& texto, Motor motor = Motor::Sqlite) {
  const std::optional<formula::Condicion> condicion = formula::LeerFormula(texto);
  if (!condicion) return QStringLiteral("<todas>");
  return formula::CondicionSql(*condicion, Dialecto(motor));
}

QString Dia(const std::optional<QDate>& dia) {
  return dia ? dia->toString(QStringLiteral("dd/MM/yyyy")) : QStringLiteral("-");
}

}  // namespace

class PruebaFormula : public QObject {
  Q_OBJECT

 private slots:
  void fechaFormula_data();
  void fechaFormula();
  void formulaASql_data();
  void formulaASql();
  void cadaMotor_data();
  void cadaMotor();
  void formulaIlegible_data();
  void formulaIlegible();
  void rangoDeFechas_data();
  void rangoDeFechas();
  void asignaciones_data();
  void asignaciones();
};

void PruebaFormula::fechaFormula_data() {
  QTest::addColumn<QString>("tecleada");
  QTest::addColumn<QString>("literal");  // empty: refused
  QTest::newRow("completa") << "15/03/2004"
                            << "Date(2004,03,15)";
  QTest::newRow("corta") << "5/3/04"
                         << "Date(2004,03,05)";
  QTest::newRow("con blancos") << "  1/12/2003 "
                               << "Date(2003,12,01)";
  QTest::newRow("bisiesto") << "29/02/2024"
                            << "Date(2024,02,29)";
  QTest::newRow("31 de febrero") << "31/02/2024"
                                 << "";
  QTest::newRow("palabra") << "hoy"
                           << "";
  QTest::newRow("cifras") << "12345"
                          << "";
  QTest::newRow("con comilla") << "1/1/2004')"
                               << "";
}

void PruebaFormula::fechaFormula() {
  QFETCH(QString, tecleada);
  QFETCH(QString, literal);
  try {
    const QString obtenido = LibUtil::FechaFormula(tecleada);
    QVERIFY2(!literal.isEmpty(), qPrintable("aceptó " + obtenido));
    QCOMPARE(obtenido, literal);
    // What the report request writes, the report reads back.
    QVERIFY(formula::LeerFormula("{V_MV_ZENTALIA.FECHA} >= " + obtenido).has_value());
  } catch (const Falla& falla) {
    QVERIFY2(literal.isEmpty(), qPrintable(falla.Mensaje()));
    QCOMPARE(falla.Codigo(), int(Falla::kTipoIncompatible));
    QVERIFY2(falla.Mensaje().contains("no es una fecha válida"), qPrintable(falla.Mensaje()));
  }
}

void PruebaFormula::formulaASql_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<QString>("sql");
  // The formulas the report request writes.
  QTest::newRow("vacía") << ""
                         << "<todas>";
  QTest::newRow("blancos") << "   \t "
                           << "<todas>";
  QTest::newRow("planilla cargada") << "{v_mv_ZENTALIA.fecha} = cdate('15/03/2004')"
                                    << "([Fecha] >= '2004-03-15' AND [Fecha] < '2004-03-16')";
  QTest::newRow("cargada, tecleada corta")
      << "{v_mv_ZENTALIA.fecha} = cdate('5/3/04')"
      << "([Fecha] >= '2004-03-05' AND [Fecha] < '2004-03-06')";
  QTest::newRow("desde") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01)"
                         << "[Fecha] >= '2004-03-01'";
  QTest::newRow("hasta") << " {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)"
                         << "[Fecha] < '2004-04-01'";
  QTest::newRow("desde y hasta")
      << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)"
      << "([Fecha] >= '2004-03-01' AND [Fecha] < '2004-04-01')";
  // The rest of the language.
  QTest::newRow("fin de año") << "{v_mv_zentalia.fecha} <= Date(2004,12,31)"
                              << "[Fecha] < '2005-01-01'";
  QTest::newRow("menor") << "{v_mv_zentalia.fecha} < Date(2004,3,15)"
                         << "[Fecha] < '2004-03-15'";
  QTest::newRow("mayor") << "{v_mv_zentalia.fecha} > Date(2004,3,15)"
                         << "[Fecha] >= '2004-03-16'";
  QTest::newRow("distinto") << "{v_mv_zentalia.fecha} <> cdate(2004,3,15)"
                            << "([Fecha] < '2004-03-15' OR [Fecha] >= '2004-03-16')";
  QTest::newRow("Date de un texto") << "{v_mv_zentalia.fecha_alta} >= Date('1/2/2004')"
                                    << "[fecha_alta] >= '2004-02-01'";
  QTest::newRow("literal a la izquierda") << "Date(2004,3,1) <= {v_mv_zentalia.fecha}"
                                          << "[Fecha] >= '2004-03-01'";
  QTest::newRow("número a la izquierda") << "14 < {v_mv_zentalia.humedad}"
                                         << "[HUMEDAD] > 14";
  QTest::newRow("AND antes que OR")
      << "{v_mv_zentalia.humedad} > 1 OR {v_mv_zentalia.seco} < 2 AND {v_mv_zentalia.cenizas} = 3"
      << "([HUMEDAD] > 1 OR ([SECO] < 2 AND [CENIZAS] = 3))";
  QTest::newRow("paréntesis")
      << "({v_mv_zentalia.humedad} > 1 OR {v_mv_zentalia.seco} < 2) AND {v_mv_zentalia.cenizas} = 3"
      << "(([HUMEDAD] > 1 OR [SECO] < 2) AND [CENIZAS] = 3)";
  QTest::newRow("NOT antes que AND")
      << "not {v_mv_zentalia.id} = 7 and {v_mv_zentalia.fecha} >= date(2004,3,1)"
      << "(NOT [ID] = 7 AND [Fecha] >= '2004-03-01')";
  QTest::newRow("NOT de un grupo")
      << "NOT ({v_mv_zentalia.tipo_harina} = '000' OR {v_mv_zentalia.color} = \"Blanco\")"
      << "NOT ([tipo_harina] = '000' OR [COLOR] = 'Blanco')";
  QTest::newRow("tres OR") << "{v_mv_zentalia.id}=1 or {v_mv_zentalia.id}=2 OR {v_mv_zentalia.id}=3"
                           << "([ID] = 1 OR [ID] = 2 OR [ID] = 3)";
  QTest::newRow("comillas dobladas") << "{v_mv_zentalia.observaciones} = 'l''ami'"
                                     << "[OBSERVACIONES] = 'l''ami'";
  QTest::newRow("texto entre comillas dobles") << "{v_mv_zentalia.caract} <> \"dice \"\"ok\"\"\""
                                               << "[CARACT] <> 'dice \"ok\"'";
  QTest::newRow("hora") << "{v_mv_zentalia.horario} >= '8:30'"
                        << "[HORARIO] >= '08:30:00'";
  QTest::newRow("negativo y decimal") << "{v_mv_zentalia.controlpesaje} > -0.5"
                                      << "[CONTROLPESAJE] > -0.5";
  QTest::newRow("campo con campo") << "{v_mv_zentalia.humedo} >= {v_mv_zentalia.seco}"
                                   << "[HUMEDO] >= [SECO]";
  const QString id = QStringLiteral("{v_mv_zentalia.id} = 1");
  QTest::newRow("100 paréntesis") << QString(100, '(') + id + QString(100, ')') << "[ID] = 1";
  QTest::newRow("100 NOT") << QStringLiteral("NOT ").repeated(100) + id
                           << QStringLiteral("NOT ").repeated(100) + "[ID] = 1";
  QTest::newRow("saltos de línea") << "{v_mv_zentalia.fecha}\n>=\r\nDate( 2004 , 3 , 1 )"
                                   << "[Fecha] >= '2004-03-01'";
}

void PruebaFormula::formulaASql() {
  QFETCH(QString, formula);
  QFETCH(QString, sql);
  QCOMPARE(Sql(formula), sql);
}

void PruebaFormula::cadaMotor_data() {
  QTest::addColumn<int>("motor");
  QTest::addColumn<QString>("sql");
  QTest::newRow("SQLite") << int(Motor::Sqlite)
                          << "([Fecha] >= '2004-03-01' AND [Fecha] < '2004-04-01' AND "
                             "[tipo_harina] = 'O''Neil')";
  QTest::newRow("PostgreSQL") << int(Motor::Postgresql)
                              << "(\"fecha\" >= '2004-03-01' AND \"fecha\" < '2004-04-01' AND "
                                 "\"tipo_harina\" = 'O''Neil')";
  QTest::newRow("SQL Server") << int(Motor::SqlServer)
                              << "([Fecha] >= '20040301' AND [Fecha] < '20040401' AND "
                                 "[tipo_harina] = 'O''Neil')";
}

void PruebaFormula::cadaMotor() {
  QFETCH(int, motor);
  QFETCH(QString, sql);
  QCOMPARE(Sql("{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  {V_MV_ZENTALIA.FECHA} <= "
               "Date(2004,03,31) AND {v_mv_zentalia.tipo_harina} = 'O''Neil'",
               Motor(motor)),
           sql);
}

void PruebaFormula::formulaIlegible_data() {
  QTest::addColumn<QString>("formula");
  QTest::newRow("termina antes") << "{V_MV_ZENTALIA.FECHA} >= ";
  QTest::newRow("AND sin nada") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,3,1) AND";
  QTest::newRow("llave sin cerrar") << "{V_MV_ZENTALIA.FECHA >= Date(2004,3,1)";
  QTest::newRow("paréntesis sin cerrar") << "({V_MV_ZENTALIA.HUMEDAD} > 1";
  QTest::newRow("paréntesis de más") << "{V_MV_ZENTALIA.HUMEDAD} > 1)";
  QTest::newRow("texto sin cerrar") << "{V_MV_ZENTALIA.OBSERVACIONES} = 'sin cerrar";
  QTest::newRow("sobra un campo") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,3,1) {V_MV_ZENTALIA.ID}";
  QTest::newRow("sin comparación") << "{V_MV_ZENTALIA.FECHA}";
  QTest::newRow("otra tabla") << "{OTRA.FECHA} >= Date(2004,3,1)";
  QTest::newRow("sin tabla") << "{FECHA} >= Date(2004,3,1)";
  QTest::newRow("campo que no existe") << "{V_MV_ZENTALIA.NOEXISTE} = 1";
  QTest::newRow("30 de febrero") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,2,30)";
  QTest::newRow("cdate de una palabra") << "{V_MV_ZENTALIA.FECHA} = cdate('hoy')";
  QTest::newRow("Date con punto y coma") << "{V_MV_ZENTALIA.FECHA} >= Date(2004;3;1)";
  QTest::newRow("Date con dos cifras") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,3)";
  QTest::newRow("fecha con texto") << "{V_MV_ZENTALIA.FECHA} = '15/03/2004'";
  QTest::newRow("número con texto") << "{V_MV_ZENTALIA.HUMEDAD} > 'x'";
  QTest::newRow("texto con número") << "{V_MV_ZENTALIA.TIPO_HARINA} = 5";
  QTest::newRow("hora que no es hora") << "{V_MV_ZENTALIA.HORARIO} = 'tarde'";
  QTest::newRow("número con fecha") << "{V_MV_ZENTALIA.HUMEDAD} = Date(2004,3,1)";
  QTest::newRow("campos de distinta clase") << "{V_MV_ZENTALIA.HUMEDAD} = {V_MV_ZENTALIA.COLOR}";
  QTest::newRow("sin campo") << "1 = 1";
  QTest::newRow("doble comparador") << "{V_MV_ZENTALIA.HUMEDAD} >> 1";
  QTest::newRow("número a medias") << "{V_MV_ZENTALIA.HUMEDAD} > 1.";
  QTest::newRow("palabra suelta") << "{V_MV_ZENTALIA.HUMEDAD} > uno";
  QTest::newRow("sentencia añadida") << "{V_MV_ZENTALIA.ID} = 1; DROP TABLE v_mv_zentalia";
  QTest::newRow("comentario SQL") << "{V_MV_ZENTALIA.ID} = 1 -- todo";
  QTest::newRow("marcas de texto") << "{V_MV_ZENTALIA.%1} = '%2'";
  // Nesting deep enough to overflow the stack of a reader without a limit.
  const QString id = QStringLiteral("{V_MV_ZENTALIA.ID} = 1");
  QTest::newRow("101 paréntesis") << QString(101, '(') + id + QString(101, ')');
  QTest::newRow("101 NOT") << QStringLiteral("NOT ").repeated(101) + id;
  QTest::newRow("NOT y paréntesis") << QStringLiteral("NOT (").repeated(51) + id + QString(51, ')');
  QTest::newRow("20000 paréntesis") << QString(20000, '(') + id + QString(20000, ')');
  QTest::newRow("20000 paréntesis sin cerrar") << QString(20000, '(');
  QTest::newRow("20000 NOT") << QStringLiteral("NOT ").repeated(20000) + id;
}

void PruebaFormula::formulaIlegible() {
  QFETCH(QString, formula);
  try {
    const QString sql = Sql(formula);
    QFAIL(qPrintable("leída como " + sql));
  } catch (const Falla& falla) {
    QCOMPARE(falla.Codigo(), int(Falla::kArgumentoInvalido));
    QVERIFY2(falla.Mensaje().contains("«" + formula + "»"), qPrintable(falla.Mensaje()));
  }
}

void PruebaFormula::rangoDeFechas_data() {
  QTest::addColumn<QString>("formula");
  QTest::addColumn<QString>("rango");  // "desde hasta vacío", or "no" for none
  QTest::newRow("día") << "{v_mv_ZENTALIA.fecha} = cdate('15/03/2004')"
                       << "15/03/2004 15/03/2004 no";
  QTest::newRow("desde") << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01)"
                         << "01/03/2004 - no";
  QTest::newRow("hasta") << " {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)"
                         << "- 31/03/2004 no";
  QTest::newRow("ambas")
      << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)"
      << "01/03/2004 31/03/2004 no";
  QTest::newRow("al revés")
      << "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,31) AND  {V_MV_ZENTALIA.FECHA} <= Date(2004,03,01)"
      << "31/03/2004 01/03/2004 sí";
  QTest::newRow("estrictas") << "{v_mv_zentalia.fecha} > Date(2004,3,1) AND "
                                "{v_mv_zentalia.fecha} < Date(2004,3,31)"
                             << "02/03/2004 30/03/2004 no";
  QTest::newRow("con OR") << "{v_mv_zentalia.fecha} = Date(2004,3,1) OR "
                             "{v_mv_zentalia.fecha} = Date(2004,3,5)"
                          << "no";
  QTest::newRow("otra columna") << "{v_mv_zentalia.fecha_alta} >= Date(2004,3,1)"
                                << "no";
  QTest::newRow("con humedad") << "{v_mv_zentalia.fecha} >= Date(2004,3,1) AND "
                                  "{v_mv_zentalia.humedad} > 14"
                               << "no";
}

void PruebaFormula::rangoDeFechas() {
  QFETCH(QString, formula);
  QFETCH(QString, rango);
  const std::optional<formula::Rango> leido =
      formula::RangoDeFechas(*formula::LeerFormula(formula));
  const QString obtenido =
      leido ? Dia(leido->desde) + " " + Dia(leido->hasta) + (leido->Vacio() ? " sí" : " no")
            : QStringLiteral("no");
  QCOMPARE(obtenido, rango);
}

void PruebaFormula::asignaciones_data() {
  QTest::addColumn<QString>("texto");
  QTest::addColumn<QString>("nombre");  // empty: not an assignment
  QTest::addColumn<QString>("valor");
  QTest::newRow("empresa") << "empresa = 'Molino La Espiga'"
                           << "empresa"
                           << "Molino La Espiga";
  QTest::newRow("título") << "NOMBREREP= 'Análisis de Harina'"
                          << "NOMBREREP"
                          << "Análisis de Harina";
  QTest::newRow("vacía") << "Parametros = ''"
                         << "Parametros"
                         << "";
  QTest::newRow("sin configuración") << "empresa = ' '"
                                     << "empresa"
                                     << " ";
  QTest::newRow("comilla dentro") << "empresa = 'Molino O'Higgins'"
                                  << "empresa"
                                  << "Molino O'Higgins";
  QTest::newRow("comillas dobles") << "empresa = \"Molino\""
                                   << "empresa"
                                   << "Molino";
  QTest::newRow("igual dentro") << "empresa = 'a = b'"
                                << "empresa"
                                << "a = b";
  QTest::newRow("sin igual") << "empresa 'Molino'"
                             << ""
                             << "";
  QTest::newRow("sin nombre") << " = 'Molino'"
                              << ""
                              << "";
}

void PruebaFormula::asignaciones() {
  QFETCH(QString, texto);
  QFETCH(QString, nombre);
  QFETCH(QString, valor);
  const std::optional<formula::Asignacion> asignacion = formula::LeerAsignacion(texto);
  QCOMPARE(asignacion.has_value(), !nombre.isEmpty());
  if (!asignacion) return;
  QCOMPARE(asignacion->nombre, nombre);
  QCOMPARE(asignacion->valor, valor);
}

QTEST_MAIN(PruebaFormula)
#include "test_formula.moc"
