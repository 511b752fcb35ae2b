// The lookup window loaded again and again, on a real database and driven by
// keys: the row every load leaves selected, the layout every load keeps, F5
// over any statement that runs, and typed texts that look like the place
// markers of a text pattern. Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QLocale>
#include <QScrollBar>
#include <QTest>

#include "lookup/lib_cls_cons3.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/lista_consulta.h"
#include "services/lib_datos.h"
#include "services/twips.h"
#include "soporte/consulta_prueba.h"
#include "soporte/entorno_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

const Dialecto& ElDialecto() { return LibDatos::Instancia().Conexion().dialecto(); }

// Every item's text in one column, in the order shown.
QStringList Columna(const Lib_FrmCons3& w, int columna) {
  QStringList textos;
  for (int i = 0; i < w.ListView1->ListItemsCount(); ++i)
    textos << w.ListView1->SubItems(i, columna);
  return textos;
}

QStringList Encabezados(const Lib_FrmCons3& w) { return w.ListView1->Modelo().Encabezados(); }

}  // namespace

class PruebaConsultaRecarga : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void primeraFila_data();
  void primeraFila();
  void distribucion_data();
  void distribucion();
  void f5SobreCualquierSentencia_data();
  void f5SobreCualquierSentencia();
  void marcadoresTecleados_data();
  void marcadoresTecleados();
  void caracteresDeControlEnF5();
};

// After every load the first row shown is selected and current, so the
// window's ways of accepting take it at once.
void PruebaConsultaRecarga::primeraFila_data() {
  QTest::addColumn<QString>("pasos");
  QTest::addColumn<QString>("valorDevuelto");
  QTest::newRow("al abrir, Enter") << "enter"
                                   << "1";
  QTest::newRow("al abrir, Aceptar") << "aceptar"
                                     << "1";
  QTest::newRow("F5, una fila, Enter") << "caja1 sur f5 enter"
                                       << "3";
  QTest::newRow("F5, varias filas, Enter") << "caja1 o f5 enter"
                                           << "2";
  QTest::newRow("F5, Aceptar") << "caja1 o f5 aceptar"
                               << "2";
  QTest::newRow("F5, doble clic") << "caja1 o f5 doble"
                                  << "2";
  QTest::newRow("F5, a la lista y una fila abajo") << "caja1 o f5 abajo abajo enter"
                                                   << "5";
  QTest::newRow("F5 sobre el orden de un encabezado") << "clic0 caja1 o f5 enter"
                                                      << "5";
  QTest::newRow("dos F5") << "caja1 o f5 caja1 uer f5 enter"
                          << "5";
  QTest::newRow("Nueva Busqueda, Enter") << "caja1 sur f5 nueva enter"
                                         << "1";
  QTest::newRow("F5 sin filas: nada") << "caja1 zzz f5 enter" << kSinValor;
}

void PruebaConsultaRecarga::primeraFila() {
  QFETCH(QString, pasos);
  QFETCH(QString, valorDevuelto);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Depositos(e);
  Lib_ClsCons3& consulta = gConsulta();
  consulta.CampoDevuelto = "Depósito";
  std::optional<QStringList> devueltos;
  QString clave, campo, where;
  QString seleccionada;
  e.operador().consultas.enqueue([&](QDialog& d) {
    auto& w = static_cast<Lib_FrmCons3&>(d);
    seleccionada = Seleccionado(w);
    Hacer(w, pasos);
  });
  consulta.ConsultaSearch(SqlDepositos(), devueltos, clave, campo, where);
  QCOMPARE(seleccionada, QStringLiteral("1"));
  QCOMPARE(Texto(consulta.ValorDevuelto), valorDevuelto);
  QCOMPARE(e.operador().sinGuion, 0);
  QCOMPARE(e.operador().preguntas.size(), 1);  // the lookup itself, nothing reported
}

// Every load leaves the window laid out by its resize rules: the list as wide
// as the window allows, whatever its columns measure.
void PruebaConsultaRecarga::distribucion_data() {
  QTest::addColumn<QString>("pasos");
  QTest::addColumn<int>("filas");
  QTest::newRow("al abrir") << "" << 3;
  QTest::newRow("F5") << "a f5" << 3;
  QTest::newRow("F5 sin filas") << "zz f5" << 0;
  QTest::newRow("dos F5") << "a f5 m f5" << 1;
  QTest::newRow("Nueva Busqueda") << "m f5 nueva" << 3;
}

void PruebaConsultaRecarga::distribucion() {
  QFETCH(QString, pasos);
  QFETCH(int, filas);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar("CREATE TABLE t_corta (nombre VARCHAR(6))");
  e.Ejecutar("INSERT INTO t_corta VALUES ('Alfa'), ('Beta'), ('Gama')");
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, "SELECT nombre FROM t_corta ORDER BY nombre"));
  Hacer(w, pasos);
  QCOMPARE(w.ListView1->ListItemsCount(), filas);
  const auto px = [](int t) { return twips::APixeles(t); };
  const auto pxAlto = [](int t) { return twips::APixeles(t, Qt::Vertical); };
  QCOMPARE(w.picFields->width(), w.width() - px(120));
  QCOMPARE(w.ListView1->width(), w.picFields->width() - px(20));
  QCOMPARE(w.picFields->height(), w.height() - pxAlto(255) - pxAlto(480));
  QCOMPARE(w.ListView1->height(), w.picFields->height() - pxAlto(255) - pxAlto(600));
  QCOMPARE(w.HScroll1->width(), w.width() - px(120));
  QCOMPARE(w.Frame1->x(), w.width() / 2 - w.Frame1->width() / 2);
  QCOMPARE(e.operador().preguntas.size(), 0);
}

// Whatever runs without F5 runs with it: the statement's own order, whatever
// it names, and columns that share a name, each box filtering its own column.
void PruebaConsultaRecarga::f5SobreCualquierSentencia_data() {
  QTest::addColumn<QString>("resto");  // after SELECT; LIMIT n at the end is a row limit
  QTest::addColumn<int>("caja");
  QTest::addColumn<QString>("texto");
  QTest::addColumn<int>("columna");  // the column read back
  QTest::addColumn<QStringList>("filas");
  QTest::newRow("orden por una columna no elegida")
      << "descripcion FROM ta_deposito ORDER BY iddeposito DESC" << 0 << "e" << 0
      << QStringList{"Puerto", "Norte", "Central"};
  QTest::newRow("orden calificado")
      << "d.descripcion FROM ta_deposito d ORDER BY d.descripcion DESC" << 0 << "e" << 0
      << QStringList{"Puerto", "Norte", "Central"};
  QTest::newRow("orden por un agregado")
      << "color FROM t_colores GROUP BY color ORDER BY COUNT(*) DESC, color" << 0 << "cre" << 0
      << QStringList{"Crema", "Blanco crema"};
  QTest::newRow("orden por alias") << "descripcion AS nombre FROM ta_deposito ORDER BY nombre DESC"
                                   << 0 << "e" << 0 << QStringList{"Puerto", "Norte", "Central"};
  QTest::newRow("mismo nombre, segunda caja")
      << "descripcion, iddeposito AS descripcion FROM ta_deposito ORDER BY 2" << 1 << "5" << 0
      << QStringList{"Puerto"};
  QTest::newRow("mismo nombre, primera caja")
      << "descripcion, iddeposito AS descripcion FROM ta_deposito ORDER BY 2" << 0 << "r" << 1
      << QStringList{"1", "2", "3", "5"};
  QTest::newRow("limite tras el filtro, orden no elegido")
      << "descripcion FROM ta_deposito ORDER BY iddeposito LIMIT 2" << 0 << "o" << 0
      << QStringList{"Norte", "Puerto"};
}

void PruebaConsultaRecarga::f5SobreCualquierSentencia() {
  QFETCH(QString, resto);
  QFETCH(int, caja);
  QFETCH(QString, texto);
  QFETCH(int, columna);
  QFETCH(QStringList, filas);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Depositos(e);
  e.Ejecutar("CREATE TABLE t_colores (color VARCHAR(20))");
  for (const char* fila :
       {"('Crema'), ('Crema'), ('Crema'), ('Crema')",
        "('Blanco crema'), ('Blanco crema'), ('Blanco crema')", "('Gris'), ('Gris'), ('Blanco')"})
    e.Ejecutar(QStringLiteral("INSERT INTO t_colores VALUES ") + fila);
  QString sql = "SELECT " + resto;
  const qsizetype limite = resto.indexOf(" LIMIT ");
  if (limite >= 0) sql = ElDialecto().SelectTop(resto.mid(limite + 7).toInt(), resto.left(limite));

  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, sql));
  QCOMPARE(e.operador().preguntas.size(), 0);  // it runs without F5
  QVERIFY(w.ListView1->ListItemsCount() >= filas.size());
  const QStringList encabezados = Encabezados(w);
  w.CmbSearch[caja]->setFocus();
  Teclear(texto);
  Tecla(Qt::Key_F5);
  QStringList avisos;
  for (const Pregunta& pregunta : e.operador().preguntas) avisos << pregunta.texto;
  QVERIFY2(avisos.isEmpty(), qPrintable(avisos.join('\n')));
  QCOMPARE(Columna(w, columna), filas);
  QCOMPARE(Encabezados(w), encabezados);
  QCOMPARE(w.CmbSearch.size(), encabezados.size());
}

// A typed text is a value, never a pattern: on a lookup with a row limit,
// "1" or "%2" filter by themselves.
void PruebaConsultaRecarga::marcadoresTecleados_data() {
  QTest::addColumn<QString>("texto");
  QTest::addColumn<QStringList>("filas");
  QTest::newRow("1") << "1" << QStringList{"000 1", "Pan 1"};
  QTest::newRow("%2") << "%2" << QStringList{"Integral %2"};
  QTest::newRow("50%") << "50%" << QStringList{"Pan 50%"};
  QTest::newRow("%1%2") << "%1%2" << QStringList{};
}

void PruebaConsultaRecarga::marcadoresTecleados() {
  QFETCH(QString, texto);
  QFETCH(QStringList, filas);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar("CREATE TABLE t_harinas (nombre VARCHAR(20))");
  e.Ejecutar(
      "INSERT INTO t_harinas VALUES ('Pan 50%'), ('000 1'), ('Integral %2'), ('Pan 1'), "
      "('Pastelera')");
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, ElDialecto().SelectTop(50, "nombre FROM t_harinas ORDER BY nombre")));
  QCOMPARE(w.ListView1->ListItemsCount(), 5);
  Teclear(texto);
  Tecla(Qt::Key_F5);
  QCOMPARE(Primeros(w), filas);
  QCOMPARE(e.operador().preguntas.size(), 0);
}

// A NUL pasted into a search box never reaches a statement: F5 says why and
// leaves the list and the box as they were.
void PruebaConsultaRecarga::caracteresDeControlEnF5() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar("CREATE TABLE t_harinas (nombre VARCHAR(20))");
  e.Ejecutar("INSERT INTO t_harinas VALUES ('Pan'), ('000'), ('Integral')");
  Lib_FrmCons3 w;
  QVERIFY(Mostrar(w, "SELECT nombre FROM t_harinas"));
  const QString pegado = QStringLiteral("Pa") + QChar(0) + QStringLiteral("n");
  QApplication::clipboard()->setText(pegado);
  Tecla(Qt::Key_V, Qt::ControlModifier);
  QVERIFY(w.CmbSearch[0]->currentText().contains(QChar(0)));
  Tecla(Qt::Key_F5);
  QCOMPARE(w.ListView1->ListItemsCount(), 3);
  QCOMPARE(w.CmbSearch[0]->currentText(), pegado);
  QCOMPARE(e.operador().preguntas.size(), 1);
  QVERIFY(e.operador().preguntas.first().texto.contains("caracteres de control"));
}

QTEST_MAIN(PruebaConsultaRecarga)
#include "test_consulta_recarga.moc"
