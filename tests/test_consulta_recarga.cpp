// The lookup window loaded again and again, on a real database and driven by
// keys: the row every load leaves selected, the layout every load keeps, and
// typed texts that look like the place markers of a text pattern. Runs on SQLite and on PostgreSQL.

#include <QApplication>
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

}  // namespace

class PruebaConsultaRecarga : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void primeraFila_data();
  void primeraFila();
  void distribucion_data();
  void distribucion();
  void marcadoresTecleados_data();
  void marcadoresTecleados();
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

QTEST_MAIN(PruebaConsultaRecarga)
#include "test_consulta_recarga.moc"
