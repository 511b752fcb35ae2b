// Entries the sheet refuses or keeps whole, on the real window and the real
// database: a number, a time, a length or a precision the column does not
// take; values written by other programs, never cut and not written again
// when confirmed untouched; control characters pasted into a cell. Runs on
// SQLite and on PostgreSQL.

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QTest>

#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaEntrada : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void entradaRechazada_data();
  void entradaRechazada();
  void valoresNoSeCortan();
  void caracteresDeControl();
};

void PruebaEntrada::entradaRechazada_data() {
  QTest::addColumn<int>("columna");
  QTest::addColumn<QString>("campo");
  QTest::addColumn<QString>("teclas");
  QTest::addColumn<QString>("motivo");      // a part of the message
  QTest::addColumn<QString>("correccion");  // typed over the refused entry
  QTest::addColumn<QString>("guardada");
  QTest::newRow("letras") << 7 << "HUMEDAD"
                          << "12a"
                          << "«12a» no es un número: la columna HUMEDAD"
                          << "13"
                          << "13";
  QTest::newRow("guiones") << 7 << "HUMEDAD"
                           << "--"
                           << "no es un número"
                           << "13"
                           << "13";
  QTest::newRow("exponente") << 7 << "HUMEDAD"
                             << "1e5"
                             << "no es un número"
                             << "13"
                             << "13";
  QTest::newRow("hora imposible") << 2 << "HORARIO"
                                  << "25:00"
                                  << "la columna HORARIO admite horas de 00:00 a 23:59"
                                  << "8h30"
                                  << "08:30:00";
  QTest::newRow("minutos imposibles") << 2 << "HORARIO"
                                      << "8:75"
                                      << "HORARIO"
                                      << "0830"
                                      << "08:30:00";
  QTest::newRow("una fecha por hora") << 2 << "HORARIO"
                                      << "15/03/2004"
                                      << "HORARIO"
                                      << "9"
                                      << "09:00:00";
  QTest::newRow("una palabra por hora") << 2 << "HORARIO"
                                        << "abc"
                                        << "HORARIO"
                                        << "9"
                                        << "09:00:00";
  QTest::newRow("mas cifras de las que se guardan") << 8 << "CENIZAS"
                                                    << "1234567,890123456"
                                                    << "15 cifras"
                                                    << "0,5"
                                                    << "0.5";
  QTest::newRow("mas largo que la columna") << 1 << "tipo_harina"
                                            << "Harina de trigo tipo 0000 especial"
                                            << "hasta 25 caracteres"
                                            << "0000"
                                            << "0000";
}

// Nothing is written, not even a 0 or a shortened text; the cell keeps its
// text and the entry waits in the editor, to be corrected and stored.
void PruebaEntrada::entradaRechazada() {
  QFETCH(int, columna);
  QFETCH(QString, campo);
  QFETCH(QString, teclas);
  QFETCH(QString, motivo);
  QFETCH(QString, correccion);
  QFETCH(QString, guardada);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  const QString antes = Normalizado(Leer(e, id, campo));
  const QString celda = w.MSflexGrid1->TextMatrix(2, columna);
  IrA(w, 2, columna);
  Teclear(teclas);
  Tecla(Qt::Key_Return);
  const QStringList avisos = Avisos(e.operador(), "avisar");
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos.first().contains(motivo), qPrintable(avisos.first()));
  QCOMPARE(Normalizado(Leer(e, id, campo)), antes);
  QVERIFY(Leer(e, id, "fecha_modificacion").isNull());
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, columna), celda);
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), teclas);
  QCOMPARE(w.MSflexGrid1->Col(), columna);
  Teclear(correccion);
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, id, campo)), guardada);
  QVERIFY(!w.TxtEdit->isVisible());
}

// Values written by other programs are never cut: a text shows whole, a
// number with its column's decimals and whole in the editor; confirming them
// untouched writes nothing, not even the modification moment.
void PruebaEntrada::valoresNoSeCortan() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  // Longer than the column on SQLite, where another program may have written
  // it; PostgreSQL holds no more than the column's 100.
  const QString largo = QString("caracteristica-").repeated(8).left(e.EsPostgresql() ? 100 : 120);
  const qint64 id = Sembrar(e, "06:00:00", QString("CARACT='%1'").arg(largo));
  e.Ejecutar(QString("UPDATE v_mv_zentalia SET HUMEDO = 12.3456789, HUMEDAD = 14.5 WHERE ID = %1")
                 .arg(id));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  const struct {
    int columna;
    QString campo, texto, celda, guardado;
  } celdas[] = {{5, "CARACT", largo, largo, largo},
                {3, "HUMEDO", "12,3456789", "12,35", "12.3456789"},
                {7, "HUMEDAD", "14,5", "14,5", "14.5"}};
  for (const auto& celda : celdas) {
    IrA(w, 2, celda.columna);
    Tecla(Qt::Key_Return);
    QCOMPARE(w.TxtEdit->text(), celda.texto);
    Tecla(Qt::Key_Return);
    QVERIFY(!w.TxtEdit->isVisible());
    QCOMPARE(w.MSflexGrid1->TextMatrix(2, celda.columna), celda.celda);
    QCOMPARE(Normalizado(Leer(e, id, celda.campo)), celda.guardado);
  }
  // The same value written the other way is no change either.
  IrA(w, 2, 7);
  Teclear("14.5");
  Tecla(Qt::Key_Return);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("14,5"));
  QVERIFY(Leer(e, id, "fecha_modificacion").isNull());
  QCOMPARE(e.operador().preguntas.size(), 0);
  // A long number pasted is stored whole.
  QApplication::clipboard()->setText("99999999999");
  IrA(w, 2, 10);
  Tecla(Qt::Key_Return);
  Tecla(Qt::Key_V, Qt::ControlModifier);
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, id, "CONTROLPESAJE")), QStringLiteral("99999999999"));
}

// A NUL or another control character pasted into a cell is refused with a
// message before any statement is built from it.
void PruebaEntrada::caracteresDeControl() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", "OBSERVACIONES='intacta'");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  int llegaron = 0;
  for (const QChar control : {QChar(0), QChar(0x1b), QChar(0x7f)}) {
    QApplication::clipboard()->setText(QStringLiteral("Lote ") + control + QStringLiteral(" 12"));
    IrA(w, 2, 11);
    Teclear("x");
    Tecla(Qt::Key_V, Qt::ControlModifier);
    if (!w.TxtEdit->text().contains(control)) continue;  // the editor took nothing of it
    ++llegaron;
    Tecla(Qt::Key_Return);
    const QStringList avisos = Avisos(e.operador(), "avisar");
    QVERIFY(!avisos.isEmpty());
    QVERIFY2(avisos.constLast().contains("caracteres de control"), qPrintable(avisos.constLast()));
    QVERIFY(w.TxtEdit->isVisible());
    Tecla(Qt::Key_Escape);
  }
  // The NUL at least reaches the editor on a paste.
  QVERIFY(llegaron > 0);
  QCOMPARE(Leer(e, id, "OBSERVACIONES").toString(), QStringLiteral("intacta"));
  QCOMPARE(Avisos(e.operador(), "error"), QStringList());
}

QTEST_MAIN(PruebaEntrada)
#include "test_entrada.moc"
