// The history window at the real window, driven by keys: F7 on a cell shows
// that analysis's trail newest first, filtered, copied and verified; F7 on
// the date field shows the day's, deleted analyses included, and Restaurar
// brings a deleted analysis back with every value it had. Runs on SQLite and
// on PostgreSQL.

#include <QAbstractItemModel>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTableView>
#include <QTest>

#include "session/estado_sesion.h"
#include "sheet/grilla.h"
#include "sheet/historial.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

// The window F7 opened, active.
Historial* Abierta(frmHarina& w) {
  Historial* h = w.findChild<Historial*>();
  if (!h) return nullptr;
  // The offscreen platform hands activation back to the window of the last
  // key event; a window manager gives it to the new window.
  QCoreApplication::processEvents();
  h->activateWindow();
  if (!QTest::qWaitForWindowActive(h)) return nullptr;
  QCoreApplication::processEvents();
  return h;
}

// The rows the window lists, each "accion|campo|antes|despues".
QStringList Listadas(Historial& h) {
  const QAbstractItemModel* modelo = h.findChild<QTableView*>("lista")->model();
  QStringList filas;
  for (int f = 0; f < modelo->rowCount(); ++f) {
    QStringList celdas;
    for (const int c : {3, 5, 6, 7}) celdas << modelo->index(f, c).data().toString();
    filas << celdas.join('|');
  }
  return filas;
}

// Every value of an analysis but its key and its modification moment.
QStringList Valores(EntornoPrueba& e, qint64 id) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral("SELECT * FROM v_mv_zentalia WHERE ID = %1").arg(id));
  QStringList valores;
  if (!consulta.next()) return {"<sin fila>"};
  const QSqlRecord registro = consulta.record();
  for (int i = 0; i < registro.count(); ++i) {
    const QString nombre = registro.fieldName(i).toLower();
    if (nombre == "id" || nombre == "fecha_modificacion") continue;
    valores << nombre + '=' + Normalizado(consulta.value(i));
  }
  return valores;
}

}  // namespace

class PruebaHistorial : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void desdeLaCelda();
  void restaurarDesdeElDia_data();
  void restaurarDesdeElDia();
};

// Who changed this moisture, when, and from what: two keys from the cell.
void PruebaHistorial::desdeLaCelda() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  Sembrar(e, "06:00:00", "HUMEDAD=15");
  Sembrar(e, "07:00:00", "HUMEDAD=13");
  CargarDia(w, kDia);
  IrA(w, 2, 7);
  Teclear("14,3");
  Tecla(Qt::Key_Return);
  IrA(w, 2, 7);
  Teclear("14,1");
  Tecla(Qt::Key_Return);
  IrA(w, 3, 7);
  Teclear("12");
  Tecla(Qt::Key_Return);

  IrA(w, 2, 7);
  Tecla(Qt::Key_F7);
  QPointer<Historial> h = Abierta(w);
  QVERIFY(h);
  QCOMPARE(Listadas(*h),
           QStringList({"modificacion|HUMEDAD|14.3|14.1", "modificacion|HUMEDAD|15|14.3"}));
  QVERIFY(h->findChild<QLineEdit*>("filtro")->hasFocus());

  Tecla(Qt::Key_C, Qt::ControlModifier);
  const QStringList lineas = QApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
  QCOMPARE(lineas.size(), 3);
  QCOMPARE(lineas[0],
           QStringLiteral("Momento\tEstación\tOperador\tAcción\tColumna\tAntes\tDespués"));
  QVERIFY2(lineas[1].endsWith("\t" + gUsuarioLogeado + "\tmodificacion\tHUMEDAD\t14.3\t14.1"),
           qPrintable(lineas[1]));

  // The filter keeps the rows holding its text in any column. The moment
  // shows no point, so "14.1" is found in a value only.
  Teclear("14.1");
  QCOMPARE(Listadas(*h), QStringList{"modificacion|HUMEDAD|14.3|14.1"});
  Tecla(Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text().count('\n'), 2);

  Tecla(Qt::Key_V, Qt::AltModifier);
  const QStringList avisos = Avisos(e.operador(), "avisar");
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos.first().contains("íntegro: 3 filas"), qPrintable(avisos.first()));

  Tecla(Qt::Key_Escape);
  QTRY_VERIFY(h.isNull());
  // The sheet is as it was, the cursor where it was.
  QCOMPARE(w.MSflexGrid1->Row(), 2);
  QCOMPARE(w.MSflexGrid1->Col(), 7);
}

void PruebaHistorial::restaurarDesdeElDia_data() {
  QTest::addColumn<bool>("cargada");
  QTest::newRow("fecha tecleada") << false;
  QTest::newRow("dia cargado") << true;
}

// A deletion by mistake, undone from the day's history: the analysis comes
// back under a new key with every value it had.
void PruebaHistorial::restaurarDesdeElDia() {
  QFETCH(bool, cargada);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  const qint64 queda = Sembrar(e, "06:00:00", "HUMEDAD=15");
  const qint64 borrada =
      Sembrar(e, "07:00:00",
              "tipo_harina, HUMEDO, SECO, CARACT, FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, "
              "CONTROLPESAJE, OBSERVACIONES, fecha_alta='000', 27.5, 9.25, 'Tenaz', 312, 14.7, "
              "0.488, 'Blanco', 25.1, 'Silo 3, d''Ambrosio', '2004-03-15 07:05:00'");
  const QStringList antes = Valores(e, borrada);
  CargarDia(w, kDia);
  e.operador().confirmaciones.enqueue(true);
  IrA(w, 3, 1);
  Tecla(Qt::Key_Delete);
  QCOMPARE(Claves(e), QList<qint64>{queda});

  if (cargada) {
    // The date field is closed while the day is loaded: F7 from a cell, then
    // F7 again for the whole day.
    IrA(w, 2, 1);
    Tecla(Qt::Key_F7);
    QVERIFY(Abierta(w));
  } else {
    Tecla(Qt::Key_F8);
    QLineEdit* fecha = w.txtFields[0];
    QVERIFY(fecha->hasFocus());
    fecha->selectAll();
    Teclear(kDia);
  }
  Tecla(Qt::Key_F7);
  QPointer<Historial> h = Abierta(w);
  QVERIFY(h);
  QCOMPARE(h->windowTitle(), "Historial del día " + kDia);
  const QStringList listadas = Listadas(*h);
  QCOMPARE(listadas.filter(QRegularExpression("^baja\\|")).size(), antes.size());
  QVERIFY(listadas.contains("baja|OBSERVACIONES|Silo 3, d'Ambrosio|"));

  // Down into the list: its first row is the newest, of the deletion.
  Tecla(Qt::Key_Down);
  Tecla(Qt::Key_R, Qt::AltModifier);
  const QList<qint64> claves = Claves(e);
  QCOMPARE(claves.size(), 2);
  const qint64 nueva = claves.constLast();
  QVERIFY(nueva != borrada);
  QCOMPARE(Valores(e, nueva), antes);
  QVERIFY(Listadas(*h).contains(QStringLiteral("restauracion|ID|%1|%2").arg(borrada).arg(nueva)));
  // Once is enough: Restaurar on the same deletion again (its oldest row,
  // at the end) is refused and adds nothing.
  QTableView* lista = h->findChild<QTableView*>("lista");
  QTest::keyClick(lista, Qt::Key_End, Qt::ControlModifier);
  QCOMPARE(lista->currentIndex().row(), lista->model()->rowCount() - 1);
  QVERIFY(Listadas(*h).constLast().startsWith("baja|"));
  QTest::keyClick(lista, Qt::Key_R, Qt::AltModifier);
  QCOMPARE(Claves(e).size(), 2);
  const QStringList avisos = Avisos(e.operador(), "avisar");
  QVERIFY2(
      !avisos.isEmpty() && avisos.constLast().contains(
                               QStringLiteral("ya fue restaurado: es el análisis %1").arg(nueva)),
      qPrintable(avisos.join('\n')));
  Tecla(Qt::Key_Escape);
  QTRY_VERIFY(h.isNull());
  if (cargada) {
    QCOMPARE(w.MSflexGrid1->Rows(), 4);
    QCOMPARE(w.MSflexGrid1->TextMatrix(3, 0), QString::number(nueva));
    QCOMPARE(w.MSflexGrid1->TextMatrix(3, 11), QStringLiteral("Silo 3, d'Ambrosio"));
  }
}

QTEST_MAIN(PruebaHistorial)
#include "test_historial.moc"
