// The lookup window on a real database, driven by keys: what each way of
// leaving it answers, the typed search, F5 over any statement, quantities,
// the keys typed in the list, column widths and refused statements. Runs on
// SQLite and on PostgreSQL.

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
#include "soporte/entorno_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

const QString kSinValor = QStringLiteral("<sin valor>");
const QString kNinguna = QStringLiteral("<ninguna>");

QString Texto(const std::optional<QString>& valor) { return valor ? *valor : kSinValor; }
QString Lista(const std::optional<QStringList>& valores) {
  return valores ? valores->join('|') : kNinguna;
}

// The deposits: four rows, read in another order than their keys.
void Depositos(EntornoPrueba& e) {
  e.Ejecutar("CREATE TABLE ta_deposito (iddeposito INTEGER, descripcion VARCHAR(40))");
  e.Ejecutar(
      "INSERT INTO ta_deposito VALUES (3, 'Sur'), (1, 'Central'), (5, 'Puerto'), (2, 'Norte')");
}

QString SqlDepositos() {
  const Dialecto& d = LibDatos::Instancia().Conexion().dialecto();
  return "SELECT iddeposito AS " + d.Alias("Depósito") + ", descripcion AS " +
         d.Alias("Descripción") + " FROM ta_deposito";
}

QString ConsultaDeColumnaPrueba(const QString& tag) {
  return ConsultaDeColumna(LibDatos::Instancia().Conexion().dialecto(), tag)->sql;
}

// The window loaded with a statement, shown and active, the focus in box 0.
void Mostrar(Lib_FrmCons3& w, const QString& sql) {
  w.Sql = sql;
  w.OrdenarPorLwv = !sql.contains("ORDER BY", Qt::CaseInsensitive);
  w.Form_Load();
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

QString Seleccionado(const Lib_FrmCons3& w) {
  const int item = w.ListView1->SelectedItem();
  return item < 0 ? kSinValor : w.ListView1->Text(item);
}

QStringList Primeros(const Lib_FrmCons3& w) {
  QStringList textos;
  for (int i = 0; i < w.ListView1->ListItemsCount(); ++i) textos << w.ListView1->Text(i);
  return textos;
}

// Each step of the operator in the lookup window, by word.
void Hacer(Lib_FrmCons3& w, const QString& pasos) {
  for (const QString& paso : pasos.split(' ', Qt::SkipEmptyParts)) {
    if (paso == "enter")
      Tecla(Qt::Key_Return);
    else if (paso == "esc")
      Tecla(Qt::Key_Escape);
    else if (paso == "abajo")
      Tecla(Qt::Key_Down);
    else if (paso == "cancelar")
      QTest::mouseClick(w.CmdCancelar, Qt::LeftButton);
    else if (paso == "aceptar")
      QTest::mouseClick(w.CmdAceptar, Qt::LeftButton);
    else if (paso == "cerrar")
      w.close();
    else if (paso == "caja1")
      w.CmbSearch[1]->setFocus();
    else if (paso == "doble") {
      QAbstractItemView* lista = w.ListView1;
      const QRect celda = lista->visualRect(lista->currentIndex());
      // A real double click: press and release, then the second press.
      QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
      QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
    } else if (paso.startsWith("marcar:")) {
      for (const QString& fila : paso.mid(7).split(','))
        w.ListView1->model()->setData(w.ListView1->model()->index(fila.toInt(), 0), Qt::Checked,
                                      Qt::CheckStateRole);
    } else
      Teclear(paso);
  }
}

}  // namespace

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
  void sentenciaRechazada();
  void anchoDeColumnas();
  void cantidades();
  void teclasEnLaLista();
  void tablaRegistrada();
  void colorDeStock();
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
  QTest::newRow("aceptar sin fila") << "Depósito" << ninguna << false << "enter" << kSinValor << "";
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
  Mostrar(w, "SELECT nombre FROM t_harinas ORDER BY nombre DESC");
  QVERIFY(w.CmbSearch[0]->hasFocus());
  // The order the statement gave: the list keeps it.
  QCOMPARE(Primeros(w),
           QStringList({"pana", "Pastelera", "PANADERA", "Integral", "000", "Pan de molde"}));
  QCOMPARE(Seleccionado(w), kSinValor);
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
  Mostrar(w, SqlDepositos());
  // No ORDER BY: the list sorts itself, ascending on the first column.
  QCOMPARE(Primeros(w), QStringList({"1", "2", "3", "5"}));
  QHeaderView* cabecera = w.ListView1->header();
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
  Mostrar(w, sql);
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

void PruebaConsulta::sentenciaRechazada() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Lib_FrmCons3 w;
  Mostrar(w, "SELECT nada FROM tabla_que_no_existe");
  QCOMPARE(w.ListView1->ListItemsCount(), 0);
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas.first().tipo, QStringLiteral("error"));
  QVERIFY2(e.operador().preguntas.first().texto.contains("FORM_LOAD"),
           qPrintable(e.operador().preguntas.first().texto));
  QVERIFY(w.isVisible());
  // A statement with no rows: its columns and boxes, and an empty list.
  e.Ejecutar("CREATE TABLE t_vacia (a VARCHAR(5), b VARCHAR(5))");
  Lib_FrmCons3 vacia;
  Mostrar(vacia, "SELECT a, b FROM t_vacia");
  QCOMPARE(vacia.ListView1->ColumnHeadersCount(), 2);
  QCOMPARE(vacia.CmbSearch.size(), 2);
  QCOMPARE(vacia.ListView1->ListItemsCount(), 0);
  Tecla(Qt::Key_Return);  // accepted with no row
  QVERIFY(!vacia.isVisible());
  QVERIFY(!vacia.ValorDevuelto);
  QCOMPARE(e.operador().preguntas.size(), 1);
}

void PruebaConsulta::anchoDeColumnas() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar("CREATE TABLE t_anchos (largo VARCHAR(200), corto VARCHAR(8), libre TEXT)");
  e.Ejecutar(QStringLiteral("INSERT INTO t_anchos VALUES ('abc', 'abcdefgh', '%1')")
                 .arg(QString(100, 'x')));
  Lib_FrmCons3 w;
  Mostrar(w, "SELECT largo, corto, libre FROM t_anchos");
  const auto equis = [&](int n) { return w.fontMetrics().horizontalAdvance(QString(n, 'X')); };
  // The declared size where the engine tells it (PostgreSQL); otherwise the
  // widest value read or the header, never more than 60.
  QCOMPARE(w.ListView1->columnWidth(0), e.EsPostgresql() ? equis(60) : equis(5));
  QCOMPARE(w.ListView1->columnWidth(1), equis(8));
  QCOMPARE(w.ListView1->columnWidth(2), equis(60));
  // One box over each column.
  QHeaderView* cabecera = w.ListView1->header();
  for (int i = 0; i < 3; ++i) {
    QCOMPARE(w.CmbSearch[i]->x(),
             cabecera->mapTo(w.picFields, QPoint(cabecera->sectionViewportPosition(i), 0)).x());
    QCOMPARE(w.CmbSearch[i]->property("Campo").toString().toLower(),
             QStringList({"largo", "corto", "libre"})[i]);
  }

  // Five wide columns: the window is the screen's width less 480 twips, and
  // the scroll bar slides the boxes and the list left.
  Lib_FrmCons3 ancha;
  Mostrar(ancha, "SELECT libre, libre AS b, libre AS c, libre AS d, libre AS e FROM t_anchos");
  const int pantalla = ancha.screen()->geometry().width();
  QVERIFY(5 * equis(60) > pantalla);
  QCOMPARE(ancha.width(), pantalla - twips::APixeles(480));
  QVERIFY(ancha.HScroll1->maximum() > 480);
  ancha.HScroll1->setValue(480);
  QCOMPARE(ancha.picFields->x(), -twips::APixeles(480));
}

void PruebaConsulta::cantidades() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar("CREATE TABLE t_pedido (descripcion VARCHAR(20), cantidad VARCHAR(10))");
  e.Ejecutar(
      "INSERT INTO t_pedido VALUES ('Harina', '3.00'), ('Sal', '1.0'), ('Levadura', '0.00')");
  const Dialecto& d = LibDatos::Instancia().Conexion().dialecto();
  Lib_FrmCons3 w;
  w.UsaCantidades = true;
  w.CheckBoxes = true;
  Mostrar(w, "SELECT descripcion, cantidad AS " + d.Alias("**Cantidad**") +
                 " FROM t_pedido ORDER BY descripcion");
  const auto ir = [&](const QString& texto) {
    w.CmbSearch[0]->setFocus();
    w.CmbSearch[0]->setEditText(texto);
    Tecla(Qt::Key_Down);
    return w.ListView1->hasFocus() ? w.ListView1->SelectedItem() : -2;
  };
  const auto estado = [&](int item) {
    return w.ListView1->SubItems(item, 1) + (w.ListView1->Checked(item) ? " si" : " no");
  };
  const int harina = ir("har");
  Tecla(Qt::Key_Insert);
  QCOMPARE(estado(harina), QStringLiteral("4,0 si"));
  const int sal = ir("sal");
  Tecla(Qt::Key_Delete);
  QCOMPARE(estado(sal), QStringLiteral("0,00 no"));
  const int levadura = ir("lev");
  Tecla(Qt::Key_Delete);
  QCOMPARE(estado(levadura), QStringLiteral("0,00 no"));
  ir("har");
  e.operador().textos.enqueue(QStringLiteral("12"));
  Tecla(Qt::Key_Insert, Qt::ShiftModifier);
  QCOMPARE(estado(harina), QStringLiteral("12,00 si"));
  QCOMPARE(e.operador().preguntas.last().titulo, QStringLiteral("Carga de Datos"));
  QCOMPARE(e.operador().preguntas.last().texto,
           QStringLiteral("Ingrese la Cantidad del Articulo..."));
  e.operador().textos.enqueue(std::nullopt);  // cancelled: nothing changes
  Tecla(Qt::Key_Insert, Qt::ShiftModifier);
  QCOMPARE(estado(harina), QStringLiteral("12,00 si"));
  e.operador().textos.enqueue(QString());  // answered with nothing
  Tecla(Qt::Key_Insert, Qt::ShiftModifier);
  QCOMPARE(estado(harina), QStringLiteral("12,00 si"));
  e.operador().textos.enqueue(QStringLiteral("0"));
  Tecla(Qt::Key_Insert, Qt::ShiftModifier);
  QCOMPARE(estado(harina), QStringLiteral("0,00 no"));
  // Accepting in check-box mode answers the checked rows; quantities stay in
  // the list.
  Tecla(Qt::Key_Insert);
  QTest::mouseClick(w.CmdAceptar, Qt::LeftButton);
  QCOMPARE(Lista(w.Valores), QStringLiteral("Harina"));
  QCOMPARE(Lista(w.Cantidades), QString());
  QCOMPARE(e.operador().sinGuion, 0);
}

void PruebaConsulta::teclasEnLaLista() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Depositos(e);
  Lib_FrmCons3 w;
  Mostrar(w, SqlDepositos());
  w.CmbSearch[1]->setFocus();
  QCOMPARE(w.CajaActiva, 1);
  Tecla(Qt::Key_Down);
  QVERIFY(w.ListView1->hasFocus());
  Teclear("n");  // the character as typed, to the active box, which searches
  QCOMPARE(w.CmbSearch[1]->currentText(), QStringLiteral("n"));
  QVERIFY(w.CmbSearch[1]->hasFocus());
  QCOMPARE(w.ListView1->SubItems(w.ListView1->SelectedItem(), 1), QStringLiteral("Norte"));
  Tecla(Qt::Key_Down);
  Teclear("ñ");
  QCOMPARE(w.CmbSearch[1]->currentText(), QStringLiteral("nñ"));
  Tecla(Qt::Key_Down);
  QTest::keyClick(w.ListView1, Qt::Key_5, Qt::KeypadModifier);
  QCOMPARE(w.CmbSearch[1]->currentText(), QStringLiteral("nñ5"));
  Tecla(Qt::Key_Down);
  Tecla(Qt::Key_A, Qt::ControlModifier);  // not a character
  QCOMPARE(w.CmbSearch[1]->currentText(), QStringLiteral("nñ5"));
  Tecla(Qt::Key_Backspace);
  QCOMPARE(w.CmbSearch[1]->currentText(), QStringLiteral("nñ"));
  QVERIFY(w.CmbSearch[1]->hasFocus());
  // Insert and Delete without quantities do nothing.
  Tecla(Qt::Key_Down);
  Tecla(Qt::Key_Insert);
  Tecla(Qt::Key_Delete);
  QVERIFY(w.isVisible());
  QCOMPARE(w.ListView1->SubItems(w.ListView1->SelectedItem(), 1), QStringLiteral("Norte"));
  QCOMPARE(e.operador().preguntas.size(), 0);
}

void PruebaConsulta::tablaRegistrada() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar(
      "CREATE TABLE VT_CLIENTES (RAZON_SOCIAL VARCHAR(40), CODIGO INTEGER, "
      "CONTACTO VARCHAR(40), Dada_De_Baja INTEGER)");
  e.Ejecutar(
      "INSERT INTO VT_CLIENTES VALUES ('Zeta SA', 1, 'z', 0), ('Alfa SRL', 2, 'a', 0), "
      "('Beta', 3, 'b', 1), ('Gama', 4, 'g', 0)");
  e.Ejecutar("INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('TopConsArt', '2.5')");
  Lib_ClsCons3& consulta = gConsulta();
  consulta.CampoDevuelto = "codigo";
  std::optional<QStringList> devueltos = QStringList{"CONTACTO"};
  QString clave = "ga", campo, where;
  QStringList listadas;
  QString seleccionada;
  e.operador().consultas.enqueue([&](QDialog& d) {
    auto& w = static_cast<Lib_FrmCons3&>(d);
    listadas = Primeros(w);
    seleccionada = Seleccionado(w);
    Tecla(Qt::Key_Return);
  });
  consulta.ConsultaSearch(" vt_clientes ", devueltos, clave, campo, where);
  QCOMPARE(listadas, QStringList({"Alfa SRL", "Gama"}));  // TOP 2, without the one given up
  QCOMPARE(seleccionada, QStringLiteral("Gama"));
  QCOMPARE(Texto(consulta.ValorDevuelto), QStringLiteral("4"));
  QCOMPARE(Lista(consulta.Valores), QStringLiteral("g"));
  QCOMPARE(campo, QStringLiteral("RAZON_SOCIAL"));
  QVERIFY(!devueltos);
  QCOMPARE(e.operador().preguntas.size(), 1);
}

void PruebaConsulta::colorDeStock() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar(
      "CREATE TABLE ma_articulos (descripcion VARCHAR(20), puntopedido NUMERIC, "
      "stock NUMERIC)");
  e.Ejecutar(
      "INSERT INTO ma_articulos VALUES ('A', 0, 5), ('B', 10, 10), ('C', 10, 3), "
      "('D', 10, 20)");
  for (const char* fila :
       {"('MostrarStockenConsultas', 'si')", "('Stk_Nivel1', '255')", "('Stk_Nivel2', '65280')",
        "('Stk_Nivel3', '16711680')", "('Stk_Nivel4', 'gris')"})
    e.Ejecutar(QStringLiteral("INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ") + fila);
  Lib_FrmCons3 w;
  Mostrar(w, "SELECT descripcion, puntopedido, stock FROM ma_articulos ORDER BY descripcion");
  QAbstractItemModel* modelo = w.ListView1->model();
  const QList<QColor> colores = {QColor(255, 0, 0), QColor(), QColor(0, 0, 255), QColor(0, 255, 0)};
  for (int fila = 0; fila < 4; ++fila) {
    for (int columna = 0; columna < 3; ++columna) {
      const QModelIndex indice = modelo->index(fila, columna);
      QCOMPARE(modelo->data(indice, Qt::ForegroundRole).value<QColor>(), colores[fila]);
      QVERIFY(modelo->data(indice, Qt::FontRole).value<QFont>().bold());
    }
  }
  // Without the stock columns: no colour, no message.
  Lib_FrmCons3 sinStock;
  Mostrar(sinStock, "SELECT descripcion FROM ma_articulos");
  QVERIFY(!sinStock.ListView1->model()
               ->data(sinStock.ListView1->model()->index(0, 0), Qt::ForegroundRole)
               .isValid());
  QCOMPARE(e.operador().preguntas.size(), 0);
}

QTEST_MAIN(PruebaConsulta)
#include "test_consulta.moc"
