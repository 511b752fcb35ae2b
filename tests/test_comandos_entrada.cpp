// The sheet's commands given while an entry is open, the new analysis's
// marker, leaving a day with blank analyses, the lookup of the idle window and
// the tab keys, on the real window and the real database. Runs on SQLite and
// on PostgreSQL.

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "services/util_kor.h"
#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/reporte_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaComandosEntrada : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void nuevoConEntradaAbierta_data();
  void nuevoConEntradaAbierta();
  void comandoConEntradaRechazada();
  void borrarConEntradaAbierta();
  void reporteConEntradaAbierta();
  void marcadorNuevo();
  void dejarElDiaBorraLoEnBlanco_data();
  void dejarElDiaBorraLoEnBlanco();
  void consultarTrasCancelar();
  void pestanasConElTeclado();
};

void PruebaComandosEntrada::nuevoConEntradaAbierta_data() {
  QTest::addColumn<bool>("conClic");
  QTest::newRow("F2") << false;
  QTest::newRow("clic en Nuevo") << true;
}

// The open entry is stored first, then the row is added and the focus waits
// on its first cell, ready for typing, however the command was given.
void PruebaComandosEntrada::nuevoConEntradaAbierta() {
  QFETCH(bool, conClic);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 2, 3);
  Teclear("28");
  if (conClic)
    QTest::mouseClick(w.UtilKor1->findChild<QToolButton*>("NUEVO"), Qt::LeftButton);
  else
    Tecla(Qt::Key_F2);
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDO")), QStringLiteral("28"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 3), QStringLiteral("28"));
  QCOMPARE(w.MSflexGrid1->Rows(), 4);
  QCOMPARE(w.MSflexGrid1->Row(), 3);
  QCOMPARE(w.MSflexGrid1->Col(), 1);
  QVERIFY(w.MSflexGrid1->hasFocus());
  Teclear("000");
  Tecla(Qt::Key_Return);
  const QList<qint64> claves = Claves(e);
  QCOMPARE(claves.size(), 2);
  QCOMPARE(Leer(e, claves.constLast(), "tipo_harina").toString(), QStringLiteral("000"));
  QCOMPARE(e.operador().preguntas.size(), 0);
}

// A refused entry stops the command: nothing runs, the editor keeps it.
void PruebaComandosEntrada::comandoConEntradaRechazada() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  for (const Qt::Key tecla : {Qt::Key_F2, Qt::Key_F4, Qt::Key_F8}) {
    IrA(w, 2, 7);
    Teclear("12a");
    Tecla(tecla);
    QVERIFY(w.PlanillaCargada);
    QCOMPARE(Claves(e).size(), 1);
    QCOMPARE(w.MSflexGrid1->Rows(), 3);
    QVERIFY(w.TxtEdit->isVisible());
    QVERIFY(w.TxtEdit->hasFocus());
    QCOMPARE(w.TxtEdit->text(), QStringLiteral("12a"));
    Tecla(Qt::Key_Escape);
  }
  QCOMPARE(Avisos(e.operador(), "avisar").size(), 3);
  QCOMPARE(Avisos(e.operador(), "confirmar"), QStringList());
}

// The operator's own deletion is no other station's: one question, no warning.
void PruebaComandosEntrada::borrarConEntradaAbierta() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 primera = Sembrar(e, "06:00:00");
  const qint64 segunda = Sembrar(e, "07:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 2, 7);
  Teclear("30");
  e.operador().confirmaciones.enqueue(true);
  Tecla(Qt::Key_F4);
  QCOMPARE(Claves(e), QList<qint64>({segunda}));
  QVERIFY(!Claves(e).contains(primera));
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas.first().tipo, QStringLiteral("confirmar"));
  QVERIFY(!w.TxtEdit->isVisible());
}

// The report holds what the screen shows: the open entry is stored first.
void PruebaComandosEntrada::reporteConEntradaAbierta() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", "tipo_harina='000'");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  e.operador().rutaVistaPrevia = e.Carpeta() + "/vista.pdf";
  IrA(w, 2, 7);
  Teclear("13,7");
  Tecla(Qt::Key_F6);
  const QString texto = TextoPdf(e.operador().rutaVistaPrevia);
  QVERIFY2(texto.contains("13,7"), qPrintable(texto));
  QCOMPARE(Avisos(e.operador(), "vista previa").size(), 1);
}

// The "Nuevo" marker shows a new analysis and is never stored: confirmed
// untouched it stays a marker, and typing replaces it.
void PruebaComandosEntrada::marcadorNuevo() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", "tipo_harina='000'");
  frmHarina& w = v.ventana;
  Grilla* g = w.MSflexGrid1;
  CargarDia(w, kDia);
  IrA(w, 2, 1);
  Tecla(Qt::Key_Insert);
  const qint64 nueva = Claves(e).constLast();
  QCOMPARE(g->TextMatrix(3, 1), QStringLiteral("Nuevo"));
  Tecla(Qt::Key_Return);
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), QString());
  QCOMPARE(w.TxtEdit->placeholderText(), QStringLiteral("Nuevo"));
  Tecla(Qt::Key_Return);
  QVERIFY(!w.TxtEdit->isVisible());
  QVERIFY(Leer(e, nueva, "tipo_harina").isNull());
  QVERIFY(Leer(e, nueva, "fecha_modificacion").isNull());
  QCOMPARE(g->TextMatrix(3, 1), QStringLiteral("Nuevo"));
  QCOMPARE(g->Col(), 2);
  IrA(w, 3, 1);
  Teclear("Integral");
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("Integral"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Leer(e, nueva, "tipo_harina").toString(), QStringLiteral("Integral"));
  QCOMPARE(g->TextMatrix(3, 1), QStringLiteral("Integral"));
  // Stored once, the flour type is a value like any other.
  IrA(w, 3, 1);
  Tecla(Qt::Key_Return);
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("Integral"));
  QCOMPARE(w.TxtEdit->placeholderText(), QString());
  Tecla(Qt::Key_Escape);
}

void PruebaComandosEntrada::dejarElDiaBorraLoEnBlanco_data() {
  QTest::addColumn<QString>("salida");
  QTest::newRow("CANCELAR") << "cancelar";
  QTest::newRow("cerrar la ventana") << "cerrar";
}

// A mistyped date leaves nothing behind: what this station created for the
// day and left blank goes with the day; a value, stored here or by another
// station meanwhile, keeps its analysis; another station's blank rows stay.
void PruebaComandosEntrada::dejarElDiaBorraLoEnBlanco() {
  QFETCH(QString, salida);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 ajena = Sembrar(e, "", {}, "2004-04-21");
  frmHarina& w = v.ventana;
  CargarDia(w, "20/04/2004");
  QList<qint64> creadas = Claves(e, "Fecha < '2004-04-21'");
  QCOMPARE(creadas.size(), 2);
  w.MSflexGrid1->setFocus();
  Tecla(Qt::Key_Insert);
  Tecla(Qt::Key_Insert);
  creadas = Claves(e, "Fecha < '2004-04-21'");
  QCOMPARE(creadas.size(), 4);
  // A value typed here in the first row, and one stored by another station
  // in the last (an inserted one) while this one had the day open.
  const qint64 tecleada = w.MSflexGrid1->TextMatrix(2, 0).toLongLong();
  const qint64 otra = creadas.constLast();
  QVERIFY(tecleada != otra);
  IrA(w, 2, 9);
  Teclear("Crema");
  Tecla(Qt::Key_Return);
  e.Ejecutar(QString("UPDATE v_mv_zentalia SET HUMEDAD = 14 WHERE ID = %1").arg(otra));
  if (salida == "cancelar") {
    Tecla(Qt::Key_F8);
    QVERIFY(!w.PlanillaCargada);
  } else {
    w.close();
  }
  QList<qint64> quedan = {ajena, tecleada, otra};
  std::sort(quedan.begin(), quedan.end());
  QCOMPARE(Claves(e), quedan);
}

// Back in the idle window, CONSULTAR is the date's calendar, never the lookup
// of the last column edited.
void PruebaComandosEntrada::consultarTrasCancelar() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", "tipo_harina='000'");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 2, 1);
  Tecla(Qt::Key_F8);
  QVERIFY(!w.PlanillaCargada);
  // F3 from the date field, and from the idle grid the operator went to.
  for (const bool desdeLaGrilla : {false, true}) {
    if (desdeLaGrilla) w.MSflexGrid1->setFocus();
    e.operador().fechas.enqueue(std::nullopt);
    Tecla(Qt::Key_F3);
  }
  QCOMPARE(e.operador().preguntas.size(), 2);
  for (const Pregunta& pregunta : e.operador().preguntas)
    QCOMPARE(pregunta.tipo, QStringLiteral("fecha"));
  QVERIFY(!w.PlanillaCargada);
}

// Ctrl+Tab and Ctrl+Page Down, Ctrl+Shift+Tab and Ctrl+Page Up switch tabs
// from anywhere, as a click does; a disabled tab is not reached.
void PruebaComandosEntrada::pestanasConElTeclado() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  Sembrar(v.entorno, "06:00:00");
  frmHarina& w = v.ventana;
  QVERIFY(w.txtFields[0]->hasFocus());
  Tecla(Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(w.SSTab1->currentIndex(), 1);
  QVERIFY(w.txtFields[2]->hasFocus());
  Tecla(Qt::Key_PageUp, Qt::ControlModifier);
  QCOMPARE(w.SSTab1->currentIndex(), 0);
  Tecla(Qt::Key_PageDown, Qt::ControlModifier);
  QCOMPARE(w.SSTab1->currentIndex(), 1);
  QVERIFY(w.txtFields[2]->hasFocus());
  Tecla(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(w.SSTab1->currentIndex(), 0);
  // With a sheet loaded the report tab is closed to every key.
  CargarDia(w, kDia);
  IrA(w, 2, 3);
  for (const auto& [tecla, mods] :
       {std::pair{Qt::Key_Tab, Qt::KeyboardModifiers(Qt::ControlModifier)},
        std::pair{Qt::Key_PageDown, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
    Tecla(tecla, mods);
    QCOMPARE(w.SSTab1->currentIndex(), 0);
    QVERIFY(w.MSflexGrid1->hasFocus());
  }
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);
}

QTEST_MAIN(PruebaComandosEntrada)
#include "test_comandos_entrada.moc"
