// No lost update: a store, or a value of a paste, over a cell that another
// station changed after this one's screen showed it asks the operator, who
// keeps their own value (stored over the other, audited from it) or takes the
// other (nothing written, the cell shows it). The very same value stored
// elsewhere is no conflict. Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QSqlQuery>
#include <QTest>

#include "services/auditoria.h"
#include "services/lib_datos.h"
#include "session/estado_sesion.h"
#include "sheet/grilla.h"
#include "sheet/planilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

// The trail's rows "operador|campo|antes|despues", in order.
QStringList Registro(EntornoPrueba& e) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral(
      "SELECT operador, campo, valor_anterior, valor_nuevo FROM ta_auditoria ORDER BY ID"));
  QStringList filas;
  while (consulta.next())
    filas << QStringList{consulta.value(0).toString(), consulta.value(1).toString(),
                         consulta.value(2).toString(), consulta.value(3).toString()}
                 .join(QLatin1Char('|'));
  return filas;
}

// The other station: ana stores valor in the day's first analysis through
// the program's own store, on a sheet of her own loaded after this one's.
void OtraGuarda(int indice, const QString& valor) {
  const QString propio = gUsuarioLogeado;
  gUsuarioLogeado = QStringLiteral("ana");
  Planilla otra;
  otra.Cargar(QStringLiteral("v_mv_zentalia"), QDate(2004, 3, 15), kDia, QStringLiteral("b"));
  const Planilla::Estado estado = otra.Guardar(0, indice, valor, QStringLiteral(",")).estado;
  gUsuarioLogeado = propio;
  QCOMPARE(estado, Planilla::Estado::Guardado);
}

enum class Via { Tecleada, Pegada };

}  // namespace

class PruebaConflictos : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void cambioDeOtraEstacion_data();
  void cambioDeOtraEstacion();
  void borradoDeUnAnalisisCambiado_data();
  void borradoDeUnAnalisisCambiado();
};

void PruebaConflictos::cambioDeOtraEstacion_data() {
  QTest::addColumn<Via>("via");
  QTest::addColumn<QString>("deOtra");  // what ana stores in HUMEDAD
  QTest::addColumn<bool>("pregunta");
  QTest::addColumn<Operador::Resolucion>("respuesta");
  QTest::addColumn<QString>("enBase");       // HUMEDAD at the end
  QTest::addColumn<QString>("celda");        // HUMEDAD on this screen at the end
  QTest::addColumn<QStringList>("propias");  // this operator's trail rows
  const auto M = Operador::Resolucion::Mantener;
  const auto T = Operador::Resolucion::Tomar;
  QTest::newRow("tecleada, mantiene") << Via::Tecleada << "16" << true << M << "14.5"
                                      << "14,5" << QStringList{"HUMEDAD|16|14.5"};
  QTest::newRow("tecleada, toma la otra") << Via::Tecleada << "16" << true << T << "16"
                                          << "16" << QStringList{};
  QTest::newRow("tecleada, el mismo valor") << Via::Tecleada << "14,5" << false << M << "14.5"
                                            << "14,5" << QStringList{};
  // The paste's other cell (CENIZAS) is stored whatever the answer.
  QTest::newRow("pegada, mantiene") << Via::Pegada << "16" << true << M << "14.5"
                                    << "14,5" << QStringList{"HUMEDAD|16|14.5", "CENIZAS||0.52"};
  QTest::newRow("pegada, toma la otra") << Via::Pegada << "16" << true << T << "16"
                                        << "16" << QStringList{"CENIZAS||0.52"};
}

void PruebaConflictos::cambioDeOtraEstacion() {
  QFETCH(Via, via);
  QFETCH(QString, deOtra);
  QFETCH(bool, pregunta);
  QFETCH(Operador::Resolucion, respuesta);
  QFETCH(QString, enBase);
  QFETCH(QString, celda);
  QFETCH(QStringList, propias);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=15");
  CargarDia(w, kDia);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("15"));
  // This screen still shows 15 when ana's value lands.
  OtraGuarda(7, deOtra);
  e.operador().resoluciones.enqueue(respuesta);
  IrA(w, 2, 7);
  if (via == Via::Tecleada) {
    Teclear("14,5");
    Tecla(Qt::Key_Return);
  } else {
    QApplication::clipboard()->setText("14,5\t0,52\n");
    Tecla(Qt::Key_V, Qt::ControlModifier);
  }
  const QStringList preguntas = Avisos(e.operador(), QStringLiteral("conflicto"));
  QCOMPARE(preguntas.size(), pregunta ? 1 : 0);
  if (pregunta) {
    // Both values, and who changed the cell.
    QVERIFY2(preguntas[0].contains(QStringLiteral("Su valor: 14.5\n")), qPrintable(preguntas[0]));
    QVERIFY2(preguntas[0].contains(QStringLiteral(": 16\n")), qPrintable(preguntas[0]));
    QVERIFY2(preguntas[0].contains(QStringLiteral("ana (")), qPrintable(preguntas[0]));
  }
  QCOMPARE(e.operador().sinGuion, 0);
  QCOMPARE(Normalizado(Leer(e, id, QStringLiteral("HUMEDAD"))), enBase);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), celda);
  const QStringList registro = Registro(e);
  QCOMPARE(registro.first(),
           QStringLiteral("ana|HUMEDAD|15|%1").arg(deOtra == "16" ? "16" : "14.5"));
  QStringList mias;
  for (const QString& fila : registro.mid(1)) mias << fila.section(QLatin1Char('|'), 1);
  QCOMPARE(mias, propias);
  for (const QString& fila : registro.mid(1))
    QCOMPARE(fila.section(QLatin1Char('|'), 0, 0), gUsuarioLogeado);
  const auditoria::Verificacion verificacion =
      auditoria::Verificar(LibDatos::Instancia().Conexion());
  QVERIFY2(verificacion.intacto, qPrintable(verificacion.texto));
}

void PruebaConflictos::borradoDeUnAnalisisCambiado_data() {
  QTest::addColumn<Operador::Resolucion>("respuesta");
  QTest::addColumn<bool>("borrado");
  QTest::newRow("lo borra igual") << Operador::Resolucion::Mantener << true;
  QTest::newRow("no lo borra") << Operador::Resolucion::Tomar << false;
}

void PruebaConflictos::borradoDeUnAnalisisCambiado() {
  QFETCH(Operador::Resolucion, respuesta);
  QFETCH(bool, borrado);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=15");
  CargarDia(w, kDia);
  OtraGuarda(7, QStringLiteral("16"));
  e.operador().confirmaciones.enqueue(true);
  e.operador().resoluciones.enqueue(respuesta);
  IrA(w, 2, 1);
  Tecla(Qt::Key_Delete);
  const QStringList preguntas = Avisos(e.operador(), QStringLiteral("conflicto"));
  QCOMPARE(preguntas.size(), 1);
  QVERIFY2(preguntas[0].contains(QStringLiteral("Fila 1: HUMEDAD 15 → 16")),
           qPrintable(preguntas[0]));
  QCOMPARE(e.operador().sinGuion, 0);
  QCOMPARE(Claves(e).contains(id), !borrado);
  QCOMPARE(Registro(e).filter(QStringLiteral("|HUMEDAD|16|")).size(), borrado ? 1 : 0);
  // Not deleted, the sheet shows the other station's value.
  if (!borrado) QCOMPARE(w.MSflexGrid1->TextMatrix(2, 7), QStringLiteral("16"));
}

QTEST_MAIN(PruebaConflictos)
#include "test_conflictos.moc"
