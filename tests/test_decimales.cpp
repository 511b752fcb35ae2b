// Numbers to their decimals: each number column shows and prints at most the
// decimals its measure calls for, while the database keeps every decimal
// stored and the editor, the clipboard and the cell's tool tip give it whole.
// The sheet runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include "analisis/columnas.h"
#include "analisis/valores.h"
#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaDecimales : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void textoMostrado_data();
  void textoMostrado();
  void planillaMuestraRedondeadoYGuardaCompleto();
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
