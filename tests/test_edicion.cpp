// The cell editor at the keyboard, on the real window and the real database:
// typing in every column, the cursor's moves, the ways out of the editor,
// hostile texts, and what the database holds afterwards, read through a second
// connection. Runs on SQLite and on PostgreSQL. Entries refused or never cut:
// test_entrada.cpp.

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QSqlQuery>
#include <QTest>

#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

// Empties the current cell: the editor opens with the cell's text, all of it
// is selected and erased, and Enter confirms.
void Vaciar() {
  Tecla(Qt::Key_Return);
  Tecla(Qt::Key_A, Qt::ControlModifier);
  Tecla(Qt::Key_Backspace);
  Tecla(Qt::Key_Return);
}

}  // namespace

class PruebaEdicion : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void escribirCadaColumna_data();
  void escribirCadaColumna();
  void movimientos_data();
  void movimientos();
  void separadorDecimal();
  void dobleClicAbreConElTexto();
  void escCancelaYShiftEnterNoGuarda();
  void salirDelEditorGuarda();
  void cadaEntradaSeEscribeUnaVez_data();
  void cadaEntradaSeEscribeUnaVez();
  void textosHostiles_data();
  void textosHostiles();
};

void PruebaEdicion::escribirCadaColumna_data() {
  QTest::addColumn<int>("columna");
  QTest::addColumn<QString>("teclas");  // empty: the cell is emptied
  QTest::addColumn<QString>("guardado");
  QTest::addColumn<QString>("celda");
  QTest::newRow("tipo de harina") << 1 << "000 "
                                  << "000"
                                  << "000";
  QTest::newRow("horario") << 2 << "8:30"
                           << "08:30:00"
                           << "08:30:00";
  QTest::newRow("horario vacio") << 2 << ""
                                 << "NULL"
                                 << "";
  QTest::newRow("humedo con coma") << 3 << "28,5"
                                   << "28.5"
                                   << "28,5";
  QTest::newRow("seco con punto") << 4 << "9.75"
                                  << "9.75"
                                  << "9,75";
  QTest::newRow("caracteristicas") << 5 << "Elastico"
                                   << "Elastico"
                                   << "Elastico";
  QTest::newRow("falling number") << 6 << "350"
                                  << "350"
                                  << "350";
  QTest::newRow("humedad vacia es NULL") << 7 << ""
                                         << "NULL"
                                         << "";
  QTest::newRow("cenizas") << 8 << "0,545"
                           << "0.545"
                           << "0,545";
  QTest::newRow("color") << 9 << "Blanco crema"
                         << "Blanco crema"
                         << "Blanco crema";
  QTest::newRow("horario sin separador") << 2 << "0830"
                                         << "08:30:00"
                                         << "08:30:00";
  QTest::newRow("horario con h") << 2 << "14h05"
                                 << "14:05:00"
                                 << "14:05:00";
  QTest::newRow("hora entera") << 2 << "8"
                               << "08:00:00"
                               << "08:00:00";
  // Stored whole; the cell shows the column's decimals.
  QTest::newRow("numero de nueve caracteres") << 3 << "12345,678"
                                              << "12345.678"
                                              << "12345,68";
  QTest::newRow("muchos decimales") << 8 << "0.123456789"
                                    << "0.123456789"
                                    << "0,123";
  QTest::newRow("control de pesaje") << 10 << "+0100"
                                     << "100"
                                     << "100";
  QTest::newRow("observaciones") << 11 << "5' de reposo; O'Brien --"
                                 << "5' de reposo; O'Brien --"
                                 << "5' de reposo; O'Brien --";
}

void PruebaEdicion::escribirCadaColumna() {
  QFETCH(int, columna);
  QFETCH(QString, teclas);
  QFETCH(QString, guardado);
  QFETCH(QString, celda);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const QString campos[] = {"",        "tipo_harina", "HORARIO",       "HUMEDO",
                            "SECO",    "CARACT",      "FALLINGNUMBER", "HUMEDAD",
                            "CENIZAS", "COLOR",       "CONTROLPESAJE", "OBSERVACIONES"};
  const QString campo = campos[columna];
  const bool esTexto = QList<int>{1, 5, 9, 11}.contains(columna);
  // Both rows hold a value in the column (the time column: their times).
  const QString anterior = columna == 2 ? QString() : campo + (esTexto ? "='viejo'" : "=3");
  const qint64 id = Sembrar(e, "06:00:00", anterior);
  const qint64 otra = Sembrar(e, "09:00:00", anterior);
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  QStringList antes = Tabla(e);
  const QDateTime inicio = QDateTime::currentDateTime().addSecs(-1);

  IrA(w, 2, columna);
  if (teclas.isEmpty()) {
    Vaciar();
  } else {
    Teclear(teclas);
    QVERIFY(w.TxtEdit->isVisible());
    Tecla(Qt::Key_Return);
  }
  QCOMPARE(Normalizado(Leer(e, id, campo)), guardado);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, columna), celda);
  QVERIFY(Leer(e, id, "fecha_modificacion").toDateTime() >= inicio);
  QVERIFY(Leer(e, otra, "fecha_modificacion").isNull());
  QVERIFY(!w.TxtEdit->isVisible());
  QCOMPARE(w.MSflexGrid1->Col(), columna == 11 ? 1 : columna + 1);
  // Nothing else changed: only the one cell of the one row.
  QStringList despues = Tabla(e);
  QCOMPARE(despues.size(), antes.size());
  for (int i = 0; i < antes.size(); ++i) {
    QStringList a = antes[i].split('|'), d = despues[i].split('|');
    if (a[0] == QString::number(id)) {
      const int posicion = columna + 2;  // ID, Fecha, responsable come first
      a.removeAt(posicion);
      d.removeAt(posicion);
    }
    QCOMPARE(d, a);
  }
  QCOMPARE(Avisos(e.operador(), "avisar"), QStringList());
}

void PruebaEdicion::movimientos_data() {
  QTest::addColumn<int>("fila");
  QTest::addColumn<int>("columna");
  QTest::addColumn<int>("tecla");
  QTest::addColumn<int>("filaFinal");
  QTest::addColumn<int>("columnaFinal");
  QTest::newRow("Enter pasa a la columna siguiente") << 2 << 3 << int(Qt::Key_Return) << 2 << 4;
  QTest::newRow("Enter en la ultima columna baja") << 2 << 11 << int(Qt::Key_Return) << 3 << 1;
  QTest::newRow("Enter en la ultima celda vuelve a 1") << 4 << 11 << int(Qt::Key_Return) << 4 << 1;
  QTest::newRow("Arriba") << 3 << 5 << int(Qt::Key_Up) << 2 << 5;
  QTest::newRow("Arriba en la primera fila") << 2 << 5 << int(Qt::Key_Up) << 2 << 5;
  QTest::newRow("Abajo va a la primera columna") << 2 << 5 << int(Qt::Key_Down) << 3 << 1;
  QTest::newRow("Abajo en la ultima fila") << 4 << 5 << int(Qt::Key_Down) << 4 << 5;
}

void PruebaEdicion::movimientos() {
  QFETCH(int, fila);
  QFETCH(int, columna);
  QFETCH(int, tecla);
  QFETCH(int, filaFinal);
  QFETCH(int, columnaFinal);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  QList<qint64> claves;
  for (const char* hora : {"06:00:00", "07:00:00", "08:00:00"}) claves << Sembrar(v.entorno, hora);
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, fila, columna);
  Teclear("7");
  QList<std::pair<QWidget*, QWidget*>> cambios;
  const QMetaObject::Connection foco = connect(
      qApp, &QApplication::focusChanged,
      [&cambios](QWidget* antes, QWidget* ahora) { cambios.append(std::make_pair(antes, ahora)); });
  Tecla(Qt::Key(tecla));
  disconnect(foco);
  // The focus goes from the editor straight back to the grid, through no
  // other control and without a moment on none.
  QCOMPARE(cambios.size(), 1);
  QCOMPARE(cambios.front().first, static_cast<QWidget*>(w.TxtEdit));
  QCOMPARE(cambios.front().second, static_cast<QWidget*>(w.MSflexGrid1));
  // The entry was stored and copied into the cell it covered, then the cursor moved.
  QCOMPARE(w.MSflexGrid1->TextMatrix(fila, columna), QStringLiteral("7"));
  const QString campo = columna == 3 ? "HUMEDO" : columna == 5 ? "CARACT" : "OBSERVACIONES";
  QCOMPARE(Normalizado(Leer(v.entorno, claves[fila - 2], campo)), QStringLiteral("7"));
  QCOMPARE(w.MSflexGrid1->Row(), filaFinal);
  QCOMPARE(w.MSflexGrid1->Col(), columnaFinal);
  QVERIFY(!w.TxtEdit->isVisible());
  QVERIFY(w.MSflexGrid1->hasFocus());
  // Wherever the cursor lands, typing opens the editor there.
  Teclear("5");
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("5"));
}

void PruebaEdicion::separadorDecimal() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 id = Sembrar(v.entorno, "06:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 2, 3);
  // Either mark is the operator's separator; a second one is kept as typed,
  // and the entry refused rather than read as another number.
  Teclear("1.2.3");
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("1,2,3"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Avisos(v.entorno.operador(), "avisar").size(), 1);
  QVERIFY(Leer(v.entorno, id, "HUMEDO").isNull());
  QVERIFY(w.TxtEdit->isVisible());
  Teclear("1.5");
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("1,5"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(v.entorno, id, "HUMEDO")), QStringLiteral("1.5"));
  // A text column keeps every mark as typed.
  IrA(w, 2, 11);
  Teclear("Lote 1.5, ok. Ver www.molino.com.ar");
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("Lote 1.5, ok. Ver www.molino.com.ar"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Leer(v.entorno, id, "OBSERVACIONES").toString(),
           QStringLiteral("Lote 1.5, ok. Ver www.molino.com.ar"));
}

void PruebaEdicion::dobleClicAbreConElTexto() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 id = Sembrar(v.entorno, "06:00:00", "COLOR='Crema'");
  frmHarina& w = v.ventana;
  Grilla* g = w.MSflexGrid1;
  CargarDia(w, kDia);
  // A double click: press and release, then the double click itself.
  const QRect celda = g->visualRect(g->model()->index(0, 9));
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, celda.center());
  QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, celda.center());
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("Crema"));
  QCOMPARE(w.TxtEdit->cursorPosition(), 5);
  QCOMPARE(w.TxtEdit->geometry(), g->RectanguloEnPadre());
  Teclear(" claro");
  Tecla(Qt::Key_Return);
  QCOMPARE(Leer(v.entorno, id, "COLOR").toString(), QStringLiteral("Crema claro"));
}

void PruebaEdicion::escCancelaYShiftEnterNoGuarda() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 id = Sembrar(v.entorno, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 2, 7);
  Teclear("99");
  Tecla(Qt::Key_Return, Qt::ShiftModifier);
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.MSflexGrid1->Col(), 7);
  Tecla(Qt::Key_Escape);
  QVERIFY(!w.TxtEdit->isVisible());
  QVERIFY(w.MSflexGrid1->hasFocus());
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("14,5"));
  QCOMPARE(Normalizado(Leer(v.entorno, id, "HUMEDAD")), QStringLiteral("14.5"));
  QVERIFY(Leer(v.entorno, id, "fecha_modificacion").isNull());
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);
}

void PruebaEdicion::salirDelEditorGuarda() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 primera = Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  const qint64 segunda = Sembrar(e, "07:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  Grilla* g = w.MSflexGrid1;
  CargarDia(w, kDia);
  const auto clic = [&](int fila, int columna) {
    const QRect celda = g->visualRect(g->model()->index(fila - 2, columna));
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, celda.center());
  };
  // A click on another cell stores the open entry as Enter would.
  IrA(w, 2, 7);
  Teclear("12");
  clic(3, 3);
  QCOMPARE(Normalizado(Leer(e, primera, "HUMEDAD")), QStringLiteral("12"));
  QCOMPARE(g->TextMatrix(2, 7), QStringLiteral("12"));
  QCOMPARE(g->Row(), 3);
  QCOMPARE(g->Col(), 3);
  QVERIFY(!w.TxtEdit->isVisible());
  // A refused entry is dropped with a message; its cell keeps its text.
  IrA(w, 3, 7);
  Teclear("12a");
  clic(2, 3);
  QCOMPARE(Avisos(e.operador(), "avisar").size(), 1);
  QCOMPARE(Normalizado(Leer(e, segunda, "HUMEDAD")), QStringLiteral("14.5"));
  QCOMPARE(g->TextMatrix(3, 7), QStringLiteral("14,5"));
  QVERIFY(!w.TxtEdit->isVisible());
  // So does Tab, which takes the focus out of the editor.
  IrA(w, 3, 6);
  Teclear("250");
  Tecla(Qt::Key_Tab);
  QCOMPARE(Normalizado(Leer(e, segunda, "FALLINGNUMBER")), QStringLiteral("250"));
  QCOMPARE(g->TextMatrix(3, 6), QStringLiteral("250"));
  QVERIFY(!w.TxtEdit->isVisible());
  // And CANCELAR, back to the idle window.
  IrA(w, 3, 10);
  Teclear("98");
  Tecla(Qt::Key_F8);
  QVERIFY(!w.PlanillaCargada);
  QCOMPARE(Normalizado(Leer(e, segunda, "CONTROLPESAJE")), QStringLiteral("98"));
  CargarDia(w, kDia);
  // Closing the window with an entry open stores it.
  IrA(w, 3, 8);
  Teclear("0,5");
  w.close();
  QCOMPARE(Normalizado(Leer(e, segunda, "CENIZAS")), QStringLiteral("0.5"));
}

void PruebaEdicion::cadaEntradaSeEscribeUnaVez_data() {
  QTest::addColumn<QString>("salida");
  for (const char* salida : {"enter", "abajo", "arriba", "tab", "clic"})
    QTest::newRow(salida) << QString(salida);
}

// However the operator leaves the editor, the entry reaches the database in
// one UPDATE: a second one would cost the disk a second sync per cell.
void PruebaEdicion::cadaEntradaSeEscribeUnaVez() {
  QFETCH(QString, salida);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  Sembrar(e, "07:00:00");
  e.Ejecutar("CREATE TABLE escrituras (n INTEGER)");
  e.Ejecutar("INSERT INTO escrituras VALUES (0)");
  if (e.EsPostgresql()) {
    e.Ejecutar(
        "CREATE FUNCTION contar() RETURNS trigger AS $$ BEGIN UPDATE escrituras SET n = n + 1; "
        "RETURN NULL; END $$ LANGUAGE plpgsql");
    e.Ejecutar(
        "CREATE TRIGGER contar AFTER UPDATE ON v_mv_zentalia FOR EACH ROW EXECUTE FUNCTION "
        "contar()");
  } else {
    e.Ejecutar(
        "CREATE TRIGGER contar AFTER UPDATE ON v_mv_zentalia BEGIN UPDATE escrituras SET n = n + "
        "1; END");
  }
  frmHarina& w = v.ventana;
  Grilla* g = w.MSflexGrid1;
  CargarDia(w, kDia);
  IrA(w, 2, 7);
  Teclear("12");
  if (salida == "enter") Tecla(Qt::Key_Return);
  if (salida == "abajo") Tecla(Qt::Key_Down);
  if (salida == "arriba") Tecla(Qt::Key_Up);
  if (salida == "tab") Tecla(Qt::Key_Tab);
  if (salida == "clic")
    QTest::mouseClick(g->viewport(), Qt::LeftButton, {},
                      g->visualRect(g->model()->index(1, 3)).center());
  QVERIFY(!w.TxtEdit->isVisible());
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("12"));
  QSqlQuery escrituras(e.Otra());
  QVERIFY(escrituras.exec("SELECT n FROM escrituras") && escrituras.next());
  QCOMPARE(escrituras.value(0).toInt(), 1);
}

void PruebaEdicion::textosHostiles_data() {
  QTest::addColumn<int>("columna");
  QTest::addColumn<QString>("texto");
  QTest::addColumn<QString>("guardado");
  const QString largo = QString("abcdefghij").repeated(300);
  QTest::newRow("comillas y punto y coma") << 11 << "O'Brien'; DROP TABLE v_mv_zentalia; --"
                                           << "O'Brien'; DROP TABLE v_mv_zentalia; --";
  QTest::newRow("comodines y barras") << 5 << "50% _x_ \\ [a] \\'"
                                      << "50% _x_ \\ [a] \\'";
  QTest::newRow("comillas dobles") << 9 << "\"crema\" 'claro'"
                                   << "\"crema\" 'claro'";
  QTest::newRow("cirilico") << 1 << "Пшеничная мука"
                            << "Пшеничная мука";
  QTest::newRow("emoji") << 11 << "小麦粉 🌾😀 ok"
                         << "小麦粉 🌾😀 ok";
  QTest::newRow("observacion larga") << 11 << largo << largo;
}

void PruebaEdicion::textosHostiles() {
  QFETCH(int, columna);
  QFETCH(QString, texto);
  QFETCH(QString, guardado);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00");
  Sembrar(e, "07:00:00", "OBSERVACIONES='intacta'");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  const QStringList antes = Tabla(e);
  IrA(w, 2, columna);
  Teclear(texto);
  Tecla(Qt::Key_Return);
  const QString campo = columna == 1   ? "tipo_harina"
                        : columna == 5 ? "CARACT"
                        : columna == 9 ? "COLOR"
                                       : "OBSERVACIONES";
  QCOMPARE(Leer(e, id, campo).toString(), guardado);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, columna), guardado);
  const QStringList despues = Tabla(e);
  QCOMPARE(despues.size(), antes.size());
  QCOMPARE(despues.constLast(), antes.constLast());
  QCOMPARE(e.operador().preguntas.size(), 0);
}

QTEST_MAIN(PruebaEdicion)
#include "test_edicion.moc"
