// The statements prepared once and run with their values bound (every stored
// cell runs five of them): values reach the database as they are and come
// back as the driver gives them; the rows changed, the first row, or every
// row at once (as a Recordset reads them) are answered; an engine's refusal
// is a Falla that leaves the connection usable; and a connection closed under
// them is reopened with its statements prepared again. Runs on SQLite and on
// PostgreSQL.

#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

#include "services/conexion.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/recordset.h"
#include "soporte/entorno_prueba.h"

namespace {

Conexion& Datos() { return LibDatos::Instancia().Conexion(); }

const QString kInsertar =
    QStringLiteral("INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES (?, ?)");

// The files this process holds open whose path ends with nombre.
int Abiertos(const QString& nombre) {
  int abiertos = 0;
  const QDir fds(QStringLiteral("/proc/self/fd"));
  for (const QFileInfo& fd :
       fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot))
    if (fd.symLinkTarget().endsWith(nombre)) ++abiertos;
  return abiertos;
}

QString Valor(EntornoPrueba& e, const QString& clave) {
  QSqlQuery consulta(e.Otra());
  consulta.prepare(QStringLiteral("SELECT VALOR FROM ta_configuracion WHERE CLAVE = ?"));
  consulta.addBindValue(clave);
  if (!consulta.exec() || !consulta.next()) return QStringLiteral("(sin fila)");
  return consulta.value(0).isNull() ? QStringLiteral("(Null)") : consulta.value(0).toString();
}

}  // namespace

class PruebaPreparadas : public QObject {
  Q_OBJECT

 private slots:
  void valoresComoLosDaElDriver_data();
  void valoresComoLosDaElDriver();
  void filasCambiadasYPrimeraFila();
  void rechazoDelMotorDejaLaConexionUsable();
  void todasLasFilasDeUnaVez();
  void conexionCerradaPorDebajo();
};

void PruebaPreparadas::valoresComoLosDaElDriver_data() {
  QTest::addColumn<QVariant>("valor");
  QTest::addColumn<QVariant>("esperado");  // invalid: as QSQLITE gives it
  QTest::newRow("entero de 64 bits") << QVariant(qint64(9007199254740993)) << QVariant();
  QTest::newRow("entero negativo") << QVariant(-7) << QVariant();
  QTest::newRow("verdadero") << QVariant(true) << QVariant();
  QTest::newRow("doble") << QVariant(0.1 + 0.2) << QVariant();
  QTest::newRow("texto") << QVariant(QStringLiteral("Año 'ñ' \"x\" €")) << QVariant();
  QTest::newRow("texto vacío") << QVariant(QString(QLatin1String(""))) << QVariant();
  QTest::newRow("Null") << QVariant() << QVariant();
  QTest::newRow("doble Null") << QVariant(QMetaType::fromType<double>()) << QVariant();
  QTest::newRow("momento") << QVariant(QDateTime(QDate(2026, 12, 11), QTime(6, 30, 1, 42)))
                           << QVariant();
  QTest::newRow("hora") << QVariant(QTime(23, 59, 58, 7)) << QVariant();
  QTest::newRow("fecha") << QVariant(QDate(2026, 2, 28)) << QVariant();
  QTest::newRow("bytes") << QVariant(QByteArray("a\0b", 3)) << QVariant();
  // The one departure: a null text is an empty text, never Null.
  QTest::newRow("texto nulo") << QVariant(QString()) << QVariant(QString(QLatin1String("")));
}

// The embedded engine's statements run without the driver: each value must
// come back exactly as the driver itself binds and reads it.
void PruebaPreparadas::valoresComoLosDaElDriver() {
  QFETCH(QVariant, valor);
  QFETCH(QVariant, esperado);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  if (e.EsPostgresql()) QSKIP("PostgreSQL's statements run through its driver");
  QVERIFY(e.Iniciar());
  const QString sql = QStringLiteral("SELECT ?, typeof(?)");
  const QVariantList fila = Datos().Execute(sql, {valor, valor});
  QCOMPARE(fila.size(), 2);
  if (!esperado.isValid()) {
    QSqlQuery driver(e.Otra());
    QVERIFY(driver.prepare(sql));
    driver.addBindValue(valor);
    driver.addBindValue(valor);
    QVERIFY2(driver.exec() && driver.next(), qPrintable(driver.lastError().text()));
    esperado = driver.value(0);
    QCOMPARE(fila.at(1), driver.value(1));
  }
  QCOMPARE(fila.at(0).typeId(), esperado.typeId());
  QCOMPARE(fila.at(0).isNull(), esperado.isNull());
  QCOMPARE(fila.at(0), esperado);
}

void PruebaPreparadas::filasCambiadasYPrimeraFila() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  int filas = -1;
  QVERIFY(Datos()
              .Execute(kInsertar, {QStringLiteral("prueba.a"), QStringLiteral("uno")}, &filas)
              .isEmpty());
  QCOMPARE(filas, 1);
  // The same text again: the statement prepared the first time.
  Datos().Execute(kInsertar, {QStringLiteral("prueba.b"), QStringLiteral("l'año")});
  Datos().Execute(kInsertar, {QStringLiteral("prueba.c"), QVariant()});
  QCOMPARE(Valor(e, QStringLiteral("prueba.b")), QStringLiteral("l'año"));
  QCOMPARE(Valor(e, QStringLiteral("prueba.c")), QStringLiteral("(Null)"));

  Datos().Execute(
      QStringLiteral("UPDATE ta_configuracion SET VALOR = ? WHERE CLAVE LIKE ? AND CLAVE <> ?"),
      {QStringLiteral("dos"), QStringLiteral("prueba.%"), QStringLiteral("prueba.c")}, &filas);
  QCOMPARE(filas, 2);
  QCOMPARE(Valor(e, QStringLiteral("prueba.a")), QStringLiteral("dos"));

  const QString leer = QStringLiteral(
      "SELECT CLAVE, VALOR FROM ta_configuracion WHERE CLAVE LIKE ? ORDER BY CLAVE DESC");
  QCOMPARE(Datos().Execute(leer, {QStringLiteral("prueba.%")}),
           (QVariantList{QStringLiteral("prueba.c"), QVariant(QMetaType::fromType<QString>())}));
  QVERIFY(Datos().Execute(leer, {QStringLiteral("nada.%")}).isEmpty());
}

void PruebaPreparadas::rechazoDelMotorDejaLaConexionUsable() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  const auto rechazo = [](const QString& sql, const QVariantList& valores) -> QString {
    try {
      Datos().Execute(sql, valores);
    } catch (const Falla& falla) {
      return falla.Mensaje();
    }
    return {};
  };
  // A statement the engine cannot prepare, and one it refuses to run (the
  // key is required).
  QVERIFY(rechazo(QStringLiteral("SELEC ?"), {1}).startsWith(QStringLiteral("La base de datos")));
  QVERIFY(rechazo(kInsertar, {QVariant(), QStringLiteral("x")})
              .startsWith(QStringLiteral("La base de datos")));
  const QString contar =
      QStringLiteral("SELECT COUNT(*) FROM ta_configuracion WHERE CLAVE IN (?, ?)");
  QCOMPARE(Datos().Execute(contar, {QStringLiteral("no"), QStringLiteral("hay")}).value(0).toInt(),
           0);
  // On the embedded engine, fewer values than marks is refused, never run
  // with the values of the time before.
  if (!e.EsPostgresql()) {
    const QString sumar = QStringLiteral("SELECT ? + ?");
    QCOMPARE(Datos().Execute(sumar, {2, 3}).value(0).toInt(), 5);
    QVERIFY(!rechazo(sumar, {2}).isEmpty());
    QCOMPARE(Datos().Execute(sumar, {4, 5}).value(0).toInt(), 9);
  }
}

void PruebaPreparadas::todasLasFilasDeUnaVez() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar(
      QStringLiteral("INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('prueba.1', "
                     "'uno'), ('prueba.2', NULL), ('prueba.3', 'año')"));
  const QString leer = QStringLiteral(
      "SELECT CLAVE, VALOR FROM ta_configuracion WHERE CLAVE LIKE 'prueba.%' ORDER BY CLAVE");
  // As a Recordset reads the same statement.
  QList<QVariantList> esperadas;
  for (Recordset filas = Datos().Execute(leer); !filas.Eof(); filas.MoveNext())
    esperadas.append({filas.Valor(0), filas.Valor(1)});
  QCOMPARE(esperadas.size(), 3);
  const QList<QVariantList> filas = Datos().Filas(leer);
  QCOMPARE(filas, esperadas);
  QCOMPARE(filas.at(1).at(1).typeId(), esperadas.at(1).at(1).typeId());
  QVERIFY(filas.at(1).at(1).isNull());
  QVERIFY(
      Datos().Filas(QStringLiteral("SELECT CLAVE FROM ta_configuracion WHERE 1 = 0")).isEmpty());
  QVERIFY_THROWS_EXCEPTION(Falla, Datos().Filas(QStringLiteral("SELECT FROM WHERE")));
  QCOMPARE(Datos().Filas(leer), esperadas);
}

void PruebaPreparadas::conexionCerradaPorDebajo() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Datos().Execute(kInsertar, {QStringLiteral("prueba.antes"), QStringLiteral("1")});
  QCOMPARE(Valor(e, QStringLiteral("prueba.antes")), QStringLiteral("1"));
  const QString archivo = QFileInfo(Datos().Archivo()).fileName();
  const int abiertos = e.EsPostgresql() ? 0 : Abiertos(archivo);
  if (!e.EsPostgresql()) QVERIFY(abiertos > 0);

  // Closed by someone else while its statements were prepared: the next
  // statement reopens it and prepares them again on the new connection.
  Datos().Base().close();
  Datos().Execute(kInsertar, {QStringLiteral("prueba.despues"), QStringLiteral("2")});
  QCOMPARE(Valor(e, QStringLiteral("prueba.despues")), QStringLiteral("2"));
  // The connection the driver could not close is closed, not left open.
  if (!e.EsPostgresql()) QCOMPARE(Abiertos(archivo), abiertos);

  // Once every connection to it is closed, nothing holds the file.
  LibDatos::Instancia().Desconectar();
  e.Otra().close();
  if (!e.EsPostgresql()) QCOMPARE(Abiertos(archivo), 0);
}

QTEST_GUILESS_MAIN(PruebaPreparadas)
#include "test_preparadas.moc"
