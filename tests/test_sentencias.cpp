// The pure pieces of the day sheet: the statements for every engine (SQL
// Server's byte for byte), the typed date, the time-of-day column, the column
// table and how values read from the database are shown.

#include <QLocale>
#include <QTest>
#include <QTime>

#include "services/falla.h"
#include "services/fechas.h"
#include "services/lib_campos.h"
#include "sheet/columnas.h"
#include "sheet/horario.h"
#include "sheet/sentencias.h"

Q_DECLARE_METATYPE(Motor)

class PruebaSentencias : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void sentencias_data();
  void sentencias();
  void valorDeCelda_data();
  void valorDeCelda();
  void fechaTecleada_data();
  void fechaTecleada();
  void horario_data();
  void horario();
  void columnas();
  void textoDeCelda();
};

void PruebaSentencias::sentencias_data() {
  QTest::addColumn<QString>("obtenido");
  QTest::addColumn<QString>("esperado");
  const QDate dia(2004, 3, 15);
  const QDateTime ahora(QDate(2004, 8, 31), QTime(10, 15, 30));
  const Dialecto sqlServer(Motor::SqlServer), sqlite(Motor::Sqlite), pg(Motor::Postgresql);
  const QString tabla = QStringLiteral("v_mv_zentalia");
  const QString columnas = QStringLiteral(
      "SELECT ID,tipo_harina , HORARIO , HUMEDO,SECO, CARACT, FALLINGNUMBER, HUMEDAD,CENIZAS, "
      "COLOR, CONTROLPESAJE,OBSERVACIONES FROM v_mv_zentalia");

  QTest::newRow("dia sqlserver") << sentencias::ConsultaDia(sqlServer, tabla, dia, "15/03/2004",
                                                            true)
                                 << columnas +
                                        " where fecha between  '20040315 00:00:00' and "
                                        "'20040315 23:59:59' order by horario";
  // SQL Server reads yyyymmdd alike under every language: the typed form,
  // blanks included, never reaches it.
  QTest::newRow("dia con blancos sqlserver")
      << sentencias::ConsultaDia(sqlServer, tabla, dia, " 15/03/2004 ", false)
      << columnas + " where fecha between  '20040315 00:00:00' and '20040315 23:59:59'";
  QTest::newRow("dia 13 sqlserver")
      << sentencias::ConsultaDia(sqlServer, tabla, QDate(2004, 3, 13), "13/3/04", false)
      << columnas + " where fecha between  '20040313 00:00:00' and '20040313 23:59:59'";
  QTest::newRow("dia sqlite") << sentencias::ConsultaDia(sqlite, tabla, dia, "15/3/2004", true)
                              << columnas +
                                     " where fecha between  '2004-03-15 00:00:00' and "
                                     "'2004-03-15 23:59:59' order by horario";
  QTest::newRow("dia postgresql sin orden")
      << sentencias::ConsultaDia(pg, tabla, dia, "15/03/04", false)
      << columnas + " where fecha between  '2004-03-15 00:00:00' and '2004-03-15 23:59:59'";

  QTest::newRow("fila nueva sqlserver")
      << sentencias::FilaNueva(sqlServer, dia, "15/03/2004", "ana", ahora)
      << "INSERT INTO v_mv_zentalia (Fecha,responsable,fecha_alta) VALUES ('20040315' , "
         "'ana','20040831 10:15:30')";
  QTest::newRow("fila nueva sqlite")
      << sentencias::FilaNueva(sqlite, dia, "15/03/2004", "O'Brien", ahora)
      << "INSERT INTO v_mv_zentalia (Fecha,responsable,fecha_alta) VALUES ('2004-03-15 "
         "00:00:00' , 'O''Brien','2004-08-31 10:15:30')";

  QTest::newRow("celda sqlserver")
      << sentencias::ActualizarCelda(sqlServer, tabla, "Horario", "'08:30:00'", ahora, 17)
      << "UPDATE v_mv_zentalia SET [Horario] = '08:30:00', fecha_modificacion ='20040831 "
         "10:15:30' WHERE ID = 17";
  QTest::newRow("celda postgresql clave de 64 bits")
      << sentencias::ActualizarCelda(pg, tabla, "humedad", "NULL", ahora, 5000000000LL)
      << "UPDATE v_mv_zentalia SET \"humedad\" = NULL, fecha_modificacion ='2004-08-31 "
         "10:15:30' WHERE ID = 5000000000";
  QTest::newRow("borrar sqlserver")
      << sentencias::BorrarAnalisis(sqlServer, tabla, 57) << "DELETE v_mv_zentalia WHERE ID = 57";
  QTest::newRow("borrar sqlite") << sentencias::BorrarAnalisis(sqlite, tabla, 40000)
                                 << "DELETE FROM v_mv_zentalia WHERE ID = 40000";
}

void PruebaSentencias::sentencias() {
  QFETCH(QString, obtenido);
  QFETCH(QString, esperado);
  QCOMPARE(obtenido, esperado);
}

void PruebaSentencias::valorDeCelda_data() {
  QTest::addColumn<int>("tipo");
  QTest::addColumn<QString>("entrada");
  QTest::addColumn<QString>("esperado");  // empty: refused
  const int numero = int(TipoCampo::Numero), texto = int(TipoCampo::Texto);
  QTest::newRow("numero con coma") << numero << " 12,5 "
                                   << "12.5";
  QTest::newRow("numero vacio es NULL, no 0") << numero << "  "
                                              << "NULL";
  QTest::newRow("numero con letras") << numero << "12a"
                                     << "";
  QTest::newRow("numero con dos separadores") << numero << "1,2,3"
                                              << "";
  QTest::newRow("texto recortado") << texto << "  000 "
                                   << "'000'";
  QTest::newRow("texto con comillas") << texto << "O'Brien'; DELETE FROM x; --"
                                      << "'O''Brien''; DELETE FROM x; --'";
  QTest::newRow("texto vacio") << texto << ""
                               << "NULL";
  QTest::newRow("clave") << int(TipoCampo::Clave) << "5"
                         << "";
}

void PruebaSentencias::valorDeCelda() {
  QFETCH(int, tipo);
  QFETCH(QString, entrada);
  QFETCH(QString, esperado);
  if (!esperado.isEmpty()) {
    QCOMPARE(sentencias::ValorDeCelda(TipoCampo(tipo), entrada), esperado);
    return;
  }
  QVERIFY_THROWS_EXCEPTION(Falla, sentencias::ValorDeCelda(TipoCampo(tipo), entrada));
}

void PruebaSentencias::fechaTecleada_data() {
  QTest::addColumn<QString>("texto");
  QTest::addColumn<QDate>("esperada");  // null: not a date
  QTest::newRow("completa") << "15/03/2004" << QDate(2004, 3, 15);
  QTest::newRow("corta") << "5/3/2004" << QDate(2004, 3, 5);
  QTest::newRow("anio de dos cifras") << "05/03/24" << QDate(2024, 3, 5);
  QTest::newRow("blancos") << " 29/02/2024 " << QDate(2024, 2, 29);
  QTest::newRow("31 de febrero") << "31/02/2024" << QDate();
  QTest::newRow("29 de febrero no bisiesto") << "29/02/2023" << QDate();
  QTest::newRow("mes 13") << "01/13/2024" << QDate();
  QTest::newRow("solo cifras") << "12345" << QDate();
  QTest::newRow("palabra") << "hoy" << QDate();
  QTest::newRow("vacia") << "" << QDate();
  QTest::newRow("anio de tres cifras") << "01/01/202" << QDate();
}

void PruebaSentencias::fechaTecleada() {
  QFETCH(QString, texto);
  QFETCH(QDate, esperada);
  const std::optional<QDate> leida = fechas::LeerFecha(texto);
  QCOMPARE(leida.has_value(), esperada.isValid());
  if (leida) QCOMPARE(*leida, esperada);
  if (!leida) QVERIFY(fechas::NoEsFecha(texto).contains(texto.trimmed()));
}

void PruebaSentencias::horario_data() {
  QTest::addColumn<QString>("entrada");
  QTest::addColumn<QString>("esperado");
  QTest::newRow("hora y minutos") << "8:30"
                                  << "08:30:00";
  QTest::newRow("con segundos") << "17:05:09"
                                << "17:05:09";
  QTest::newRow("tarde") << "8:30 pm"
                         << "20:30:00";
  QTest::newRow("medianoche am") << "12:10 AM"
                                 << "00:10:00";
  QTest::newRow("fecha sola") << "15/03/2004"
                              << "00:00:00";
  QTest::newRow("fecha y hora") << "15/03/2004 6:45"
                                << "06:45:00";
  QTest::newRow("dias con fraccion") << "0,75"
                                     << "18:00:00";
  QTest::newRow("dias con punto") << "2.5"
                                  << "12:00:00";
  QTest::newRow("numero entero") << "8"
                                 << "00:00:00";
  QTest::newRow("hora imposible") << "25:00"
                                  << "25:00";
  QTest::newRow("texto") << "mañana"
                         << "mañana";
  QTest::newRow("vacio") << ""
                         << "";
}

void PruebaSentencias::horario() {
  QFETCH(QString, entrada);
  QFETCH(QString, esperado);
  QCOMPARE(FormatearHorario(entrada), esperado);
}

void PruebaSentencias::columnas() {
  // The editor finds each column by its second header line, in any case.
  const char* claves[] = {"harina",  "HORARIO", "húmedo", "SECO",   "caract.",      "Number",
                          "HUMEDAD", "cenizas", "COLOR",  "pesaje", "observaciones"};
  const char* campos[] = {"Tipo_Harina", "Horario",       "Humedo",       "seco",
                          "caract",      "fallingnumber", "humedad",      "cenizas",
                          "color",       "ControlPesaje", "OBSERVACIONES"};
  for (int i = 0; i < 11; ++i) {
    const ColumnaPlanilla* columna = ColumnaPorClave(QString::fromUtf8(claves[i]));
    QVERIFY2(columna, claves[i]);
    QCOMPARE(columna->indice, i + 1);
    QCOMPARE(columna->dataField, QString::fromLatin1(campos[i]));
    QVERIFY(TipoDeCampo(columna->dataField) != TipoCampo::Desconocido);
  }
  QCOMPARE(ColumnaPorClave("ID"), nullptr);
  QCOMPARE(TipoDeCampo("id"), TipoCampo::Clave);
  QCOMPARE(TipoDeCampo("CONTROLPESAJE"), TipoCampo::Numero);
  QCOMPARE(TipoDeCampo("horario"), TipoCampo::Texto);
  QCOMPARE(TipoDeCampo("fecha_alta"), TipoCampo::Desconocido);
}

void PruebaSentencias::textoDeCelda() {
  QCOMPARE(LibCampos::SeparadorDecimal(), QStringLiteral(","));
  const QString coma = LibCampos::SeparadorDecimal();
  // A station whose separator is the point sees the value as stored.
  QCOMPARE(TextoDeCelda(TipoCampo::Numero, QStringLiteral("28.50"), QStringLiteral(".")),
           QStringLiteral("28.50"));
  QCOMPARE(TextoDeCelda(TipoCampo::Numero, 12.5, coma), QStringLiteral("12,5"));
  QCOMPARE(TextoDeCelda(TipoDeCampo("humedo"), QStringLiteral("28.50"), coma),
           QStringLiteral("28,50"));
  QCOMPARE(TextoDeCelda(TipoCampo::Numero, QVariant(), coma), QString());
  QCOMPARE(TextoDeCelda(TipoCampo::Texto, QStringLiteral("1.5 kg"), coma),
           QStringLiteral("1.5 kg"));
  QCOMPARE(TextoDeCelda(TipoCampo::Texto, QTime(8, 30), coma), QStringLiteral("08:30:00"));
  // Only a plain number written with a point takes the operator's separator.
  const char* casos[][2] = {{"-0.5", "-0,5"}, {"12", "12"},   {"1.2.3", "1.2.3"}, {".5", ".5"},
                            {"12.", "12."},   {"-.5", "-.5"}, {"1e.5", "1e.5"}};
  for (const auto& caso : casos)
    QCOMPARE(TextoDeCelda(TipoCampo::Numero, QString(caso[0]), coma), QString(caso[1]));
}

QTEST_MAIN(PruebaSentencias)
#include "test_sentencias.moc"
