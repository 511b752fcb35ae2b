// The lookup window on a real database, driven by keys: what each way of
// leaving it answers, the typed search, sorting by a header and F5 over any
// statement. Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "lookup/lib_cls_cons3.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/lista_consulta.h"
#include "services/lib_datos.h"
#include "services/twips.h"
#include "sheet/consultas_planilla.h"
#include "soporte/consulta_prueba.h"
#include "soporte/entorno_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaConsulta : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void resultados_data();
  void resultados();
  void busquedaTecleada();
  void ordenPorEncabezado();
  void f5_data();
  void f5();
};

void PruebaConsulta::resultados_data() {
  QTest::addColumn<QString>("campoDevuelto");
  QTest::addColumn<QStringList>("cmpsDevueltos");
  QTest::addColumn<bool>("checks");
  QTest::addColumn<QString>("pasos");
  QTest::addColumn<QString>("valorDevuelto");
  QTest::addColumn<QString>("valores");
  const QStringList ninguna;
  QTest::newRow("Enter tras teclear") << "Depósito" << ninguna << false << "caja1 nor enter"
                                      << "2"
                                      << "";
  QTest::newRow("segunda columna") << "descripción" << ninguna << false << "3 aceptar"
                                   << "Sur"
                                   << "";
  QTest::newRow("columnas devueltas, ultima como valor")
      << " " << QStringList{"DESCRIPCIÓN", "depósito"} << false << "5 enter"
      << "5"
      << "Puerto|5";
  QTest::newRow("nombres que no son columnas")
      << "Nada" << QStringList{"Descripción", "Otra"} << false << "1 enter"
      << ""
      << "Central|";
  QTest::newRow("aceptar sin filas")
      << "Depósito" << ninguna << false << "caja1 zzz f5 enter" << kSinValor << "";
  QTest::newRow("lista con Enter") << "Descripción" << ninguna << false << "abajo abajo enter"
                                   << "Norte"
                                   << "";
  QTest::newRow("doble clic") << "Descripción" << ninguna << false << "abajo abajo doble"
                              << "Norte"
                              << "";
  QTest::newRow("Esc") << "Depósito" << ninguna << false << "2 esc"
                       << "" << kNinguna;
  QTest::newRow("boton cancelar") << "Depósito" << ninguna << false << "2 cancelar"
                                  << "" << kNinguna;
  QTest::newRow("cierre de la ventana")
      << "Depósito" << QStringList{"Descripción"} << false << "2 cerrar"
      << "" << kNinguna;
  QTest::newRow("casillas") << "" << ninguna << true << "marcar:1,3 aceptar" << kSinValor << "2|5";
  QTest::newRow("casillas por descripcion")
      << "Descripción" << ninguna << true << "marcar:3,0 aceptar" << kSinValor << "Central|Puerto";
  QTest::newRow("casillas sin marcar") << "" << ninguna << true << "aceptar" << kSinValor << "";
  QTest::newRow("casillas sin columna")
      << "Nada" << ninguna << true << "marcar:0,1 aceptar" << kSinValor << "|";
}

void PruebaConsulta::resultados() {
  QFETCH(QString, campoDevuelto);
  QFETCH(QStringList, cmpsDevueltos);
  QFETCH(bool, checks);
  QFETCH(QString, pasos);
  QFETCH(QString, valorDevuelto);
  QFETCH(QString, valores);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Depositos(e);
  Lib_ClsCons3& consulta = gConsulta();
  consulta.CampoDevuelto = campoDevuelto;
  consulta.Checks = checks;
  consulta.ValorDevuelto = QStringLiteral("de antes");
  std::optional<QStringList> devueltos;
  if (!cmpsDevueltos.isEmpty()) devueltos = cmpsDevueltos;
  QString clave, campo, where;
  e.operador().consultas.enqueue([&](QDialog& d) { Hacer(static_cast<Lib_FrmCons3&>(d), pasos); });
  consulta.ConsultaSearch(SqlDepositos(), devueltos, clave, campo, where);

  QCOMPARE(Texto(consulta.ValorDevuelto), valorDevuelto);
  QCOMPARE(Lista(consulta.Valores), valores);
  QCOMPARE(Lista(consulta.Cantidades), QString());
  QVERIFY(!devueltos);
  QVERIFY(!consulta.Checks);
  QCOMPARE(consulta.CampoDevuelto, QString());
  QCOMPARE(e.operador().sinGuion, 0);
  QCOMPARE(e.operador().preguntas.size(), 1);  // the lookup itself, nothing reported
}

void PruebaConsulta::busquedaTecleada() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar("CREATE TABLE t_harinas (nombre VARCHAR(30))");
  e.Ejecutar(
      "INSERT INTO t_harinas VALUES ('000'), ('  Pan de molde'), ('PANADERA'), "
      "('pana'), ('Integral'), ('Pastelera')");
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, "SELECT nombre FROM t_harinas ORDER BY nombre DESC"));
  QVERIFY(w.CmbSearch[0]->hasFocus());
  // The order the statement gave: the list keeps it.
  QCOMPARE(Primeros(w),
           QStringList({"pana", "Pastelera", "PANADERA", "Integral", "000", "Pan de molde"}));
  QCOMPARE(Seleccionado(w), QStringLiteral("pana"));  // the first row shown
  Teclear("pan");
  QCOMPARE(Seleccionado(w), QStringLiteral("pana"));
  Teclear(" ");  // "pan " trimmed is still "pan"
  QCOMPARE(Seleccionado(w), QStringLiteral("pana"));
  Tecla(Qt::Key_Backspace);
  Teclear("ad");
  QCOMPARE(Seleccionado(w), QStringLiteral("PANADERA"));
  Teclear("x");  // no match: the selection stays
  QCOMPARE(Seleccionado(w), QStringLiteral("PANADERA"));
  w.CmbSearch[0]->setEditText("PAN D");  // leading blanks of the value are ignored
  QCOMPARE(Seleccionado(w), QStringLiteral("Pan de molde"));
  w.CmbSearch[0]->setEditText("");
  QCOMPARE(Seleccionado(w), QStringLiteral("pana"));  // empty: the first row
  QCOMPARE(w.CajaActiva, 0);
  QCOMPARE(e.operador().preguntas.size(), 0);
}

void PruebaConsulta::ordenPorEncabezado() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Depositos(e);
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, SqlDepositos()));
  // No ORDER BY: the list sorts itself, ascending on the first column.
  QCOMPARE(Primeros(w), QStringList({"1", "2", "3", "5"}));
  QHeaderView* cabecera = w.ListView1->horizontalHeader();
  const auto clic = [&](int seccion) {
    QTest::mouseClick(
        cabecera->viewport(), Qt::LeftButton, {},
        QPoint(cabecera->sectionViewportPosition(seccion) + 5, cabecera->height() / 2));
  };
  clic(0);
  QCOMPARE(Primeros(w), QStringList({"5", "3", "2", "1"}));
  clic(0);
  QCOMPARE(Primeros(w), QStringList({"1", "2", "3", "5"}));
  clic(1);  // Central, Norte, Puerto, Sur, descending
  QCOMPARE(Primeros(w), QStringList({"3", "5", "2", "1"}));
  QCOMPARE(w.ListView1->SortKey(), 1);
  QCOMPARE(w.ListView1->SortOrder(), 1);
  // The typed search walks the order shown.
  w.CmbSearch[1]->setFocus();
  Teclear("n");
  QCOMPARE(w.ListView1->SubItems(w.ListView1->SelectedItem(), 1), QStringLiteral("Norte"));
  QCOMPARE(w.ListView1->SelectedItem(), 2);
  // The selection follows its row through a sort.
  clic(1);
  QCOMPARE(w.ListView1->SubItems(w.ListView1->SelectedItem(), 1), QStringLiteral("Norte"));
  QCOMPARE(w.ListView1->SelectedItem(), 1);
}

void PruebaConsulta::f5_data() {
  QTest::addColumn<QString>("tag");  // a sheet lookup, or "orden"
  QTest::addColumn<QString>("primero");
  QTest::addColumn<QStringList>("trasPrimero");
  QTest::addColumn<QString>("segundo");
  QTest::addColumn<QStringList>("trasSegundo");
  QTest::newRow("harina") << "VT_TipoHarina"
                          << "0" << QStringList{"000", "0000", "Pan 50%", "Pan 500"} << "50"
                          << QStringList{"Pan 50%", "Pan 500"};
  QTest::newRow("harina, % literal")
      << "VT_TipoHarina"
      << "50%" << QStringList{"Pan 50%"} << "PAN" << QStringList{"Pan 50%"};
  QTest::newRow("caracteristicas")
      << "VT_caract"
      << "TENAZ" << QStringList{"Muy tenaz", "Tenaz"} << "muy" << QStringList{"Muy tenaz"};
  QTest::newRow("caracteristicas, comilla")
      << "VT_caract"
      << "o'b" << QStringList{"O'Brien"} << "_" << QStringList{};
  QTest::newRow("color") << "VT_colores"
                         << "crema" << QStringList{"Blanco crema", "Crema"} << "bla"
                         << QStringList{"Blanco crema"};
  QTest::newRow("con ORDER BY") << "orden"
                                << "an" << QStringList{"San Luis", "Santa Fe"} << "ta"
                                << QStringList{"Santa Fe"};
  QTest::newRow("caja vacia") << "orden"
                              << "" << QStringList{"Mendoza", "Salta", "San Luis", "Santa Fe"}
                              << "s" << QStringList{"Salta", "San Luis", "Santa Fe"};
}

void PruebaConsulta::f5() {
  QFETCH(QString, tag);
  QFETCH(QString, primero);
  QFETCH(QStringList, trasPrimero);
  QFETCH(QString, segundo);
  QFETCH(QStringList, trasSegundo);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  const QStringList harinas = {"000", "0000", "Integral", "Pan 50%", "Pan 500", "", "000"};
  const QStringList caracts = {"Elástico", "Tenaz", "Muy tenaz", "O'Brien", "", "Tenaz", ""};
  const QStringList colores = {"Blanco", "Blanco crema", "Crema", "Gris", "", "Gris", "Crema"};
  for (int i = 0; i < harinas.size(); ++i)
    e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (tipo_harina, CARACT, COLOR) VALUES "
                              "(%1, %2, %3)")
                   .arg(Dialecto::Texto(harinas[i]), Dialecto::Texto(caracts[i]),
                        Dialecto::Texto(colores[i])));
  e.Ejecutar("INSERT INTO v_mv_zentalia (tipo_harina) VALUES (NULL)");
  e.Ejecutar("CREATE TABLE ta_provincias (descripcion VARCHAR(30))");
  e.Ejecutar("INSERT INTO ta_provincias VALUES ('Santa Fe'), ('Salta'), ('Mendoza'), ('San Luis')");
  QString sql = "SELECT DESCRIPCION FROM TA_PROVINCIAS ORDER BY DESCRIPCION ";
  if (tag != "orden") sql = ConsultaDeColumnaPrueba(tag);

  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, sql));
  const QStringList todas = Primeros(w);
  QVERIFY(todas.size() >= 4);
  Teclear(primero);
  Tecla(Qt::Key_F5);
  QCOMPARE(Primeros(w), trasPrimero);
  QCOMPARE(w.CmbSearch[0]->currentText(), QString());
  QVERIFY(w.CmbSearch[0]->hasFocus());
  Teclear(segundo);
  Tecla(Qt::Key_F5);
  QCOMPARE(Primeros(w), trasSegundo);
  QVERIFY2(w.Sql.contains(" and "), qPrintable(w.Sql));
  QCOMPARE(w.SqlInicial, sql);
  QCOMPARE(e.operador().preguntas.size(), 0);
  // "&Nueva Busqueda": the first statement and its rows again.
  QTest::mouseClick(w.CmdNueva, Qt::LeftButton);
  QCOMPARE(w.Sql, sql);
  QCOMPARE(Primeros(w), todas);
  QVERIFY(w.CmbSearch[0]->hasFocus());
}

QTEST_MAIN(PruebaConsulta)
#include "test_consulta_ventana.moc"
