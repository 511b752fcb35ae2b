// The database goes away in the middle of a day's entry and comes back: on
// PostgreSQL the server is stopped (pg_ctl stop -m fast) and started again,
// on SQLite the folder of the file is moved away and back, as a share that
// goes and comes. Every entry confirmed meanwhile stays on screen, marked as
// not stored, with no message per entry; once the database is back they are
// stored by themselves, in order, each through the conflict check; closing
// with entries unstored asks first.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QSqlError>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTest>
#include <optional>

#include "analisis/columnas.h"
#include "services/auditoria.h"
#include "services/lib_datos.h"
#include "services/reconexion.h"
#include "session/estado_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/grilla.h"
#include "sheet/planilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/servidor_propio.h"
#include "soporte/ventana_prueba.h"

namespace {

constexpr int kHumedad = 7;
// Long enough for a few of the growing pauses between tries.
constexpr int kEsperaVueltaMs = 20000;

// The database of one test, which the test cuts off and gives back.
class BaseQueSeVa {
 public:
  explicit BaseQueSeVa(EntornoPrueba& e) : e_(e) {
    if (e.EsPostgresql()) {
      servidor_.emplace();
      listo_ = servidor_->Listo() && servidor_->Preparar(e);
      motivo_ = servidor_->Motivo();
    } else {
      listo_ = QDir().mkpath(Disco());
      FijarParametros(QStringLiteral("@DbName=%1/lab.sqlite;@UsuarioLogeado=ana;").arg(Disco()));
    }
  }
  ~BaseQueSeVa() {
    QSqlDatabase::database(kLectura, false).close();
    QSqlDatabase::removeDatabase(kLectura);
  }

  bool Listo() const { return listo_; }
  QString Motivo() const { return motivo_; }

  bool Cortar() {
    if (servidor_) return servidor_->Detener();
    return QDir().rename(Disco(), Disco() + QStringLiteral(".fuera"));
  }
  bool Reponer() {
    if (servidor_) return servidor_->Arrancar();
    return QDir().rename(Disco() + QStringLiteral(".fuera"), Disco());
  }

  // A statement through a connection of the test's own, as another program
  // would run it.
  QSqlQuery Ejecutar(const QString& sql) {
    QSqlQuery consulta(Lectura());
    if (!consulta.exec(sql)) qWarning() << sql << consulta.lastError().text();
    return consulta;
  }
  QString Humedad(qint64 id) {
    QSqlQuery fila =
        Ejecutar(QStringLiteral("SELECT HUMEDAD FROM v_mv_zentalia WHERE ID = %1").arg(id));
    return fila.next() ? Normalizado(fila.value(0)) : QStringLiteral("<sin fila>");
  }
  // The trail's rows of HUMEDAD, "operador|antes|despues", in order.
  QStringList Registro() {
    QSqlQuery filas = Ejecutar(QStringLiteral(
        "SELECT operador, valor_anterior, valor_nuevo FROM ta_auditoria WHERE campo = 'HUMEDAD' "
        "ORDER BY ID"));
    return Filas(filas);
  }
  qint64 Sembrar(const QString& horario) {
    Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, responsable, HORARIO, HUMEDAD) "
                            "VALUES ('2004-03-15 00:00:00', 'lab', '%1', 15)")
                 .arg(horario));
    QSqlQuery clave = Ejecutar(QStringLiteral("SELECT MAX(ID) FROM v_mv_zentalia"));
    return clave.next() ? clave.value(0).toLongLong() : 0;
  }

 private:
  static inline const QString kLectura = QStringLiteral("lectura");
  QString Disco() const { return e_.Carpeta() + QStringLiteral("/disco"); }
  QSqlDatabase Lectura() {
    QSqlDatabase base = QSqlDatabase::database(kLectura, false);
    if (!base.isValid()) {
      if (servidor_) {
        base = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), kLectura);
        base.setHostName(QStringLiteral("127.0.0.1"));
        base.setPort(servidor_->Puerto());
        base.setUserName(QStringLiteral("postgres"));
        base.setDatabaseName(QStringLiteral("postgres"));
      } else {
        base = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kLectura);
        base.setDatabaseName(Disco() + QStringLiteral("/lab.sqlite"));
      }
    }
    // Reopened after every cut: a stopped server took the old one with it.
    base.close();
    base.open();
    return base;
  }

  EntornoPrueba& e_;
  std::optional<ServidorPropio> servidor_;
  bool listo_ = false;
  QString motivo_;
};

QString LineaDeConexion(frmHarina& w) {
  const auto* etiqueta = w.findChild<QLabel*>(QStringLiteral("lblConexion"));
  return etiqueta && !etiqueta->isHidden() ? etiqueta->text() : QString();
}

void Entrada(frmHarina& w, int fila, const QString& texto) {
  IrA(w, fila, kHumedad);
  Teclear(texto);
  Tecla(Qt::Key_Return);
}

#define PREPARAR_VENTANA(e, base, w)                   \
  EntornoPrueba e;                                     \
  REQUIERE_ENTORNO(e);                                 \
  BaseQueSeVa base(e);                                 \
  if (!base.Listo()) QSKIP(qPrintable(base.Motivo())); \
  frmHarina w;                                         \
  QVERIFY(w.Form_Load());                              \
  w.show();                                            \
  w.activateWindow();                                  \
  QVERIFY(QTest::qWaitForWindowActive(&w))

}  // namespace

class PruebaSinConexion : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void pausasQueCrecen_data();
  void pausasQueCrecen();
  void entradasGuardadasAlVolver();
  void conflictoAlVolver();
  void cerrarConEntradasSinGuardar();
  void caidaConLaVentanaQuieta();
  void pegadoSinConexion();
};

void PruebaSinConexion::pausasQueCrecen_data() {
  QTest::addColumn<int>("intento");
  QTest::addColumn<int>("pausaMs");
  QTest::newRow("primero") << 0 << 250;
  QTest::newRow("segundo") << 1 << 500;
  QTest::newRow("cuarto") << 3 << 2000;
  QTest::newRow("tope") << 5 << 5000;
  QTest::newRow("muchos, sin desbordar") << 40 << 5000;
}

void PruebaSinConexion::pausasQueCrecen() {
  QFETCH(int, intento);
  QFETCH(int, pausaMs);
  QCOMPARE(Reconexion::Pausa(intento), pausaMs);
}

void PruebaSinConexion::entradasGuardadasAlVolver() {
  PREPARAR_VENTANA(e, base, w);
  const qint64 primera = base.Sembrar(QStringLiteral("06:00:00"));
  const qint64 segunda = base.Sembrar(QStringLiteral("07:00:00"));
  CargarDia(w, kDia);
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, kHumedad), QStringLiteral("15"));

  QVERIFY(base.Cortar());
  Entrada(w, 2, QStringLiteral("14,5"));
  Entrada(w, 3, QStringLiteral("13"));
  Entrada(w, 2, QStringLiteral("14"));
  // Not a message per entry: the cells show them, marked, and the bar counts them.
  QCOMPARE(e.operador().preguntas.size(), 0);
  QVERIFY(!w.TxtEdit->isVisible());
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, kHumedad), QStringLiteral("14"));
  QCOMPARE(w.MSflexGrid1->TextMatrix(3, kHumedad), QStringLiteral("13"));
  QVERIFY(w.MSflexGrid1->EsPendiente(2, kHumedad));
  QVERIFY(w.MSflexGrid1->EsPendiente(3, kHumedad));
  QVERIFY(!w.MSflexGrid1->EsPendiente(2, kHumedad + 1));
  QVERIFY2(LineaDeConexion(w).contains(QStringLiteral("3 entradas sin guardar")),
           qPrintable(LineaDeConexion(w)));

  // Going back to choose another date would drop them: refused, the day
  // stays.
  Tecla(Qt::Key_F8);
  const QStringList avisos = Avisos(e.operador(), QStringLiteral("avisar"));
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos[0].contains(QStringLiteral("3 entradas sin guardar")), qPrintable(avisos[0]));
  QCOMPARE(w.planilla().Fecha(), QDate(2004, 3, 15));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, kHumedad), QStringLiteral("14"));
  // The tries while it is away are quiet, and the entries keep waiting.
  QTest::qWait(1500);
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(w.planilla().Pendientes().size(), 3);

  QVERIFY(base.Reponer());
  QTRY_VERIFY_WITH_TIMEOUT(w.planilla().Pendientes().isEmpty(), kEsperaVueltaMs);
  QCOMPARE(base.Humedad(primera), QStringLiteral("14"));
  QCOMPARE(base.Humedad(segunda), QStringLiteral("13"));
  // In the order they were confirmed, each from the value before it.
  QCOMPARE(base.Registro(), (QStringList{"ana|15|14.5", "ana|15|13", "ana|14.5|14"}));
  QVERIFY(!w.MSflexGrid1->EsPendiente(2, kHumedad));
  QVERIFY(!w.MSflexGrid1->EsPendiente(3, kHumedad));
  QCOMPARE(LineaDeConexion(w), QString());
  QCOMPARE(w.findChild<QStatusBar*>()->currentMessage(),
           QStringLiteral("Conexión recuperada: 3 entradas guardadas"));
  QCOMPARE(e.operador().preguntas.size(), 1);
  const auditoria::Verificacion verificacion =
      auditoria::Verificar(LibDatos::Instancia().Conexion());
  QVERIFY2(verificacion.intacto, qPrintable(verificacion.texto));
}

void PruebaSinConexion::conflictoAlVolver() {
  PREPARAR_VENTANA(e, base, w);
  const qint64 id = base.Sembrar(QStringLiteral("06:00:00"));
  CargarDia(w, kDia);
  QVERIFY(base.Cortar());
  Entrada(w, 2, QStringLiteral("14,5"));
  QVERIFY(w.MSflexGrid1->EsPendiente(2, kHumedad));
  QVERIFY(base.Reponer());
  // Before this station is back, eva stores the same cell from hers.
  {
    const QString propio = gUsuarioLogeado;
    gUsuarioLogeado = QStringLiteral("eva");
    Planilla otra;
    otra.Cargar(QStringLiteral("v_mv_zentalia"), QDate(2004, 3, 15), kDia, QStringLiteral("b"));
    const Planilla::Estado estado = otra.Guardar(0, kHumedad, QStringLiteral("16"), ",").estado;
    gUsuarioLogeado = propio;
    QCOMPARE(estado, Planilla::Estado::Guardado);
  }
  e.operador().resoluciones.enqueue(Operador::Resolucion::Mantener);
  QTRY_VERIFY_WITH_TIMEOUT(w.planilla().Pendientes().isEmpty(), kEsperaVueltaMs);
  const QStringList preguntas = Avisos(e.operador(), QStringLiteral("conflicto"));
  QCOMPARE(preguntas.size(), 1);
  QVERIFY2(preguntas[0].contains(QStringLiteral("Su valor: 14.5\n")), qPrintable(preguntas[0]));
  QVERIFY2(preguntas[0].contains(QStringLiteral("eva (")), qPrintable(preguntas[0]));
  QCOMPARE(base.Humedad(id), QStringLiteral("14.5"));
  QCOMPARE(base.Registro(), (QStringList{"eva|15|16", "ana|16|14.5"}));
  QCOMPARE(w.MSflexGrid1->TextMatrix(2, kHumedad), QStringLiteral("14,5"));
}

void PruebaSinConexion::cerrarConEntradasSinGuardar() {
  PREPARAR_VENTANA(e, base, w);
  const qint64 id = base.Sembrar(QStringLiteral("06:00:00"));
  CargarDia(w, kDia);
  QVERIFY(base.Cortar());
  Entrada(w, 2, QStringLiteral("14,5"));

  // "No": the window stays, with its entry, which is stored once the
  // database is back.
  e.operador().confirmaciones.enqueue(false);
  w.close();
  QVERIFY(w.isVisible());
  QStringList preguntas = Avisos(e.operador(), QStringLiteral("confirmar"));
  QCOMPARE(preguntas.size(), 1);
  QVERIFY2(preguntas[0].contains(QStringLiteral("Fila 1, HUMEDAD: 14,5")),
           qPrintable(preguntas[0]));
  QVERIFY(w.MSflexGrid1->EsPendiente(2, kHumedad));
  QVERIFY(base.Reponer());
  QTRY_VERIFY_WITH_TIMEOUT(w.planilla().Pendientes().isEmpty(), kEsperaVueltaMs);
  QCOMPARE(base.Humedad(id), QStringLiteral("14.5"));

  // Cut again: "Sí" closes, and only because the operator said so.
  QVERIFY(base.Cortar());
  Entrada(w, 2, QStringLiteral("13"));
  e.operador().confirmaciones.enqueue(true);
  w.close();
  QVERIFY(!w.isVisible());
  QCOMPARE(Avisos(e.operador(), QStringLiteral("confirmar")).size(), 2);
  QCOMPARE(e.operador().sinGuion, 0);
  QVERIFY(base.Reponer());
  QCOMPARE(base.Humedad(id), QStringLiteral("14.5"));
}

// Nothing typed: the bar still says the database went, and that it is back,
// without a message.
void PruebaSinConexion::caidaConLaVentanaQuieta() {
  PREPARAR_VENTANA(e, base, w);
  base.Sembrar(QStringLiteral("06:00:00"));
  CargarDia(w, kDia);
  QVERIFY(base.Cortar());
  QTRY_VERIFY_WITH_TIMEOUT(LineaDeConexion(w).contains(QStringLiteral("Sin conexión")),
                           kEsperaVueltaMs);
  QVERIFY(base.Reponer());
  QTRY_COMPARE_WITH_TIMEOUT(LineaDeConexion(w), QString(), kEsperaVueltaMs);
  QVERIFY2(w.findChild<QStatusBar*>()->currentMessage().contains(QStringLiteral("recuperada")),
           qPrintable(w.findChild<QStatusBar*>()->currentMessage()));
  QCOMPARE(e.operador().preguntas.size(), 0);
}

// A block pasted while the database is away waits like typed entries, its
// bad value refused at once, and reaches the database once it is back.
void PruebaSinConexion::pegadoSinConexion() {
  PREPARAR_VENTANA(e, base, w);
  const qint64 id = base.Sembrar(QStringLiteral("06:00:00"));
  CargarDia(w, kDia);
  QVERIFY(base.Cortar());
  QApplication::clipboard()->setText(QStringLiteral("14,5\tx\t0,52\n"));
  IrA(w, 2, kHumedad);
  Tecla(Qt::Key_V, Qt::ControlModifier);
  const QStringList avisos = Avisos(e.operador(), QStringLiteral("avisar"));
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos[0].contains(QStringLiteral("Se guardaron 0 valores pegados y 2 esperan la "
                                             "conexión")),
           qPrintable(avisos[0]));
  QCOMPARE(w.planilla().Pendientes().size(), 2);
  QVERIFY(w.MSflexGrid1->EsPendiente(2, kHumedad));
  QVERIFY(!w.MSflexGrid1->EsPendiente(2, kHumedad + 1));
  QVERIFY(w.MSflexGrid1->EsPendiente(2, kHumedad + 2));
  QVERIFY(base.Reponer());
  QTRY_VERIFY_WITH_TIMEOUT(w.planilla().Pendientes().isEmpty(), kEsperaVueltaMs);
  QCOMPARE(base.Humedad(id), QStringLiteral("14.5"));
  QSqlQuery otra =
      base.Ejecutar(QStringLiteral("SELECT CENIZAS, %1 FROM v_mv_zentalia WHERE ID = %2")
                        .arg(ColumnaPorIndice(kHumedad + 2)->dataField)
                        .arg(id));
  QVERIFY(otra.next());
  QCOMPARE(Normalizado(otra.value(0)), QStringLiteral("NULL"));
  QCOMPARE(Normalizado(otra.value(1)), QStringLiteral("0,52"));
}

QTEST_MAIN(PruebaSinConexion)
#include "test_sin_conexion.moc"
