// The lookup window on a real database: refused and empty statements, column
// widths and the window's width, quantities and the keys typed in the list,
// a table registered in "consultas.qvx" and the stock colours. Runs on
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
#include "soporte/consulta_prueba.h"
#include "soporte/entorno_prueba.h"
#include "soporte/ventana_prueba.h"

class PruebaConsultaLista : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void sentenciaRechazada();
  void anchoDeColumnas();
  void cantidades();
  void teclasEnLaLista();
  void f5EnNumerosYAlias();
  void tablaRegistrada();
  void colorDeStock();
};

void PruebaConsultaLista::sentenciaRechazada() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, "SELECT nada FROM tabla_que_no_existe"));
  QCOMPARE(w.ListView1->ListItemsCount(), 0);
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas.first().tipo, QStringLiteral("error"));
  QVERIFY2(e.operador().preguntas.first().texto.contains("FORM_LOAD"),
           qPrintable(e.operador().preguntas.first().texto));
  QVERIFY(w.isVisible());
  // A statement with no rows: its columns and boxes, and an empty list.
  e.Ejecutar("CREATE TABLE t_vacia (a VARCHAR(5), b VARCHAR(5))");
  Lib_FrmCons3 vacia;
  QVERIFY(Mostrar(vacia, "SELECT a, b FROM t_vacia"));
  QCOMPARE(vacia.ListView1->ColumnHeadersCount(), 2);
  QCOMPARE(vacia.CmbSearch.size(), 2);
  QCOMPARE(vacia.ListView1->ListItemsCount(), 0);
  Tecla(Qt::Key_Return);  // accepted with no row
  QVERIFY(!vacia.isVisible());
  QVERIFY(!vacia.ValorDevuelto);
  QCOMPARE(e.operador().preguntas.size(), 1);
}

void PruebaConsultaLista::anchoDeColumnas() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar("CREATE TABLE t_anchos (largo VARCHAR(200), corto VARCHAR(8), libre TEXT)");
  e.Ejecutar(QStringLiteral("INSERT INTO t_anchos VALUES ('abc', 'abcdefgh', '%1')")
                 .arg(QString(100, 'x')));
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, "SELECT largo, corto, libre FROM t_anchos"));
  const auto equis = [&](int n) { return w.fontMetrics().horizontalAdvance(QString(n, 'X')); };
  // The declared size where the engine tells it (PostgreSQL); otherwise the
  // widest value read or the header, never more than 60.
  QCOMPARE(w.ListView1->columnWidth(0), e.EsPostgresql() ? equis(60) : equis(5));
  QCOMPARE(w.ListView1->columnWidth(1), equis(8));
  QCOMPARE(w.ListView1->columnWidth(2), equis(60));
  // One box over each column.
  QHeaderView* cabecera = w.ListView1->horizontalHeader();
  for (int i = 0; i < 3; ++i) {
    QCOMPARE(w.CmbSearch[i]->x(),
             cabecera->mapTo(w.picFields, QPoint(cabecera->sectionViewportPosition(i), 0)).x());
    QCOMPARE(w.CmbSearch[i]->property("Campo").toString().toLower(),
             QStringList({"largo", "corto", "libre"})[i]);
    // Read by a screen reader as the column it searches.
    QCOMPARE(w.CmbSearch[i]->accessibleName().toLower(),
             QStringLiteral("buscar en ") + QStringList({"largo", "corto", "libre"})[i]);
    QVERIFY(!w.CmbSearch[i]->accessibleDescription().isEmpty());
  }
  QCOMPARE(w.ListView1->accessibleName(), QStringLiteral("Valores ya cargados"));

  // Five wide columns: the window is the screen's width less 480 twips, and
  // the scroll bar slides the boxes and the list left.
  Lib_FrmCons3 ancha;
  QVERIFY(
      Mostrar(ancha, "SELECT libre, libre AS b, libre AS c, libre AS d, libre AS e FROM t_anchos"));
  const int pantalla = ancha.screen()->geometry().width();
  QVERIFY(5 * equis(60) > pantalla);
  QCOMPARE(ancha.width(), pantalla - twips::APixeles(480));
  QVERIFY(ancha.HScroll1->maximum() > 480);
  ancha.HScroll1->setValue(480);
  QCOMPARE(ancha.picFields->x(), -twips::APixeles(480));
}

void PruebaConsultaLista::cantidades() {
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
  QVERIFY(Mostrar(w, "SELECT descripcion, cantidad AS " + d.Alias("**Cantidad**") +
                         " FROM t_pedido ORDER BY descripcion"));
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

void PruebaConsultaLista::teclasEnLaLista() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Depositos(e);
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, SqlDepositos()));
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
  // Items are never edited in place.
  Tecla(Qt::Key_F2);
  QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(w.ListView1));
  const QModelIndex celda = w.ListView1->model()->index(0, 1);
  QVERIFY(!(w.ListView1->model()->flags(celda) & Qt::ItemIsEditable));
  QVERIFY(!w.ListView1->model()->setData(celda, QStringLiteral("otro"), Qt::EditRole));
  QCOMPARE(w.ListView1->SubItems(0, 1), QStringLiteral("Central"));
  QCOMPARE(e.operador().preguntas.size(), 0);
}

void PruebaConsultaLista::tablaRegistrada() {
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

void PruebaConsultaLista::colorDeStock() {
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
  QVERIFY(
      Mostrar(w, "SELECT descripcion, puntopedido, stock FROM ma_articulos ORDER BY descripcion"));
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
  QVERIFY(Mostrar(sinStock, "SELECT descripcion FROM ma_articulos"));
  QVERIFY(!sinStock.ListView1->model()
               ->data(sinStock.ListView1->model()->index(0, 0), Qt::ForegroundRole)
               .isValid());
  QCOMPARE(e.operador().preguntas.size(), 0);
}

// F5 on a number column, and on an alias with an accent: the condition is put
// on the result's own column, as text, on every engine.
void PruebaConsultaLista::f5EnNumerosYAlias() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Depositos(e);
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, SqlDepositos()));
  Teclear("5");
  Tecla(Qt::Key_F5);
  QCOMPARE(Primeros(w), QStringList{"5"});
  QTest::mouseClick(w.CmdNueva, Qt::LeftButton);
  w.CmbSearch[1]->setFocus();
  Teclear("R");
  Tecla(Qt::Key_F5);
  QCOMPARE(Primeros(w), QStringList({"1", "2", "3", "5"}));  // Central, Norte, Sur, Puerto
  w.CmbSearch[1]->setFocus();
  Teclear("uer");
  Tecla(Qt::Key_F5);
  QCOMPARE(Primeros(w), QStringList{"5"});
  QCOMPARE(w.CmbSearch.size(), 2);
  QCOMPARE(e.operador().preguntas.size(), 0);
}

QTEST_MAIN(PruebaConsultaLista)
#include "test_consulta_lista.moc"
