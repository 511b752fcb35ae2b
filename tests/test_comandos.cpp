// The sheet's commands at the keyboard, on the real window and the real
// database: the load of a day and the header fields, NUEVO and BORRAR, the keys
// of the rows, the command keys in any case, and a connection that is cut and
// comes back; what the database holds is read through a second connection.
// Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QDateTime>
#include <QHeaderView>
#include <QLineEdit>
#include <QLocale>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <future>
#include <thread>

#include "services/lib_datos.h"
#include "services/twips.h"
#include "sheet/grilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaComandos : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void cargaUnDia();
  void diaSinAnalisisEmpiezaConDosFilas();
  void diaNuevoEnDosEstaciones();
  void fechaQueNoEsFecha_data();
  void fechaQueNoEsFecha();
  void camposDeEncabezado();
  void nuevoTomaSuPropiaClave();
  void borrar_data();
  void borrar();
  void borrarTodasDejaDosEnBlanco();
  void claveCero();
  void claveDe64Bits();
  void baseQueSeVaYVuelve();
  void comandosEnCualquierCaso();
};

void PruebaComandos::cargaUnDia() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 diez = Sembrar(e, "10:00:00", "HUMEDAD=14.5");
  const qint64 ocho = Sembrar(e, "08:00:00", "tipo_harina='000'");
  const qint64 doce = Sembrar(e, "12:00:00");
  Sembrar(e, "09:00:00", {}, "2004-03-16");
  e.Ejecutar("INSERT INTO v_mv_zentalia (Fecha, HORARIO) VALUES ('2004-03-14 23:59:59', '07:00')");
  frmHarina& w = v.ventana;

  CargarDia(w, kDia);
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
    // The design's width, or more where the caption needs it (FALLING NUMBER's
    // 800 twips cannot hold "FALLING"): the column grows to show it whole.
    QVERIFY2(g->ColWidth(c) >= anchos[c - 1] - 15, qPrintable(QString::number(c)));
    if (g->ColWidth(c) > anchos[c - 1] + 15) {
      const QFontMetrics medida(g->horizontalHeader()->font());
      const int caption = std::max(medida.horizontalAdvance(linea1[c - 1]),
                                   medida.horizontalAdvance(linea2[c - 1]));
      const int margen = 2 * g->style()->pixelMetric(QStyle::PM_HeaderMargin);
      QVERIFY2(caption + margen + 12 > twips::APixeles(anchos[c - 1]), qPrintable(linea2[c - 1]));
    }
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

void PruebaComandos::diaSinAnalisisEmpiezaConDosFilas() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  const QDateTime antes = QDateTime::currentDateTime().addSecs(-1);
  CargarDia(w, "20/4/2004");
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
  // Loading it again while the blank analyses are there inserts nothing more.
  w.CmdCargar_Click();
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

// Another station opens the same new day at the same moment: it holds the day
// (as this program does) while it inserts its analysis, and lets go a moment
// later. The window, waiting for the day, then finds it begun and adds none.
void PruebaComandos::diaNuevoEnDosEstaciones() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  std::promise<void> dentro;
  std::thread estacion([&e, &dentro] {
    {
      QSqlQuery consulta(e.Abrir(QStringLiteral("estacion_b")));
      const Dialecto dialecto(e.motor());
      for (const QString& sentencia : dialecto.ComenzarConDia(QDate(2004, 4, 20)))
        consulta.exec(sentencia);
      consulta.exec(
          "INSERT INTO v_mv_zentalia (Fecha, responsable) VALUES ('2004-04-20 00:00:00', "
          "'Estación B')");
      dentro.set_value();
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      consulta.exec(dialecto.Confirmar());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("estacion_b"));
  });
  dentro.get_future().wait();
  CargarDia(w, "20/04/2004");
  estacion.join();
  QCOMPARE(Claves(e).size(), 1);
  QCOMPARE(w.MSflexGrid1->Rows(), 3);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 0), QString::number(Claves(e).first()));
  QCOMPARE(e.operador().preguntas.size(), 0);
}

void PruebaComandos::fechaQueNoEsFecha_data() {
  QTest::addColumn<QString>("texto");
  QTest::newRow("31 de febrero") << "31/02/2024";
  QTest::newRow("cifras") << "12345";
  QTest::newRow("palabra") << "hoy";
  QTest::newRow("vacia") << "";
}

void PruebaComandos::fechaQueNoEsFecha() {
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

void PruebaComandos::camposDeEncabezado() {
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

void PruebaComandos::nuevoTomaSuPropiaClave() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
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

void PruebaComandos::borrar_data() {
  QTest::addColumn<bool>("haciaArriba");
  QTest::addColumn<bool>("si");
  QTest::newRow("hacia abajo, si") << false << true;
  QTest::newRow("hacia arriba, si") << true << true;
  QTest::newRow("no") << false << false;
}

void PruebaComandos::borrar() {
  QFETCH(bool, haciaArriba);
  QFETCH(bool, si);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  QList<qint64> claves;
  for (const char* hora : {"06:00:00", "07:00:00", "08:00:00", "09:00:00"})
    claves << Sembrar(e, hora);
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  // Rows 3 and 4 selected, from either end.
  IrA(w, haciaArriba ? 4 : 3, 1);
  Tecla(haciaArriba ? Qt::Key_Up : Qt::Key_Down, Qt::ShiftModifier);
  e.operador().confirmaciones.enqueue(si);
  Tecla(Qt::Key_Delete);
  // Delete then Enter by reflex must not destroy: No is the default answer,
  // and the question says how many analyses would go.
  QCOMPARE(Avisos(e.operador(), "confirmar"),
           QStringList("Atención!: Muy importante...\r\nEsta opcion borra todos los registros "
                       "seleccionados (2 análisis)\r\n-Esta seguro de Continuar...?"));
  QVERIFY(e.operador().preguntas.constLast().noPorDefecto);
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

void PruebaComandos::borrarTodasDejaDosEnBlanco() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  const qint64 unica = Sembrar(v.entorno, "06:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  v.entorno.operador().confirmaciones.enqueue(true);
  w.EjecutarComando("Borrar");
  const QList<qint64> quedan = Claves(v.entorno);
  QCOMPARE(quedan.size(), 2);
  QVERIFY(!quedan.contains(unica));
  QCOMPARE(w.MSflexGrid1->Rows(), 4);
  QVERIFY(Habilitados(w).contains("REPORTE"));
}

// An analysis whose key is 0 (written so by another program) is never
// updated: the guard against a badly placed row refuses it.
void PruebaComandos::claveCero() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  e.Ejecutar(
      "INSERT INTO v_mv_zentalia (ID, Fecha, HORARIO, HUMEDAD) VALUES (0, '2004-03-15 00:00:00', "
      "'05:00:00', 14.5)");
  Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 0), QStringLiteral("0"));
  const QStringList antes = Tabla(e);
  IrA(w, 2, 7);
  Teclear("13");
  Tecla(Qt::Key_Return);
  const QList<Pregunta>& preguntas = e.operador().preguntas;
  QCOMPARE(preguntas.size(), 1);
  QCOMPARE(preguntas.constLast().tipo, QStringLiteral("avisar"));
  QCOMPARE(preguntas.constLast().estilo, 16);
  QCOMPARE(preguntas.constLast().titulo, QStringLiteral("Aviso al operador"));
  QCOMPARE(preguntas.constLast().texto,
           QStringLiteral("Mal Posicionamiento!!!, no se actualizará"));
  QCOMPARE(Tabla(e), antes);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("14,5"));
}

void PruebaComandos::claveDe64Bits() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 otra = Sembrar(e, "07:00:00");
  const qint64 grande = 5000000000LL;
  e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (ID, Fecha, HORARIO) VALUES (%1, "
                            "'2004-03-15 00:00:00', '06:00:00')")
                 .arg(grande));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
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

void PruebaComandos::baseQueSeVaYVuelve() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=14.5");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
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
  // The connection is opened again under the statement, which then runs
  // once: the operator sees nothing of it, and the entry is stored.
  IrA(w, 2, 7);
  Teclear("13");
  cortar();
  Tecla(Qt::Key_Return);
  QCOMPARE(e.operador().preguntas.size(), 0);
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("13"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("13"));
  QVERIFY(!w.TxtEdit->isVisible());
  // Cut again: stored on the reopened connection, and the cursor moves on.
  IrA(w, 2, 8);
  Teclear("0,5");
  cortar();
  Tecla(Qt::Key_Return);
  QCOMPARE(e.operador().preguntas.size(), 0);
  QCOMPARE(Normalizado(Leer(e, id, "CENIZAS")), QStringLiteral("0.5"));
  QCOMPARE(w.MSflexGrid1->Col(), 9);
}

void PruebaComandos::comandosEnCualquierCaso() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  Sembrar(v.entorno, "06:00:00");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
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

QTEST_MAIN(PruebaComandos)
#include "test_comandos.moc"
