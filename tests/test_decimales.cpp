// Numbers to their decimals: each number column shows and prints at most the
// decimals its measure calls for, while the database keeps every decimal
// stored and the editor, the clipboard and the cell's tool tip give it whole.
// The sheet runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "analisis/columnas.h"
#include "analisis/valores.h"
#include "services/lib_util.h"
#include "sheet/grilla.h"
#include "sheet/planilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaDecimales : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void textoMostrado_data();
  void textoMostrado();
  void planillaMuestraRedondeadoYGuardaCompleto();
  void dobleEscritoComoQt_data();
  void dobleEscritoComoQt();
  void dobleCualquieraComoQt();
  void enterosYTextosComoQt();
  void valoresRepetidosEnUnaCarga();
};

void PruebaDecimales::textoMostrado_data() {
  QTest::addColumn<QString>("campo");
  QTest::addColumn<QVariant>("valor");
  QTest::addColumn<QString>("esperado");
  const auto fila = [](const char* nombre, const char* campo, const QVariant& valor,
                       const char* esperado) {
    QTest::newRow(nombre) << QString::fromLatin1(campo) << valor << QString::fromUtf8(esperado);
  };
  fila("ruido binario en texto", "CENIZAS", QStringLiteral("0.5700000000000001"), "0,57");
  fila("ruido binario en numero", "CENIZAS", 0.5700000000000001, "0,57");
  fila("medio hacia arriba", "CENIZAS", QStringLiteral("0.4925"), "0,493");
  fila("por debajo del medio", "CENIZAS", QStringLiteral("0.4924"), "0,492");
  fila("medio negativo lejos del cero", "HUMEDAD", QStringLiteral("-12.345"), "-12,35");
  fila("menos decimales quedan", "HUMEDAD", QStringLiteral("14.1"), "14,1");
  fila("ceros guardados quedan", "HUMEDO", QStringLiteral("28.50"), "28,50");
  fila("acarreo al entero", "HUMEDAD", QStringLiteral("9.995"), "10");
  fila("acarreo con ceros", "HUMEDAD", QStringLiteral("14.999"), "15");
  fila("casi cero sin signo", "HUMEDAD", QStringLiteral("-0.001"), "0");
  fila("exponente", "SECO", 1e-05, "0");
  fila("segundos enteros", "FALLINGNUMBER", QStringLiteral("312.6"), "313");
  fila("entero queda", "FALLINGNUMBER", 312, "312");
  // Numbers as the engine hands them, decided on the double itself.
  fila("doble con sus decimales", "HUMEDAD", 14.35, "14,35");
  fila("doble que redondea", "CENIZAS", 0.4925, "0,493");
  fila("doble de suma binaria", "HUMEDAD", 0.1 + 0.2, "0,3");
  fila("doble en el medio por debajo", "HUMEDAD", 2.675, "2,68");
  fila("doble negativo", "HUMEDAD", -0.5, "-0,5");
  fila("doble entero", "FALLINGNUMBER", 312.0, "312");
  fila("doble enorme", "HUMEDAD", 1e20, "100000000000000000000");
  fila("vacio", "HUMEDAD", QVariant(), "");
  fila("no es numero", "CENIZAS", QStringLiteral("n/d"), "n/d");
  fila("texto no se toca", "OBSERVACIONES", QStringLiteral("0.5700000000000001"),
       "0.5700000000000001");
}

void PruebaDecimales::textoMostrado() {
  QFETCH(QString, campo);
  QFETCH(QVariant, valor);
  QFETCH(QString, esperado);
  const ColumnaAnalisis* columna = CampoPorNombre(campo);
  QVERIFY(columna);
  QCOMPARE(TextoMostrado(*columna, valor, QStringLiteral(",")), esperado);
}

void PruebaDecimales::dobleEscritoComoQt_data() {
  QTest::addColumn<int>("decimales");
  for (int decimales = 0; decimales <= 8; ++decimales)
    QTest::newRow(QByteArray::number(decimales) + " decimales") << decimales;
}

// A double that fits its column's decimals is written from its integer
// instead of by Qt: the same text for every value, across the lengths where
// Qt turns to the exponent form (1e+05, 1e-04) and where it does not
// (1500000, 0.00012), both signs, whole values and the largest that fit.
void PruebaDecimales::dobleEscritoComoQt() {
  QFETCH(int, decimales);
  ColumnaAnalisis columna = *CampoPorNombre(QStringLiteral("HUMEDAD"));
  columna.decimales = decimales;
  const double escala = std::pow(10.0, decimales);
  QList<qint64> enteros;
  for (qint64 k = 0; k <= 2000; ++k) enteros << k;
  for (qint64 potencia = 10; potencia <= 1000000000000000LL; potencia *= 10)
    for (qint64 cerca : {qint64(-3), qint64(-1), qint64(0), qint64(1), qint64(7), potencia / 2,
                         potencia / 10 * 3, potencia / 100 * 12})
      enteros << potencia + cerca << potencia * 15 + cerca;
  quint64 semilla = 12345;
  for (int i = 0; i < 20000; ++i) {
    semilla = semilla * 6364136223846793005ULL + 1442695040888963407ULL;
    enteros << qint64((semilla >> 11) % (1ULL << (8 + i % 44)));
  }
  int rapidas = 0;
  for (const qint64 k : enteros) {
    for (const qint64 entero : {k, -k}) {
      const double x = double(entero) / escala;
      // Past 2^52 / 10^decimales a value is rounded from its text instead.
      if (!EscaladoExacto(x, decimales)) continue;
      ++rapidas;
      const QString qt = LibUtil::FormatearValor(QVariant(x).toString(), QStringLiteral(","));
      const Mostrado mostrado = Mostrar(columna, QVariant(x), QStringLiteral(","));
      if (mostrado.texto != qt || !mostrado.completo.isEmpty())
        QFAIL(qPrintable(QStringLiteral("%1 / 10^%2: «%3», Qt «%4»")
                             .arg(entero)
                             .arg(decimales)
                             .arg(mostrado.texto, qt)));
    }
  }
  // Most values fit: the sweep went through the integer writing.
  QVERIFY2(rapidas > enteros.size(), qPrintable(QString::number(rapidas)));
}

// Any double a cell shows (noise included, tiny and huge ones, in exponent
// form or not) reads as Qt writes it, and a rounded one keeps Qt's whole
// writing for its tool tip.
void PruebaDecimales::dobleCualquieraComoQt() {
  const ColumnaAnalisis& columna = *CampoPorNombre(QStringLiteral("CENIZAS"));
  const QString coma = QStringLiteral(",");
  quint64 semilla = 987654321;
  const auto siguiente = [&semilla] {
    semilla = semilla * 6364136223846793005ULL + 1442695040888963407ULL;
    return semilla;
  };
  QList<double> valores{0.5700000000000001,
                        0.1 + 0.2,
                        28.0 + 0.30000000000000004,
                        1e-05,
                        -1e-07,
                        123456789.123,
                        999999999999999.9,
                        1e15,
                        1.5e16,
                        -2.5e20};
  for (int i = 0; i < 10000; ++i) {
    const quint64 bits = siguiente();
    double x = 0;
    std::memcpy(&x, &bits, sizeof x);
    if (std::isfinite(x)) valores << x;
    valores << std::ldexp(double(siguiente() >> 11) / double(1ULL << 53),
                          int(siguiente() % 120) - 60);
    valores << double(qint64(siguiente() % 2000000) - 1000000) / 1000.0 + 0.1;
  }
  for (const double x : valores) {
    const QString qt = QVariant(x).toString();
    QCOMPARE(TextoDeCelda(TipoCampo::Numero, QVariant(x), QStringLiteral(".")), qt);
    const Mostrado mostrado = Mostrar(columna, QVariant(x), coma);
    if (!mostrado.completo.isEmpty())
      QCOMPARE(mostrado.completo, LibUtil::FormatearValor(qt, coma));
  }
}

// Integers and texts as the engines hand them are written as Qt writes them,
// extremes and empty texts included.
void PruebaDecimales::enterosYTextosComoQt() {
  const QList<QVariant> valores{QVariant(0),
                                QVariant(-7),
                                QVariant(std::numeric_limits<int>::min()),
                                QVariant(std::numeric_limits<int>::max()),
                                QVariant(qlonglong(312)),
                                QVariant(qlonglong(-100000)),
                                QVariant(std::numeric_limits<qlonglong>::min()),
                                QVariant(std::numeric_limits<qlonglong>::max()),
                                QVariant(QStringLiteral("Blanco")),
                                QVariant(QStringLiteral("14.50")),
                                QVariant(QString()),
                                QVariant(QStringLiteral(""))};
  for (const QVariant& valor : valores) {
    const QString qt = valor.toString();
    QCOMPARE(TextoDeCelda(TipoCampo::Texto, valor, QStringLiteral(",")), qt);
    QCOMPARE(TextoDeCelda(TipoCampo::Numero, valor, QStringLiteral(",")),
             LibUtil::FormatearValor(qt, QStringLiteral(",")));
    const ColumnaAnalisis& falling = *CampoPorNombre(QStringLiteral("FALLINGNUMBER"));
    if (valor.typeId() != QMetaType::QString)
      QCOMPARE(TextoMostrado(falling, valor, QStringLiteral(",")), qt);
  }
}

// A day whose values repeat: each cell shows its own value, a value that
// reads the same but is stored with noise keeps its own tool tip, the same
// value in columns of other decimals rounds by each column, and the texts
// follow the separator asked for.
void PruebaDecimales::valoresRepetidosEnUnaCarga() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", QStringLiteral("CENIZAS, HUMEDAD=0.5700000000000001, 0.4925"));
  Sembrar(e, "07:00:00", QStringLiteral("CENIZAS, HUMEDAD=0.57, 0.4925"));
  Sembrar(e, "08:00:00", QStringLiteral("CENIZAS, HUMEDAD=0.5700000000000001, 0.4925"));
  Sembrar(e, "09:00:00", QStringLiteral("CENIZAS, HUMEDAD=0.4925, 14.1"));
  Sembrar(e, "10:00:00", QStringLiteral("CENIZAS, HUMEDAD=0.57, 14.1"));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  Grilla& grilla = *w.MSflexGrid1;
  constexpr int kHumedad = 7;
  constexpr int kCenizas = 8;
  for (int fila = 2; fila <= 4; ++fila) {
    QCOMPARE(grilla.TextMatrix(fila, kCenizas), QStringLiteral("0,57"));
    QCOMPARE(grilla.TextMatrix(fila, kHumedad), QStringLiteral("0,49"));
    QCOMPARE(grilla.AyudaDeCelda(fila, kHumedad), QStringLiteral("Valor registrado: 0,4925"));
  }
  QVERIFY(grilla.AyudaDeCelda(2, kCenizas).startsWith(QStringLiteral("Valor registrado: 0,57")));
  QCOMPARE(grilla.AyudaDeCelda(3, kCenizas), QString());
  QCOMPARE(grilla.AyudaDeCelda(4, kCenizas), grilla.AyudaDeCelda(2, kCenizas));
  QCOMPARE(grilla.TextMatrix(5, kCenizas), QStringLiteral("0,493"));
  QCOMPARE(grilla.TextMatrix(5, kHumedad), QStringLiteral("14,1"));

  // The whole values of a row come only where a cell shows fewer decimals.
  const Planilla& planilla = w.planilla();
  QStringList completos;
  QCOMPARE(planilla.TextosDeFila(3, QStringLiteral(","), &completos).value(kCenizas),
           QStringLiteral("0,493"));
  QCOMPARE(completos.value(kCenizas), QStringLiteral("0,4925"));
  QCOMPARE(completos.value(kHumedad), QString());
  planilla.TextosDeFila(1, QStringLiteral(","), &completos);
  QCOMPARE(completos.value(kHumedad), QStringLiteral("0,4925"));
  QCOMPARE(completos.value(kCenizas), QString());
  // A row shown whole leaves nothing of the list it was given.
  QStringList ninguno(12, QStringLiteral("de antes"));
  QCOMPARE(planilla.TextosDeFila(4, QStringLiteral(","), &ninguno).value(kCenizas),
           QStringLiteral("0,57"));
  QVERIFY2(
      std::all_of(ninguno.cbegin(), ninguno.cend(), [](const QString& t) { return t.isEmpty(); }),
      qPrintable(ninguno.join('|')));

  // Another separator, without loading again.
  const QStringList punto = planilla.TextosDeFila(0, QStringLiteral("."));
  QCOMPARE(punto.value(kCenizas), QStringLiteral("0.57"));
  QCOMPARE(punto.value(kHumedad), QStringLiteral("0.49"));
  QCOMPARE(planilla.TextosDeFila(0, QStringLiteral(",")).value(kHumedad), QStringLiteral("0,49"));
}

// A value another program stored with binary noise, and one typed with more
// decimals than its column shows.
void PruebaDecimales::planillaMuestraRedondeadoYGuardaCompleto() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", QStringLiteral("CENIZAS=0.5700000000000001"));
  const QStringList antes = Tabla(e);
  const QVariant modificado = Leer(e, id, QStringLiteral("fecha_modificacion"));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  Grilla& grilla = *w.MSflexGrid1;
  constexpr int kCenizas = 8;
  const int fila = 2;
  QCOMPARE(grilla.TextMatrix(fila, kCenizas), QStringLiteral("0,57"));
  QVERIFY2(grilla.AyudaDeCelda(fila, kCenizas)
               .startsWith(QStringLiteral("Valor registrado: 0,570000000000000")),
           qPrintable(grilla.AyudaDeCelda(fila, kCenizas)));

  // The editor opens with the whole value; confirmed as it is, nothing is written.
  IrA(w, fila, kCenizas);
  Tecla(Qt::Key_Return);
  QLineEdit* editor = w.TxtEdit;
  QVERIFY(editor->isVisible());
  QVERIFY2(editor->text().startsWith(QStringLiteral("0,570000000000000")),
           qPrintable(editor->text()));
  Tecla(Qt::Key_Return);
  QCOMPARE(Tabla(e), antes);
  QCOMPARE(Leer(e, id, QStringLiteral("fecha_modificacion")), modificado);

  // Copied, it goes whole.
  IrA(w, fila, kCenizas);
  Tecla(Qt::Key_C, Qt::ControlModifier);
  QVERIFY2(QApplication::clipboard()->text().startsWith(QStringLiteral("0,570000000000000")),
           qPrintable(QApplication::clipboard()->text()));

  // Typed with four decimals: stored with them, shown with three.
  IrA(w, fila, kCenizas);
  Teclear(QStringLiteral("0,4925"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, id, QStringLiteral("CENIZAS"))), QStringLiteral("0.4925"));
  QCOMPARE(grilla.TextMatrix(fila, kCenizas), QStringLiteral("0,493"));
  QCOMPARE(grilla.AyudaDeCelda(fila, kCenizas), QStringLiteral("Valor registrado: 0,4925"));

  // A value that needs no rounding carries no such line.
  IrA(w, fila, kCenizas);
  Teclear(QStringLiteral("0,48"));
  Tecla(Qt::Key_Return);
  QCOMPARE(grilla.TextMatrix(fila, kCenizas), QStringLiteral("0,48"));
  QCOMPARE(grilla.AyudaDeCelda(fila, kCenizas), QString());
}

QTEST_MAIN(PruebaDecimales)
#include "test_decimales.moc"
