// The live sheet: what another station (its own process, its own connection,
// the program's own store path) does to the loaded day shows here by itself,
// without a reload, the cursor and an open entry left as they were, and the
// status bar says who did what. Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QProcess>
#include <QStatusBar>
#include <QTest>

#include "services/auditoria.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/grilla.h"
#include "sheet/planilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

constexpr int kHumedad = 7;
constexpr int kCenizas = 8;

// The other station: one action on the test day, through a Planilla of its
// own, as another program window would do it.
int OtraEstacion() {
  InstalarOperador(std::make_unique<OperadorGuionado>());
  FijarParametros(qEnvironmentVariable("PRUEBA_PARAMETROS"));
  if (!IniciarSesion()) return 2;
  Planilla planilla;
  planilla.Cargar(QStringLiteral("v_mv_zentalia"), QDate(2004, 3, 15), kDia, QStringLiteral("b"));
  const QString accion = qEnvironmentVariable("PRUEBA_ACCION");
  if (accion == QLatin1String("guardar"))
    return planilla.Guardar(0, kHumedad, QStringLiteral("12,5"), QStringLiteral(",")).estado ==
                   Planilla::Estado::Guardado
               ? 0
               : 3;
  if (accion == QLatin1String("agregar")) {
    const int fila = planilla.Agregar();
    return planilla.Guardar(fila, 2, QStringLiteral("09:45"), QStringLiteral(",")).estado ==
                   Planilla::Estado::Guardado
               ? 0
               : 3;
  }
  if (accion == QLatin1String("borrar")) {
    planilla.Borrar(2, 2);
    return 0;
  }
  return 4;
}

// Runs the other station's action to its end; its exit code.
int Otra(EntornoPrueba& e, const QString& accion) {
  QProcess otra;
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert(QStringLiteral("PRUEBA_ESTACION"), QStringLiteral("1"));
  entorno.insert(QStringLiteral("PRUEBA_ACCION"), accion);
  entorno.insert(QStringLiteral("PRUEBA_PARAMETROS"), e.Parametros(QStringLiteral("beto")));
  otra.setProcessEnvironment(entorno);
  otra.start(QCoreApplication::applicationFilePath(), {});
  if (!otra.waitForFinished(120000)) return -1;
  return otra.exitCode();
}

QString Linea(frmHarina& w) {
  const QStatusBar* barra = w.findChild<QStatusBar*>(QStringLiteral("barraEstado"));
  return barra ? barra->currentMessage() : QString();
}

QVariant Rol(frmHarina& w, int fila, int columna, int rol) {
  Grilla& grilla = *w.MSflexGrid1;
  return grilla.model()->data(grilla.model()->index(fila - grilla.FixedRows(), columna), rol);
}

}  // namespace

class PruebaVivo : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void cambiosDeOtraEstacion();
  void borradoSinEntradaAbierta();
  void mismaCeldaConEntradaAbierta();
};

// A value, a new analysis and a deletion by the other station, while an
// entry is open here on another analysis: each shows, the entry and the
// cursor stay, and the entry is stored afterwards.
void PruebaVivo::cambiosDeOtraEstacion() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", "HUMEDAD=15");
  const qint64 segunda = Sembrar(e, "07:00:00");
  const qint64 tercera = Sembrar(e, "08:00:00");
  frmHarina& w = v.ventana;
  Grilla& grilla = *w.MSflexGrid1;
  CargarDia(w, kDia);
  IrA(w, 3, kCenizas);
  Teclear(QStringLiteral("0,5"));
  QVERIFY(w.TxtEdit->isVisible());
  const QString estacion = auditoria::Estacion();

  QCOMPARE(Otra(e, QStringLiteral("guardar")), 0);
  QTRY_COMPARE(grilla.TextMatrix(2, kHumedad), QStringLiteral("12,5"));
  QCOMPARE(Linea(w), QStringLiteral("beto (%1) cambió HUMEDAD de las 06:00").arg(estacion));
  QVERIFY(w.TxtEdit->isVisible());
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("0,5"));
  QCOMPARE(grilla.Row(), 3);
  QCOMPARE(grilla.Col(), kCenizas);

  QCOMPARE(Otra(e, QStringLiteral("agregar")), 0);
  QTRY_COMPARE(grilla.Rows(), grilla.FixedRows() + 4);
  QCOMPARE(grilla.TextMatrix(5, 2), QStringLiteral("09:45:00"));
  QCOMPARE(Linea(w).left(Linea(w).indexOf(QLatin1Char(')')) + 1),
           QStringLiteral("beto (%1)").arg(estacion));
  QVERIFY(w.TxtEdit->isVisible());

  // The third analysis goes at the other station: here it is only marked
  // while the entry is open, so that no row moves under it.
  QCOMPARE(Otra(e, QStringLiteral("borrar")), 0);
  QTRY_VERIFY(Rol(w, 4, 1, Qt::ToolTipRole).toString().contains("borrado en otra estación"));
  QCOMPARE(Linea(w), QStringLiteral("beto (%1) borró el análisis de las 08:00").arg(estacion));
  QCOMPARE(Rol(w, 4, 1, Qt::FontRole).value<QFont>().strikeOut(), true);
  QCOMPARE(grilla.Rows(), grilla.FixedRows() + 4);
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("0,5"));

  // The entry is stored, and then the deleted analysis leaves the sheet.
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, segunda, QStringLiteral("CENIZAS"))), QStringLiteral("0.5"));
  QTRY_COMPARE(grilla.Rows(), grilla.FixedRows() + 3);
  QCOMPARE(grilla.TextMatrix(2, kHumedad), QStringLiteral("12,5"));
  QCOMPARE(grilla.TextMatrix(3, kCenizas), QStringLiteral("0,5"));
  QCOMPARE(grilla.TextMatrix(4, 2), QStringLiteral("09:45:00"));
  QVERIFY(!Claves(e).contains(tercera));
}

// Without an entry open, a deleted analysis leaves at once and the cursor
// stays on the analysis it was on.
void PruebaVivo::borradoSinEntradaAbierta() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00");
  Sembrar(e, "07:00:00");
  Sembrar(e, "08:00:00");
  Sembrar(e, "09:00:00", "HUMEDAD=13");
  frmHarina& w = v.ventana;
  Grilla& grilla = *w.MSflexGrid1;
  CargarDia(w, kDia);
  IrA(w, 5, kHumedad);
  QCOMPARE(Otra(e, QStringLiteral("borrar")), 0);
  QTRY_COMPARE(grilla.Rows(), grilla.FixedRows() + 3);
  QCOMPARE(grilla.Row(), 4);
  QCOMPARE(grilla.Col(), kHumedad);
  QCOMPARE(grilla.TextMatrix(4, kHumedad), QStringLiteral("13"));
  QVERIFY(!Rol(w, 4, 1, Qt::ToolTipRole).toString().contains("borrado"));
}

// The other station stores the very cell an entry is open on here: the
// sheet takes the new value in, but the entry's store still finds a value it
// did not show and asks, instead of writing over it unseen.
void PruebaVivo::mismaCeldaConEntradaAbierta() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const qint64 primera = Sembrar(e, "06:00:00", "HUMEDAD=15");
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 2, kHumedad);
  Teclear(QStringLiteral("14"));
  QCOMPARE(Otra(e, QStringLiteral("guardar")), 0);
  QTRY_VERIFY(Linea(w).contains(QStringLiteral("cambió HUMEDAD")));
  QCOMPARE(w.TxtEdit->text(), QStringLiteral("14"));
  e.operador().resoluciones.enqueue(Operador::Resolucion::Tomar);
  Tecla(Qt::Key_Return);
  const QStringList preguntas = Avisos(e.operador(), "conflicto");
  QCOMPARE(preguntas.size(), 1);
  QVERIFY2(preguntas.first().contains(QStringLiteral("12.5")) &&
               preguntas.first().contains(QStringLiteral("beto (")),
           qPrintable(preguntas.first()));
  QCOMPARE(Normalizado(Leer(e, primera, QStringLiteral("HUMEDAD"))), QStringLiteral("12.5"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, kHumedad), QStringLiteral("12,5"));
}

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  if (qEnvironmentVariableIsSet("PRUEBA_ESTACION")) return OtraEstacion();
  PruebaVivo prueba;
  return QTest::qExec(&prueba, argc, argv);
}

#include "test_vivo.moc"
