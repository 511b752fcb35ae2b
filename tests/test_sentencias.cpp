// The pure pieces of the day sheet: the statements for every engine (SQL
// Server's byte for byte), the typed date, the time-of-day column, the column
// table and how values read from the database are shown.

#include <QLocale>
#include <QTest>
#include <QTime>
#include <ctime>

#include "analisis/columnas.h"
#include "analisis/entrada.h"
#include "analisis/horario.h"
#include "analisis/valores.h"
#include "services/falla.h"
#include "services/fechas.h"
#include "services/lib_campos.h"
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
  void ahoraEnCadaZona_data();
  void ahoraEnCadaZona();
  void horario_data();
  void horario();
  void entrada_data();
  void entrada();
  void entradaSinCambios_data();
  void entradaSinCambios();
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
  QTest::newRow("celda atada sqlite")
      << sentencias::ActualizarCeldaAtada(sqlite, tabla, "HUMEDAD")
      << "UPDATE v_mv_zentalia SET [HUMEDAD] = ?, fecha_modificacion = ? WHERE ID = ?";
  QTest::newRow("celda atada postgresql")
      << sentencias::ActualizarCeldaAtada(pg, tabla, "Horario")
      << "UPDATE v_mv_zentalia SET \"horario\" = ?, fecha_modificacion = ? WHERE ID = ?";
  QTest::newRow("celda antes de guardarla sqlite")
      << sentencias::LeerCeldaConCabeza(sqlite, tabla, "HUMEDAD")
      << "SELECT [HUMEDAD], strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'), (SELECT huella "
         "FROM ta_auditoria WHERE ID = (SELECT MAX(ID) FROM ta_auditoria)) FROM v_mv_zentalia "
         "WHERE ID = ?";
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
  QTest::newRow("numero que ninguna columna guarda")
      << numero << QString(309, QLatin1Char('9')) << "";
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
    QCOMPARE(ValorDeCelda(TipoCampo(tipo), entrada), esperado);
    return;
  }
  QVERIFY_THROWS_EXCEPTION(Falla, ValorDeCelda(TipoCampo(tipo), entrada));
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
  // Two-digit years around 2026: up to twenty years ahead, else the 1900s.
  QTest::newRow("99 es 1999") << "15/3/99" << QDate(1999, 3, 15);
  QTest::newRow("47 es 1947") << "15/3/47" << QDate(1947, 3, 15);
  QTest::newRow("46 es 2046") << "15/3/46" << QDate(2046, 3, 15);
  QTest::newRow("00 es 2000") << "1/1/00" << QDate(2000, 1, 1);
  QTest::newRow("cuatro cifras como se escriben") << "1/1/2099" << QDate(2099, 1, 1);
  QTest::newRow("1900") << "01/01/1900" << QDate(1900, 1, 1);
  QTest::newRow("antes de 1900") << "31/12/1899" << QDate();
  QTest::newRow("anio 1") << "01/01/0001" << QDate();
  QTest::newRow("anio de cinco cifras") << "01/01/20245" << QDate();
  QTest::newRow("dia de tres cifras") << "015/01/2024" << QDate();
  QTest::newRow("sin dia") << "/01/2024" << QDate();
  QTest::newRow("sin mes") << "1//2024" << QDate();
  QTest::newRow("barra de mas") << "1/1/2024/" << QDate();
  QTest::newRow("guiones") << "1-1-2024" << QDate();
  QTest::newRow("blanco dentro") << "1/ 1/2024" << QDate();
  QTest::newRow("cifras arabes") << QString::fromUtf8("\u0661/\u0661/\u0662\u0660\u0662\u0664")
                                 << QDate();
  QTest::newRow("tabulador y salto") << "\t3/4/2024\n" << QDate(2024, 4, 3);
}

void PruebaSentencias::fechaTecleada() {
  QFETCH(QString, texto);
  QFETCH(QDate, esperada);
  const std::optional<QDate> leida = fechas::LeerFecha(texto, QDate(2026, 12, 10));
  QCOMPARE(leida.has_value(), esperada.isValid());
  if (leida) QCOMPARE(*leida, esperada);
  if (!leida) QVERIFY(fechas::NoEsFecha(texto).contains(texto.trimmed()));
}

// The moment a stored cell is stamped with is the station's wall time, as Qt
// gives it, in zones ahead of and behind UTC, with summer time and with
// offsets of part of an hour, and it follows a change of the zone.
void PruebaSentencias::ahoraEnCadaZona_data() {
  QTest::addColumn<QByteArray>("zona");
  QTest::newRow("utc") << QByteArray("UTC");
  QTest::newRow("buenos aires") << QByteArray("America/Argentina/Buenos_Aires");
  QTest::newRow("madrid, con horario de verano") << QByteArray("Europe/Madrid");
  QTest::newRow("katmandú, +5:45") << QByteArray("Asia/Kathmandu");
  QTest::newRow("regla POSIX") << QByteArray("XYZ-7:30");
}

void PruebaSentencias::ahoraEnCadaZona() {
  QFETCH(QByteArray, zona);
  const QByteArray antes = qgetenv("TZ");
  const bool habia = qEnvironmentVariableIsSet("TZ");
  qputenv("TZ", zona);
  tzset();
  const QDateTime desde = QDateTime::currentDateTime();
  const QDateTime ahora = fechas::Ahora();
  const QDateTime hasta = QDateTime::currentDateTime();
  // Qt's own reading of that very instant in the zone.
  const QDateTime local = QDateTime::fromMSecsSinceEpoch(ahora.toMSecsSinceEpoch(), Qt::LocalTime);
  const int desplazamiento = local.offsetFromUtc();
  const QDate dia = local.date();
  const QTime hora = local.time();
  const qint64 primero = desde.toMSecsSinceEpoch();
  const qint64 ultimo = hasta.toMSecsSinceEpoch();
  if (habia)
    qputenv("TZ", antes);
  else
    qunsetenv("TZ");
  tzset();
  QVERIFY(primero <= ahora.toMSecsSinceEpoch() && ahora.toMSecsSinceEpoch() <= ultimo);
  QCOMPARE(ahora.offsetFromUtc(), desplazamiento);
  QCOMPARE(ahora.date(), dia);
  QCOMPARE(ahora.time(), hora);
}

void PruebaSentencias::horario_data() {
  QTest::addColumn<QString>("entrada");
  QTest::addColumn<QString>("esperado");  // "-": refused
  const char* casos[][2] = {
      {"8:30", "08:30:00"},
      {"08:30", "08:30:00"},
      {"8:30:15", "08:30:15"},
      {"17:05:09", "17:05:09"},
      {"8:30 pm", "20:30:00"},
      {"12:10 AM", "00:10:00"},
      {"0830", "08:30:00"},
      {"830", "08:30:00"},
      {"8", "08:00:00"},
      {"14", "14:00:00"},
      {"083015", "08:30:15"},
      {"8.30", "08:30:00"},
      {"8,30", "08:30:00"},
      {"8h30", "08:30:00"},
      {"8H30", "08:30:00"},
      {"8 30", "08:30:00"},
      {"8h", "08:00:00"},
      {" 23:59:59 ", "23:59:59"},
      {"0", "00:00:00"},
      {"", ""},
      {"25:00", "-"},
      {"8:75", "-"},
      {"24", "-"},
      {"2400", "-"},
      {"12,5", "-"},
      {"8.3", "-"},
      {"abc", "-"},
      {"mañana", "-"},
      {"15/03/2004", "-"},
      {"15/03/2004 6:45", "-"},
      {"0,75", "-"},
      {"-8", "-"},
      {"1234567", "-"},
      {"８:３０", "-"},
  };
  for (const auto& caso : casos)
    QTest::newRow(caso[0]) << QString::fromUtf8(caso[0]) << QString::fromUtf8(caso[1]);
}

void PruebaSentencias::horario() {
  QFETCH(QString, entrada);
  QFETCH(QString, esperado);
  const std::optional<QString> hora = FormatearHorario(entrada);
  QCOMPARE(hora.has_value(), esperado != QLatin1String("-"));
  if (hora) QCOMPARE(*hora, esperado);
  const QString mensaje = NoEsHorario(entrada, QStringLiteral("HORARIO"));
  QVERIFY(mensaje.contains(QStringLiteral("HORARIO")) && mensaje.contains(QStringLiteral("08:30")));
}

void PruebaSentencias::entrada_data() {
  QTest::addColumn<int>("columna");
  QTest::addColumn<QString>("texto");
  QTest::addColumn<QString>("sql");     // empty: refused
  QTest::addColumn<QString>("motivo");  // a part of the refusal's message
  const QString nul = QStringLiteral("ab") + QChar(0) + QStringLiteral("cd");
  QTest::newRow("texto") << 11 << " Lote 1.5, ok. Ver www.molino.com.ar "
                         << "'Lote 1.5, ok. Ver www.molino.com.ar'"
                         << "";
  QTest::newRow("texto con tab y saltos") << 11 << "a\tb\r\nc"
                                          << "'a\tb\r\nc'"
                                          << "";
  QTest::newRow("NUL") << 11 << nul << ""
                       << "caracteres de control";
  QTest::newRow("escape") << 1 << QStringLiteral("00") + QChar(0x1b) + QStringLiteral("00") << ""
                          << "caracteres de control";
  // The edges of the control ranges: U+007F to U+009F are controls, the
  // no-break space after them is text.
  QTest::newRow("DEL") << 11 << QStringLiteral("a") + QChar(0x7f) + QStringLiteral("b") << ""
                       << "caracteres de control";
  QTest::newRow("control C1") << 11 << QStringLiteral("a") + QChar(0x9f) + QStringLiteral("b") << ""
                              << "caracteres de control";
  QTest::newRow("espacio duro") << 11 << QStringLiteral("a") + QChar(0xa0) + QStringLiteral("b")
                                << QStringLiteral("'a") + QChar(0xa0) + QStringLiteral("b'") << "";
  QTest::newRow("25 caracteres") << 1 << QString(25, 'x') << "'" + QString(25, 'x') + "'"
                                 << "";
  QTest::newRow("26 caracteres") << 1 << QString(26, 'x') << ""
                                 << "hasta 25 caracteres";
  QTest::newRow("emoji cuenta uno") << 1 << QString(24, 'x') + "🌾"
                                    << "'" + QString(24, 'x') + "🌾'"
                                    << "";
  QTest::newRow("101 en CARACT.") << 5 << QString(101, 'c') << ""
                                  << "GLUTEN CARACT.";
  QTest::newRow("observaciones sin limite")
      << 11 << QString(5000, 'o') << "'" + QString(5000, 'o') + "'"
      << "";
  QTest::newRow("numero largo") << 3 << "12345,678"
                                << "12345.678"
                                << "";
  QTest::newRow("muchos decimales") << 8 << "0.123456789"
                                    << "0.123456789"
                                    << "";
  QTest::newRow("15 cifras") << 8 << "1234567,89012345"
                             << "1234567.89012345"
                             << "";
  QTest::newRow("16 cifras") << 8 << "1234567,890123456"
                             << ""
                             << "15 cifras";
  QTest::newRow("ceros que no cuentan") << 8 << "0,000000000000000001"
                                        << "0.000000000000000001"
                                        << "";
  QTest::newRow("dos separadores") << 3 << "1.2.3"
                                   << ""
                                   << "no es un número";
  QTest::newRow("hora") << 2 << "0830"
                        << "'08:30:00'"
                        << "";
  QTest::newRow("hora imposible") << 2 << "25:00"
                                  << ""
                                  << "HORARIO";
  QTest::newRow("hora vacia") << 2 << ""
                              << "NULL"
                              << "";
}

void PruebaSentencias::entrada() {
  QFETCH(int, columna);
  QFETCH(QString, texto);
  QFETCH(QString, sql);
  QFETCH(QString, motivo);
  const EntradaLeida leida = LeerEntrada(*ColumnaPorIndice(columna), texto, ",");
  QCOMPARE(leida.valida, !sql.isEmpty());
  QCOMPARE(leida.sql, sql);
  if (!motivo.isEmpty())
    QVERIFY2(leida.motivo.contains(motivo) && leida.motivo.contains("No se guardó nada"),
             qPrintable(leida.motivo));
}

void PruebaSentencias::entradaSinCambios_data() {
  QTest::addColumn<int>("columna");
  QTest::addColumn<QString>("entrada");
  QTest::addColumn<QString>("original");
  QTest::addColumn<bool>("sinCambios");
  QTest::newRow("el mismo texto") << 5 << "Elastico"
                                  << "Elastico" << true;
  QTest::newRow("mas largo que la columna, intacto")
      << 5 << QString(120, 'c') << QString(120, 'c') << true;
  QTest::newRow("punto por coma") << 7 << "14.5"
                                  << "14,5" << true;
  QTest::newRow("ceros de mas dicen otra precision") << 7 << "14,50"
                                                     << "14,5" << false;
  QTest::newRow("otro numero") << 7 << "14,6"
                               << "14,5" << false;
  QTest::newRow("la misma hora escrita de otro modo") << 2 << "0830"
                                                      << "08:30:00" << true;
  QTest::newRow("vacio sobre vacio") << 1 << ""
                                     << "" << true;
  QTest::newRow("vacio sobre valor") << 1 << ""
                                     << "000" << false;
  QTest::newRow("mayusculas") << 1 << "Integral"
                              << "integral" << false;
}

void PruebaSentencias::entradaSinCambios() {
  QFETCH(int, columna);
  QFETCH(QString, entrada);
  QFETCH(QString, original);
  QFETCH(bool, sinCambios);
  QCOMPARE(EntradaSinCambios(*ColumnaPorIndice(columna), entrada, original, ","), sinCambios);
}

void PruebaSentencias::columnas() {
  // The editor finds each column by its second header line, in any case.
  const char* claves[] = {"harina",  "HORARIO", "húmedo", "SECO",   "caract.",      "Number",
                          "HUMEDAD", "cenizas", "COLOR",  "pesaje", "observaciones"};
  const char* campos[] = {"Tipo_Harina", "Horario",       "Humedo",       "seco",
                          "caract",      "fallingnumber", "humedad",      "cenizas",
                          "color",       "ControlPesaje", "OBSERVACIONES"};
  for (int i = 0; i < 11; ++i) {
    const ColumnaAnalisis* columna = ColumnaPorClave(QString::fromUtf8(claves[i]));
    QVERIFY2(columna, claves[i]);
    QCOMPARE(columna->indice, i + 1);
    QCOMPARE(columna->dataField, QString::fromLatin1(campos[i]));
    QVERIFY(TipoDeCampo(columna->dataField) != TipoCampo::Desconocido);
  }
  QCOMPARE(ColumnaPorClave("ID"), nullptr);
  QCOMPARE(TipoDeCampo("id"), TipoCampo::Clave);
  QCOMPARE(TipoDeCampo("CONTROLPESAJE"), TipoCampo::Numero);
  QCOMPARE(TipoDeCampo("horario"), TipoCampo::Hora);
  QCOMPARE(TipoDeCampo("fecha_alta"), TipoCampo::Momento);
  QCOMPARE(TipoDeCampo("lote"), TipoCampo::Desconocido);
}

void PruebaSentencias::textoDeCelda() {
  QCOMPARE(LibCampos::SeparadorDecimal(), QStringLiteral(","));
  // The separator follows the default locale when it changes.
  const QLocale espanol;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  QCOMPARE(LibCampos::SeparadorDecimal(), QStringLiteral("."));
  QLocale::setDefault(espanol);
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
