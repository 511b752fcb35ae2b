// A day's work at the keyboard, on the real window and the real database: the
// load of a day, typing in every column, the cursor's moves, NUEVO and BORRAR,
// and what the database holds afterwards, read through a second connection.
// Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QDateTime>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTest>

#include "services/lib_datos.h"
#include "sheet/grilla.h"
#include "soporte/ventana_prueba.h"

namespace {

const QString kDia = QStringLiteral("15/03/2004");
const QString kDiaIso = QStringLiteral("2004-03-15");

// A value as the test compares it: NULL, a number in C form, a time, a text.
QString Normalizado(const QVariant& valor) {
  if (valor.isNull()) return QStringLiteral("NULL");
  if (valor.typeId() == QMetaType::QTime) return valor.toTime().toString("HH:mm:ss");
  const QString texto = valor.toString();
  // A number, as the engine hands it (a double, or PostgreSQL's numeric text
  // with its trailing zeros); a text such as "000" stays as it is.
  static const QRegularExpression decimal("^-?\\d+\\.\\d+$");
  if (valor.typeId() == QMetaType::Double || decimal.match(texto).hasMatch())
    return QString::number(texto.toDouble());
  return texto;
}

QVariant Leer(EntornoPrueba& e, qint64 id, const QString& columna) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral("SELECT %1 FROM v_mv_zentalia WHERE ID = %2").arg(columna).arg(id));
  return consulta.next() ? consulta.value(0) : QVariant(QStringLiteral("<sin fila>"));
}

QList<qint64> Claves(EntornoPrueba& e, const QString& condicion = QStringLiteral("1 = 1")) {
  QSqlQuery consulta(e.Otra());
  consulta.exec("SELECT ID FROM v_mv_zentalia WHERE " + condicion + " ORDER BY ID");
  QList<qint64> claves;
  while (consulta.next()) claves << consulta.value(0).toLongLong();
  return claves;
}

// Every row and column but the modification moment, to see what else changed.
QStringList Tabla(EntornoPrueba& e) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(
      "SELECT ID, Fecha, responsable, tipo_harina, HORARIO, HUMEDO, SECO, CARACT, "
      "FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, CONTROLPESAJE, OBSERVACIONES "
      "FROM v_mv_zentalia ORDER BY ID");
  QStringList filas;
  while (consulta.next()) {
    QStringList fila;
    for (int c = 0; c < consulta.record().count(); ++c) fila << Normalizado(consulta.value(c));
    filas << fila.join('|');
  }
  return filas;
}

// An analysis of the test day (or another), written by another station; its
// key is the highest of the table.
qint64 Sembrar(EntornoPrueba& e, const QString& horario, const QString& extra = {},
               const QString& dia = kDiaIso) {
  const QString columnas = extra.isEmpty() ? QString() : ", " + extra.section('=', 0, 0);
  const QString valores = extra.isEmpty() ? QString() : ", " + extra.section('=', 1);
  e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, responsable, HORARIO%1) VALUES "
                            "('%2 00:00:00', 'lab', %3%4)")
                 .arg(columnas, dia, horario.isEmpty() ? "NULL" : "'" + horario + "'", valores));
  return Claves(e).constLast();
}

// Types a date into the date field and presses Enter, as the operator does.
void Cargar(frmHarina& w, const QString& fecha) {
  w.txtFields[0]->setFocus();
  w.txtFields[0]->clear();
  Teclear(fecha);
  Tecla(Qt::Key_Return);
}

void IrA(frmHarina& w, int fila, int columna) {
  w.MSflexGrid1->setFocus();
  w.MSflexGrid1->SetRow(fila);
  w.MSflexGrid1->SetCol(columna);
}

// Empties the current cell: the editor opens with the cell's text, all of it
// is selected and erased, and Enter confirms.
void Vaciar() {
  Tecla(Qt::Key_Return);
  Tecla(Qt::Key_A, Qt::ControlModifier);
  Tecla(Qt::Key_Backspace);
  Tecla(Qt::Key_Return);
}

QStringList Avisos(OperadorGuionado& operador, const QString& tipo) {
  QStringList textos;
  for (const Pregunta& p : operador.preguntas)
    if (p.tipo == tipo) textos << p.titulo + ": " + p.texto;
  return textos;
}

}  // namespace

class PruebaEdicion : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void cargaUnDia();
  void diaSinAnalisisEmpiezaConDosFilas();
  void fechaQueNoEsFecha_data();
  void fechaQueNoEsFecha();
  void camposDeEncabezado();
  void escribirCadaColumna_data();
  void escribirCadaColumna();
  void numeroRechazado_data();
  void numeroRechazado();
  void movimientos_data();
  void movimientos();
  void separadorDecimal();
  void dobleClicAbreConElTexto();
  void escCancelaYShiftEnterNoGuarda();
  void salirDelEditorGuarda();
  void cadaEntradaSeEscribeUnaVez_data();
  void cadaEntradaSeEscribeUnaVez();
  void nuevoTomaSuPropiaClave();
  void borrar_data();
  void borrar();
  void borrarTodasDejaDosEnBlanco();
  void claveInvalida_data();
  void claveInvalida();
  void claveDe64Bits();
  void textosHostiles_data();
  void textosHostiles();
  void baseQueSeVaYVuelve();
  void comandosEnCualquierCaso();
};

void PruebaEdicion::cargaUnDia() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 diez = Sembrar(e, "10:00:00", "HUMEDAD=14.5");
  const qint64 ocho = Sembrar(e, "08:00:00", "tipo_harina='000'");
  const qint64 doce = Sembrar(e, "12:00:00");
  Sembrar(e, "09:00:00", {}, "2004-03-16");
  e.Ejecutar("INSERT INTO v_mv_zentalia (Fecha, HORARIO) VALUES ('2004-03-14 23:59:59', '07:00')");
  frmHarina& w = v.ventana;

  Cargar(w, kDia);
  Grilla* g = w.MSflexGrid1;
  QVERIFY(w.PlanillaCargada);
  QCOMPARE(g->Rows(), 5);
  QCOMPARE(g->TextMatrix(2, 0), QString::number(ocho));
  QCOMPARE(g->TextMatrix(3, 0), QString::number(diez));
  QCOMPARE(g->TextMatrix(4, 0), QString::number(doce));
  QCOMPARE(g->TextMatrix(2, 1), QStringLiteral("000"));
  QCOMPARE(g->TextMatrix(2, 2), QStringLiteral("08:00:00"));
  QCOMPARE(g->TextMatrix(3, 7), QStringLiteral("14,5"));
  QCOMPARE(g->TextMatrix(4, 7), QString());
  QCOMPARE(g->TextMatrix(1, 0).toUpper(), QStringLiteral("ID"));
  QCOMPARE(g->ColWidth(0), 0);
  const QStringList linea1 = {"TIPO DE", "", "GLUTEN", "GLUTEN",  "GLUTEN", "FALLING",
                              "",        "", "",       "CONTROL", ""};
  const QStringList linea2 = {"HARINA",  "HORARIO", "HÚMEDO", "SECO",   "CARACT.",      "NUMBER",
                              "HUMEDAD", "CENIZAS", "COLOR",  "PESAJE", "OBSERVACIONES"};
  const int anchos[] = {1000, 1200, 1000, 1000, 1200, 800, 1000, 1000, 1000, 1000, 1700};
  for (int c = 1; c <= 11; ++c) {
    QCOMPARE(g->TextMatrix(0, c), linea1[c - 1]);
    QCOMPARE(g->TextMatrix(1, c), linea2[c - 1]);
    QVERIFY2(qAbs(g->ColWidth(c) - anchos[c - 1]) <= 15, qPrintable(QString::number(c)));
  }
  QCOMPARE(Habilitados(w), QStringList({"NUEVO", "BORRAR", "CONSULTAR", "REPORTE", "CANCELAR"}));
  QVERIFY(!w.txtFields[0]->isEnabled());
  QVERIFY(!w.SSTab1->isTabEnabled(1));
  QVERIFY(g->hasFocus());
  QCOMPARE(g->Row(), 2);
  QCOMPARE(g->Col(), 1);
  QVERIFY(!w.TxtEdit->isVisible());
  QCOMPARE(Claves(e).size(), 5);  // nothing inserted
  QCOMPARE(e.operador().preguntas.size(), 0);

  if (qEnvironmentVariableIsSet("PRUEBA_CAPTURAS")) {
    IrA(w, 3, 7);
    Teclear("14,");
    w.grab().save(qEnvironmentVariable("PRUEBA_CAPTURAS") + "/planilla.png");
  }
}

void PruebaEdicion::diaSinAnalisisEmpiezaConDosFilas() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
  Cargar(w, "20/4/2004");
  QCOMPARE(w.MSflexGrid1->Rows(), 4);
  const QList<qint64> nuevas = Claves(e);
  QCOMPARE(nuevas.size(), 2);
  for (int i = 0; i < 2; ++i) {
    QCOMPARE(w.MSflexGrid1->TextMatrix(2 + i, 0), QString::number(nuevas[i]));
    QCOMPARE(Leer(e, nuevas[i], "Fecha").toDateTime(), QDateTime(QDate(2004, 4, 20), QTime(0, 0)));
    QCOMPARE(Leer(e, nuevas[i], "responsable").toString(), QStringLiteral("Marta Giménez"));
    QVERIFY(Leer(e, nuevas[i], "fecha_alta").toDateTime() >= antes);
    QVERIFY(Leer(e, nuevas[i], "tipo_harina").isNull());
  }
  // Loading the same day again inserts nothing more.
  Tecla(Qt::Key_F8);
  QVERIFY(!w.PlanillaCargada);
  Cargar(w, "20/04/2004");
  QCOMPARE(Claves(e), nuevas);
  QCOMPARE(w.MSflexGrid1->Rows(), 4);
  // Loaded again while the grid already has the focus: the cursor is on the
  // first analysis's flour type all the same, ready for typing.
  w.MSflexGrid1->setFocus();
  w.CmdCargar_Click();
  QCOMPARE(w.MSflexGrid1->Row(), 2);
  QCOMPARE(w.MSflexGrid1->Col(), 1);
  Teclear("0");
  QVERIFY(w.TxtEdit->isVisible());
}

void PruebaEdicion::fechaQueNoEsFecha_data() {
  QTest::addColumn<QString>("texto");
  QTest::newRow("31 de febrero") << "31/02/2024";
  QTest::newRow("cifras") << "12345";
  QTest::newRow("palabra") << "hoy";
  QTest::newRow("vacia") << "";
}

void PruebaEdicion::fechaQueNoEsFecha() {
  QFETCH(QString, texto);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  w.txtFields[0]->setFocus();
  w.txtFields[0]->setText(texto);  // pasted: typed letters never reach the field
  Tecla(Qt::Key_Return);
  const QStringList avisos = Avisos(v.entorno.operador(), "avisar");
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos.first().contains("no es una fecha válida"), qPrintable(avisos.first()));
  QVERIFY(!w.PlanillaCargada);
  QVERIFY(w.txtFields[0]->isEnabled());
  QVERIFY(w.txtFields[0]->hasFocus());
  QCOMPARE(Claves(v.entorno).size(), 0);
  QCOMPARE(Habilitados(w), QStringList({"CONSULTAR", "CERRAR"}));
}

void PruebaEdicion::camposDeEncabezado() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  QLineEdit* fecha = w.txtFields[0];
  const QColor cian(0, 255, 255);
  QTRY_VERIFY(fecha->hasFocus());
  QCOMPARE(fecha->palette().color(QPalette::Base), cian);
  fecha->setText("01/02/2003  ");
  w.SSTab1->setCurrentIndex(1);
  QLineEdit* desde = w.txtFields[2];
  desde->setFocus();
  QCOMPARE(fecha->palette().color(QPalette::Base), QColor(Qt::white));
  QCOMPARE(desde->palette().color(QPalette::Base), cian);
  QVERIFY(w.ControlActivo == desde);
  // A date field takes digits and "/" only.
  Teclear("1a/b2-x");
  QCOMPARE(desde->text(), QStringLiteral("1/2"));
  // Enter in a report date moves on without loading anything.
  Tecla(Qt::Key_Return);
  QVERIFY(w.txtFields[3]->hasFocus());
  QVERIFY(!w.PlanillaCargada);
  QCOMPARE(Claves(v.entorno).size(), 0);
  // Entering a field selects its text without the trailing blanks.
  fecha->setFocus();
  QTRY_COMPARE(fecha->selectedText(), QStringLiteral("01/02/2003"));
}

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
  Cargar(w, kDia);
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

void PruebaEdicion::numeroRechazado_data() {
  QTest::addColumn<QString>("teclas");
  QTest::newRow("letras") << "12a";
  QTest::newRow("guiones") << "--";
  QTest::newRow("exponente") << "1e5";
}

void PruebaEdicion::numeroRechazado() {
  QFETCH(QString, teclas);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  IrA(w, 2, 7);
  Teclear(teclas);
  Tecla(Qt::Key_Return);
  const QStringList avisos = Avisos(e.operador(), "avisar");
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos.first().contains("HUMEDAD") && avisos.first().contains(teclas),
           qPrintable(avisos.first()));
  // Nothing written, not even a 0; the cell keeps its text; the entry waits.
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("14.5"));
  QVERIFY(Leer(e, id, "fecha_modificacion").isNull());
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("14,5"));
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), teclas);
  QCOMPARE(w.MSflexGrid1->Col(), 7);
  // Corrected, it is stored.
  Teclear("13");
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("13"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("13"));
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
  QTest::newRow("Abajo va a la columna clave") << 2 << 5 << int(Qt::Key_Down) << 3 << 0;
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
  Cargar(w, kDia);
  IrA(w, fila, columna);
  Teclear("7");
  Tecla(Qt::Key(tecla));
  // The entry was stored and copied into the cell it covered, then the cursor moved.
  QCOMPARE(w.MSflexGrid1->TextMatrix(fila, columna), QStringLiteral("7"));
  const QString campo = columna == 3 ? "HUMEDO" : columna == 5 ? "CARACT" : "OBSERVACIONES";
  QCOMPARE(Normalizado(Leer(v.entorno, claves[fila - 2], campo)), QStringLiteral("7"));
  QCOMPARE(w.MSflexGrid1->Row(), filaFinal);
  QCOMPARE(w.MSflexGrid1->Col(), columnaFinal);
  QVERIFY(!w.TxtEdit->isVisible());
  QVERIFY(w.MSflexGrid1->hasFocus());
  // On the key column typing opens nothing, and the lookup of the column
  // before it stays as it was.
  if (columnaFinal == 0) {
    QVERIFY(Habilitados(w).contains("CONSULTAR"));
    Teclear("5");
    QVERIFY(!w.TxtEdit->isVisible());
  }
}

void PruebaEdicion::separadorDecimal() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 id = Sembrar(v.entorno, "06:00:00");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  IrA(w, 2, 3);
  Teclear("1,5.");  // the full stop would be a second separator
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("1,5"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(v.entorno, id, "HUMEDO")), QStringLiteral("1.5"));
  // A full stop becomes the separator; the first character is not filtered.
  Teclear("2.5");
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("2,5"));
  Tecla(Qt::Key_Escape);
  Teclear(",");
  QCOMPARE(w.TxtEdit->text(), QStringLiteral(","));
  Tecla(Qt::Key_Escape);
  IrA(w, 2, 11);
  Teclear("a.b.c");
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("a,bc"));
}

void PruebaEdicion::dobleClicAbreConElTexto() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 id = Sembrar(v.entorno, "06:00:00", "COLOR='Crema'");
  frmHarina& w = v.ventana;
  Grilla* g = w.MSflexGrid1;
  Cargar(w, kDia);
  // A double click: press and release, then the double click itself.
  const QRect celda = g->visualRect(g->model()->index(0, 9));
  QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, celda.center());
  QTest::mouseDClick(g->viewport(), Qt::LeftButton, {}, celda.center());
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("Crema"));
  QCOMPARE(w.TxtEdit->cursorPosition(), 5);
  QCOMPARE(w.TxtEdit->geometry(), g->RectanguloEnPadre());
  QCOMPARE(w.TxtEdit->maxLength(), 50);
  Teclear(" claro");
  Tecla(Qt::Key_Return);
  QCOMPARE(Leer(v.entorno, id, "COLOR").toString(), QStringLiteral("Crema claro"));
}

void PruebaEdicion::escCancelaYShiftEnterNoGuarda() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 id = Sembrar(v.entorno, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
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
  Cargar(w, kDia);
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
  Cargar(w, kDia);
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
  Cargar(w, kDia);
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

void PruebaEdicion::nuevoTomaSuPropiaClave() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  // Another station's analysis has a higher key than the one NUEVO creates:
  // on SQLite it is written at the same moment (by a trigger); on PostgreSQL it
  // was written with a key of its own, above the sequence.
  if (e.EsPostgresql()) {
    e.Ejecutar(
        "INSERT INTO v_mv_zentalia (ID, Fecha, responsable) VALUES (900000, "
        "'2001-01-01 00:00:00', 'Otra estación')");
  } else {
    e.Ejecutar(
        "CREATE TRIGGER otra_estacion AFTER INSERT ON v_mv_zentalia "
        "WHEN NEW.responsable = 'Marta Giménez' BEGIN INSERT INTO v_mv_zentalia "
        "(Fecha, responsable) VALUES ('2001-01-01 00:00:00', 'Otra estación'); END");
  }
  w.MSflexGrid1->setFocus();
  Tecla(Qt::Key_Insert);
  const QList<qint64> mias = Claves(e, "responsable = 'Marta Giménez'");
  QCOMPARE(mias.size(), 1);
  QVERIFY(Claves(e).constLast() != mias.first());
  Grilla* g = w.MSflexGrid1;
  QCOMPARE(g->Rows(), 4);
  QCOMPARE(g->TextMatrix(3, 0), QString::number(mias.first()));
  QCOMPARE(g->TextMatrix(3, 1), QStringLiteral("Nuevo"));
  QCOMPARE(g->Row(), 3);
  QCOMPARE(g->Col(), 1);
  QCOMPARE(Leer(e, mias.first(), "Fecha").toDateTime(), QDateTime(QDate(2004, 3, 15), QTime(0, 0)));
  QVERIFY(Leer(e, mias.first(), "tipo_harina").isNull());
  // The row takes entries at once; the button's key in any case does the same.
  Teclear("0000");
  Tecla(Qt::Key_Return);
  QCOMPARE(Leer(e, mias.first(), "tipo_harina").toString(), QStringLiteral("0000"));
  w.EjecutarComando("nuevo");
  QCOMPARE(g->Rows(), 5);
  QCOMPARE(Claves(e, "responsable = 'Marta Giménez'").size(), 2);
  QCOMPARE(e.operador().preguntas.size(), 0);
}

void PruebaEdicion::borrar_data() {
  QTest::addColumn<bool>("haciaArriba");
  QTest::addColumn<bool>("si");
  QTest::newRow("hacia abajo, si") << false << true;
  QTest::newRow("hacia arriba, si") << true << true;
  QTest::newRow("no") << false << false;
}

void PruebaEdicion::borrar() {
  QFETCH(bool, haciaArriba);
  QFETCH(bool, si);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  QList<qint64> claves;
  for (const char* hora : {"06:00:00", "07:00:00", "08:00:00", "09:00:00"})
    claves << Sembrar(e, hora);
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  // Rows 3 and 4 selected, from either end.
  IrA(w, haciaArriba ? 4 : 3, 1);
  Tecla(haciaArriba ? Qt::Key_Up : Qt::Key_Down, Qt::ShiftModifier);
  e.operador().confirmaciones.enqueue(si);
  Tecla(Qt::Key_Delete);
  QCOMPARE(Avisos(e.operador(), "confirmar"),
           QStringList("Atención!: Muy importante...\r\nEsta opcion borra todos los registros "
                       "seleccionados\r\n-Esta seguro de Continuar...?"));
  if (si) {
    QCOMPARE(Claves(e), QList<qint64>({claves[0], claves[3]}));
    QCOMPARE(w.MSflexGrid1->Rows(), 4);
    QCOMPARE(w.MSflexGrid1->TextMatrix(3, 0), QString::number(claves[3]));
  } else {
    QCOMPARE(Claves(e), claves);
    QCOMPARE(w.MSflexGrid1->Rows(), 6);
  }
  QVERIFY(Habilitados(w).contains("REPORTE"));
}

void PruebaEdicion::borrarTodasDejaDosEnBlanco() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 unica = Sembrar(v.entorno, "06:00:00");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  v.entorno.operador().confirmaciones.enqueue(true);
  w.EjecutarComando("Borrar");
  const QList<qint64> quedan = Claves(v.entorno);
  QCOMPARE(quedan.size(), 2);
  QVERIFY(!quedan.contains(unica));
  QCOMPARE(w.MSflexGrid1->Rows(), 4);
  QVERIFY(Habilitados(w).contains("REPORTE"));
}

void PruebaEdicion::claveInvalida_data() {
  QTest::addColumn<QString>("clave");
  QTest::addColumn<int>("errores");
  QTest::newRow("cero") << "0" << 0;
  QTest::newRow("vacia, omitida") << "" << 1;
}

void PruebaEdicion::claveInvalida() {
  QFETCH(QString, clave);
  QFETCH(int, errores);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  const QStringList antes = Tabla(e);
  w.MSflexGrid1->SetTextMatrix(2, 0, clave);
  e.operador().respuestasError.enqueue(5);  // skip the key that cannot be read
  IrA(w, 2, 7);
  Teclear("13");
  Tecla(Qt::Key_Return);
  QCOMPARE(Avisos(e.operador(), "error").size(), errores);
  const QList<Pregunta>& preguntas = e.operador().preguntas;
  QCOMPARE(preguntas.constLast().tipo, QStringLiteral("avisar"));
  QCOMPARE(preguntas.constLast().estilo, 16);
  QCOMPARE(preguntas.constLast().titulo, QStringLiteral("Aviso al operador"));
  QCOMPARE(preguntas.constLast().texto,
           QStringLiteral("Mal Posicionamiento!!!, no se actualizará"));
  QCOMPARE(Tabla(e), antes);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("14,5"));
}

void PruebaEdicion::claveDe64Bits() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 otra = Sembrar(e, "07:00:00");
  const qint64 grande = 5000000000LL;
  e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (ID, Fecha, HORARIO) VALUES (%1, "
                            "'2004-03-15 00:00:00', '06:00:00')")
                 .arg(grande));
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  IrA(w, 2, 7);
  Teclear("13");
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, grande, "HUMEDAD")), QStringLiteral("13"));
  e.operador().confirmaciones.enqueue(true);
  IrA(w, 2, 1);
  Tecla(Qt::Key_Delete);
  QCOMPARE(Claves(e), QList<qint64>({otra}));
  QCOMPARE(e.operador().preguntas.size(), 1);
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
  QTest::newRow("mas largo que la columna") << 1 << "Harina de trigo tipo 0000 especial"
                                            << "Harina de trigo tipo 0000";
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
  Cargar(w, kDia);
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

void PruebaEdicion::baseQueSeVaYVuelve() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  // The program's connection is cut: the server drops it, or the file handle
  // is gone.
  const auto cortar = [&] {
    if (e.EsPostgresql()) {
      e.Ejecutar(
          "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE datname = "
          "current_database() AND pid <> pg_backend_pid()");
    } else {
      LibDatos::Instancia().Conexion().Base().close();
    }
  };
  IrA(w, 2, 7);
  Teclear("13");
  cortar();
  e.operador().respuestasError.enqueue(3);  // leave
  Tecla(Qt::Key_Return);
  QStringList errores = Avisos(e.operador(), "error");
  QCOMPARE(errores.size(), 1);
  QVERIFY2(errores.first().contains("UpdateaCampo"), qPrintable(errores.first()));
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("14.5"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("14,5"));
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("13"));
  // Back again: the same entry is stored with Enter.
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("13"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("13"));
  // Cut again, and answered "retry": stored on the reopened connection.
  IrA(w, 2, 8);
  Teclear("0,5");
  cortar();
  e.operador().respuestasError.enqueue(4);
  Tecla(Qt::Key_Return);
  QCOMPARE(Avisos(e.operador(), "error").size(), 2);
  QCOMPARE(Normalizado(Leer(e, id, "CENIZAS")), QStringLiteral("0.5"));
  QCOMPARE(w.MSflexGrid1->Col(), 9);
}

void PruebaEdicion::comandosEnCualquierCaso() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  Sembrar(v.entorno, "06:00:00");
  frmHarina& w = v.ventana;
  Cargar(w, kDia);
  const QStringList antes = Tabla(v.entorno);
  for (const char* clave : {"grabar", "PLANILLA", "Consultar", "reporte", "desconocido"})
    w.EjecutarComando(clave);
  QCOMPARE(Tabla(v.entorno), antes);
  QVERIFY(w.PlanillaCargada);
  QCOMPARE(w.MSflexGrid1->Rows(), 3);
  w.EjecutarComando("cancelar");
  QVERIFY(!w.PlanillaCargada);
  // The idle grid takes neither rows nor entries.
  w.MSflexGrid1->setFocus();
  Tecla(Qt::Key_Insert);
  Teclear("5");
  QVERIFY(!w.TxtEdit->isVisible());
  QCOMPARE(Tabla(v.entorno), antes);
  // "Consultar" opened the flour type's lookup, closed here unanswered, and
  // "reporte" showed the loaded day's report; nothing else was asked.
  QCOMPARE(v.entorno.operador().preguntas.size(), 2);
  QCOMPARE(v.entorno.operador().preguntas[0].tipo, QStringLiteral("consulta"));
  QCOMPARE(v.entorno.operador().preguntas[1].tipo, QStringLiteral("vista previa"));
}

QTEST_MAIN(PruebaEdicion)
#include "test_edicion.moc"
