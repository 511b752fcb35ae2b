// CONSULTAR on the sheet, at the keyboard: F3 on a column with a lookup lists
// the values recorded over all days, and the one picked is stored and moved
// past exactly as if typed; a lookup or a date prompt that brings nothing back
// changes nothing. F3 on a date field opens the date prompt. Runs on SQLite
// and on PostgreSQL; the database is read through a second connection.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>

#include "lookup/lib_frm_cons3.h"
#include "lookup/lista_consulta.h"
#include "services/distintos.h"
#include "services/lib_datos.h"
#include "services/recordset.h"
#include "sheet/consultas_planilla.h"
#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

qint64 Sembrar(EntornoPrueba& e, const QString& dia, const QString& harina, const QString& caract,
               const QString& color) {
  e.Ejecutar(
      QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, HORARIO, tipo_harina, CARACT, "
                     "COLOR) VALUES ('%1 00:00:00', '08:00:00', %2, %3, %4)")
          .arg(dia, Dialecto::Texto(harina), Dialecto::Texto(caract), Dialecto::Texto(color)));
  QSqlQuery ultima(e.Otra());
  ultima.exec("SELECT MAX(ID) FROM v_mv_zentalia");
  return ultima.next() ? ultima.value(0).toLongLong() : -1;
}

// A day with one analysis holding "viejo" in the three columns, and the values
// other days recorded.
qint64 Preparar(VentanaIniciada& v) {
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "2004-01-10", "000", "Elástico", "Blanco");
  Sembrar(e, "2004-02-11", "0000", "Tenaz", "Blanco crema");
  Sembrar(e, "2004-02-12", "Integral", "Muy tenaz", "Crema");
  Sembrar(e, "2004-02-13", "", "", "");
  const qint64 id = Sembrar(e, kDiaIso, "viejo", "viejo", "viejo");
  frmHarina& w = v.ventana;
  w.txtFields[0]->setFocus();
  w.txtFields[0]->clear();
  Teclear("15/03/2004");
  Tecla(Qt::Key_Return);
  return id;
}

}  // namespace

class PruebaConsultaPlanilla : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void elegir_data();
  void elegir();
  void nadaElegidoNoCambiaNada_data();
  void nadaElegidoNoCambiaNada();
  void columnaSinConsulta();
  void fechas_data();
  void fechas();
  void saltoDeIndiceDaLoMismoQueElGrupo();
};

void PruebaConsultaPlanilla::elegir_data() {
  QTest::addColumn<int>("columna");
  QTest::addColumn<QString>("campo");
  QTest::addColumn<QString>("teclas");  // typed in the first box; "F5:" filters first
  QTest::addColumn<QStringList>("listados");
  QTest::addColumn<QString>("elegido");
  QTest::newRow("tipo de harina") << 1 << "tipo_harina"
                                  << "000" << QStringList{"000", "0000", "Integral", "viejo"}
                                  << "000";
  QTest::newRow("tipo de harina, en minusculas")
      << 1 << "tipo_harina"
      << "inte" << QStringList{"000", "0000", "Integral", "viejo"} << "Integral";
  QTest::newRow("caracteristicas")
      << 5 << "CARACT"
      << "MUY" << QStringList{"Elástico", "Muy tenaz", "Tenaz", "viejo"} << "Muy tenaz";
  QTest::newRow("color tras F5") << 9 << "COLOR"
                                 << "F5:crema" << QStringList{"Blanco crema", "Crema"}
                                 << "Blanco crema";
}

void PruebaConsultaPlanilla::elegir() {
  QFETCH(int, columna);
  QFETCH(QString, campo);
  QFETCH(QString, teclas);
  QFETCH(QStringList, listados);
  QFETCH(QString, elegido);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Preparar(v);
  frmHarina& w = v.ventana;
  QVERIFY(w.PlanillaCargada);
  IrA(w, 2, columna);
  QStringList vistos;
  e.operador().consultas.enqueue([&](QDialog& d) {
    auto& consulta = static_cast<Lib_FrmCons3&>(d);
    if (teclas.startsWith("F5:")) {
      Teclear(teclas.mid(3));
      Tecla(Qt::Key_F5);
      Tecla(Qt::Key_Down);
    } else {
      Teclear(teclas);
    }
    for (int i = 0; i < consulta.ListView1->ListItemsCount(); ++i)
      vistos << consulta.ListView1->Text(i);
    Tecla(Qt::Key_Return);
  });
  Tecla(Qt::Key_F3);
  QCOMPARE(vistos, listados);
  QCOMPARE(Leer(e, id, campo).toString(), elegido);
  QVERIFY(!Leer(e, id, "fecha_modificacion").isNull());
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, columna), elegido);
  QVERIFY(!w.TxtEdit->isVisible());
  QCOMPARE(w.MSflexGrid1->Row(), 2);
  QCOMPARE(w.MSflexGrid1->Col(), columna + 1);
  QCOMPARE(e.operador().sinGuion, 0);
  QCOMPARE(e.operador().preguntas.size(), 1);
  // Typing goes on in the sheet as usual.
  QTRY_VERIFY(w.MSflexGrid1->hasFocus());
}

void PruebaConsultaPlanilla::nadaElegidoNoCambiaNada_data() {
  QTest::addColumn<QString>("salida");
  QTest::newRow("Esc") << "esc";
  QTest::newRow("cierre de la ventana") << "cerrar";
  QTest::newRow("aceptar sin filas tras F5") << "sin filas";
  QTest::newRow("editor abierto, Esc") << "editor";
}

void PruebaConsultaPlanilla::nadaElegidoNoCambiaNada() {
  QFETCH(QString, salida);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Preparar(v);
  frmHarina& w = v.ventana;
  IrA(w, 2, 1);
  if (salida == "editor") Teclear("In");
  e.operador().consultas.enqueue([&](QDialog& d) {
    if (salida == "cerrar") {
      d.close();
    } else if (salida == "sin filas") {
      // Accepted with nothing to take: no row meets the filter.
      Teclear("zzz");
      Tecla(Qt::Key_F5);
      Tecla(Qt::Key_Return);
    } else {
      Tecla(Qt::Key_Escape);
    }
  });
  Tecla(Qt::Key_F3);
  QCOMPARE(Leer(e, id, "tipo_harina").toString(), QStringLiteral("viejo"));
  QVERIFY(Leer(e, id, "fecha_modificacion").isNull());
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 1), QStringLiteral("viejo"));
  QCOMPARE(w.MSflexGrid1->Row(), 2);
  QCOMPARE(w.MSflexGrid1->Col(), 1);
  QCOMPARE(w.TxtEdit->isVisible(), salida == "editor");
  if (salida == "editor") QCOMPARE(w.TxtEdit->text(), QStringLiteral("In"));
  QCOMPARE(e.operador().sinGuion, 0);
  QCOMPARE(e.operador().preguntas.size(), 1);
}

void PruebaConsultaPlanilla::columnaSinConsulta() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  Preparar(v);
  frmHarina& w = v.ventana;
  IrA(w, 2, 2);
  QVERIFY(!Habilitados(w).contains("CONSULTAR"));
  Tecla(Qt::Key_F3);
  w.CmdConsultar(false);  // run anyway: nothing happens
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);
  QCOMPARE(w.MSflexGrid1->Col(), 2);
}

void PruebaConsultaPlanilla::fechas_data() {
  QTest::addColumn<int>("campo");
  QTest::addColumn<QDate>("fecha");  // invalid: the prompt is cancelled
  QTest::addColumn<QString>("texto");
  QTest::addColumn<bool>("cargada");
  QTest::newRow("fecha de la planilla") << 0 << QDate(2004, 3, 15) << "15/03/2004" << true;
  QTest::newRow("fecha cancelada") << 0 << QDate() << "01/02/2003" << false;
  QTest::newRow("fecha del reporte") << 2 << QDate(2004, 3, 1) << "01/03/2004" << false;
  QTest::newRow("fecha del reporte cancelada") << 3 << QDate() << "01/02/2003" << false;
}

void PruebaConsultaPlanilla::fechas() {
  QFETCH(int, campo);
  QFETCH(QDate, fecha);
  QFETCH(QString, texto);
  QFETCH(bool, cargada);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, kDiaIso, "000", "", "");
  frmHarina& w = v.ventana;
  if (campo > 0) w.SSTab1->setCurrentIndex(1);
  for (QLineEdit* f : w.txtFields) f->setText("01/02/2003");
  w.txtFields[campo]->setFocus();
  QTRY_VERIFY(w.txtFields[campo]->hasFocus());
  e.operador().fechas.enqueue(fecha.isValid() ? std::optional<QDate>(fecha) : std::nullopt);
  Tecla(Qt::Key_F3);
  QCOMPARE(w.txtFields[campo]->text(), texto);
  QCOMPARE(w.PlanillaCargada, cargada);
  if (cargada) QCOMPARE(w.MSflexGrid1->TextMatrix(2, 1), QStringLiteral("000"));
  // The prompt opens on the field's own date.
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas.first().tipo, QStringLiteral("fecha"));
  QCOMPARE(e.operador().preguntas.first().texto, QStringLiteral("2003-02-01"));
  // A report date moves on to the next field, as Enter does there.
  if (campo == 2) QTRY_VERIFY(w.txtFields[3]->hasFocus());
  QCOMPARE(e.operador().sinGuion, 0);
}

QTEST_MAIN(PruebaConsultaPlanilla)
#include "test_consulta_planilla.moc"

namespace {

QStringList Ordenadas(QSqlDatabase base, const QString& sql) {
  QSqlQuery consulta(base);
  if (!consulta.exec(sql)) return {consulta.lastError().text()};
  QStringList valores;
  while (consulta.next()) valores << consulta.value(0).toString();
  valores.sort();
  return valores;
}

}  // namespace

// The lookups seek each distinct value through the column's index: the same
// values as the statement as written, whatever the table holds (Null, '',
// blanks, case, accents), and the statement as written when no index helps.
void PruebaConsultaPlanilla::saltoDeIndiceDaLoMismoQueElGrupo() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  for (const char* valor : {"000", "0000", "Integral", "integral", "Integral ", " ", "Ñandú",
                            "Elástico", "Blanco crema", "000"})
    Sembrar(e, "2004-01-10", valor, valor, valor);
  Sembrar(e, "2004-01-11", "", "", "");
  e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (Fecha) VALUES ('2004-01-12 00:00:00')"));
  Conexion& conexion = LibDatos::Instancia().Conexion();
  for (const char* tag : {"VT_TipoHarina", "VT_caract", "VT_colores"}) {
    const QString sql = ConsultaDeColumna(conexion.dialecto(), tag)->sql;
    const QString motor = SentenciaParaElMotor(conexion, sql);
    QVERIFY2(motor.startsWith(QLatin1String("WITH RECURSIVE")), qPrintable(motor));
    const QStringList esperadas = Ordenadas(e.Otra(), sql);
    QCOMPARE(esperadas.size(), 9);
    QCOMPARE(Ordenadas(e.Otra(), motor), esperadas);
    // The recordset names its column as the statement as written does.
    Recordset filas = conexion.Execute(motor);
    QCOMPARE(filas.Fields(0).Name.toUpper(),
             ConsultaDeColumna(conexion.dialecto(), tag)->campoDevuelto.toUpper());
  }
  e.Ejecutar(QStringLiteral("DROP INDEX ix_v_mv_zentalia_color"));
  const QString colores = ConsultaDeColumna(conexion.dialecto(), "VT_colores")->sql;
  QCOMPARE(SentenciaParaElMotor(conexion, colores), colores);
}
