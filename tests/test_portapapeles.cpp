// Copy and paste in the sheet, like a spreadsheet: the block's text read and
// written (tabs, semicolons, quotes), Ctrl+C of a selection, Ctrl+V of a
// block with a bad value in it, and Ctrl+Z taking the paste back, on the real
// window. Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QTest>

#include "sheet/bloque_celdas.h"
#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaPortapapeles : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void leerBloque_data();
  void leerBloque();
  void pegarYDeshacer();
  void copiarSeleccion();
};

void PruebaPortapapeles::leerBloque_data() {
  QTest::addColumn<QString>("texto");
  QTest::addColumn<QList<QStringList>>("bloque");
  QTest::newRow("tabs") << "1\t2\n3\t4\n" << QList<QStringList>{{"1", "2"}, {"3", "4"}};
  QTest::newRow("punto y coma") << "14,5;0,52\r\n13,9;0,50"
                                << QList<QStringList>{{"14,5", "0,52"}, {"13,9", "0,50"}};
  QTest::newRow("una columna") << "000\n0000\n" << QList<QStringList>{{"000"}, {"0000"}};
  QTest::newRow("vacias") << "\t\n" << QList<QStringList>{{"", ""}};
  QTest::newRow("citadas") << "\"a;b\"\t\"dijo \"\"sí\"\"\"\t\"dos\nrenglones\"\n"
                           << QList<QStringList>{{"a;b", "dijo \"sí\"", "dos\nrenglones"}};
  QTest::newRow("punto y coma en una celda con tabs") << "a;b\tc\n"
                                                      << QList<QStringList>{{"a;b", "c"}};
  QTest::newRow("nada") << "" << QList<QStringList>{};
}

void PruebaPortapapeles::leerBloque() {
  QFETCH(QString, texto);
  QFETCH(QList<QStringList>, bloque);
  QCOMPARE(LeerBloque(texto), bloque);
  // What is copied reads back as the same block.
  if (!bloque.isEmpty()) QCOMPARE(LeerBloque(TextoDeBloque(bloque)), bloque);
}

// A block from a spreadsheet lands from the current cell on, an analysis is
// added for the row the day lacks, the bad value is listed and the rest
// stored; one Ctrl+Z takes it all back.
void PruebaPortapapeles::pegarYDeshacer() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 primera = Sembrar(e, "06:00:00", "HUMEDAD=15");
  const qint64 segunda = Sembrar(e, "07:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  const QStringList antes = Tabla(e);
  QApplication::clipboard()->setText("14,5\t0,52\n13,9\tabc\n14,1\t0,50\n");
  IrA(w, 2, 7);
  Tecla(Qt::Key_V, Qt::ControlModifier);
  const QList<qint64> claves = Claves(e);
  QCOMPARE(claves.size(), 3);
  const qint64 nueva = claves.constLast();
  QCOMPARE(Normalizado(Leer(e, primera, "HUMEDAD")), QStringLiteral("14.5"));
  QCOMPARE(Normalizado(Leer(e, primera, "CENIZAS")), QStringLiteral("0.52"));
  QCOMPARE(Normalizado(Leer(e, segunda, "HUMEDAD")), QStringLiteral("13.9"));
  QVERIFY(Leer(e, segunda, "CENIZAS").isNull());
  QCOMPARE(Normalizado(Leer(e, nueva, "HUMEDAD")), QStringLiteral("14.1"));
  QCOMPARE(Normalizado(Leer(e, nueva, "CENIZAS")), QStringLiteral("0.5"));
  QCOMPARE(w.MSflexGrid1->Rows(), 5);
  QCOMPARE(w.MSflexGrid1->TextMatrix(3, 7), QStringLiteral("13,9"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(4, 8), QStringLiteral("0,50"));
  const QStringList avisos = Avisos(e.operador(), "avisar");
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos.first().contains("5 valores") && avisos.first().contains("Fila 2, CENIZAS") &&
               avisos.first().contains("«abc» no es un número"),
           qPrintable(avisos.first()));
  // The cursor stayed where the paste began.
  QCOMPARE(w.MSflexGrid1->Row(), 2);
  QCOMPARE(w.MSflexGrid1->Col(), 7);

  Tecla(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(Claves(e), QList<qint64>({primera, segunda}));
  QCOMPARE(Normalizado(Leer(e, primera, "HUMEDAD")), QStringLiteral("15"));
  QVERIFY(Leer(e, primera, "CENIZAS").isNull());
  QVERIFY(Leer(e, segunda, "HUMEDAD").isNull());
  QCOMPARE(w.MSflexGrid1->Rows(), 4);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("15"));
  // A second Ctrl+Z has nothing left to take back.
  Tecla(Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(Claves(e), QList<qint64>({primera, segunda}));
  QCOMPARE(Tabla(e).size(), antes.size());
}

// Ctrl+C copies the values of the selected cells, never the marker of a new
// analysis, rows by lines and cells by tabs.
void PruebaPortapapeles::copiarSeleccion() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", "tipo_harina='000'");
  e.Ejecutar(QString("UPDATE v_mv_zentalia SET HUMEDAD = 14.5, OBSERVACIONES = 'dijo \"ok\"; "
                     "listo' WHERE ID = %1")
                 .arg(id));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  w.MSflexGrid1->setFocus();
  Tecla(Qt::Key_Insert);
  IrA(w, 2, 1);
  Tecla(Qt::Key_Down, Qt::ShiftModifier);
  for (int i = 0; i < 10; ++i) Tecla(Qt::Key_Right, Qt::ShiftModifier);
  Tecla(Qt::Key_C, Qt::ControlModifier);
  const QList<QStringList> copiado = LeerBloque(QApplication::clipboard()->text());
  QCOMPARE(copiado.size(), 2);
  QCOMPARE(copiado[0].size(), 11);
  QCOMPARE(copiado[0][0], QStringLiteral("000"));
  QCOMPARE(copiado[0][1], QStringLiteral("06:00:00"));
  QCOMPARE(copiado[0][6], QStringLiteral("14,5"));
  QCOMPARE(copiado[0][10], QStringLiteral("dijo \"ok\"; listo"));
  QCOMPARE(copiado[1][0], QString());
  QCOMPARE(e.operador().preguntas.size(), 0);
}

QTEST_MAIN(PruebaPortapapeles)
#include "test_portapapeles.moc"
