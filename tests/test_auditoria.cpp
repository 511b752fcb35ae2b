// The audit trail: each action at the window writes exactly its rows (and
// none for an entry unchanged or refused), in the same transaction as the
// change; the chain verifies, and a row altered, taken out or moved is found;
// two stations storing at once keep one chain; the limits' record is written
// inside its caller's transaction. Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QClipboard>
#include <QLocale>
#include <QProcess>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTest>

#include "services/auditoria.h"
#include "services/lib_datos.h"
#include "session/estado_sesion.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/grilla.h"
#include "sheet/planilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

// The trail's rows, "accion|campo|antes|despues", from the first after desde.
QStringList Registro(EntornoPrueba& e, int desde = 0) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral(
      "SELECT accion, campo, valor_anterior, valor_nuevo FROM ta_auditoria ORDER BY ID"));
  QStringList filas;
  while (consulta.next())
    filas << QStringList{consulta.value(0).toString(), consulta.value(1).toString(),
                         consulta.value(2).toString(), consulta.value(3).toString()}
                 .join(QLatin1Char('|'));
  return filas.mid(desde);
}

int Cuenta(EntornoPrueba& e, const QString& sql) {
  QSqlQuery consulta(e.Otra());
  return consulta.exec(sql) && consulta.next() ? consulta.value(0).toInt() : -1;
}

enum class Accion { Guardar, SinCambios, Rechazada, Nueva, Borrar, Pegar, Deshacer, Limpieza };

// A few rows written through the program's own path, for the chain tests.
void Escribir(int filas) {
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& d = conexion.dialecto();
  for (int i = 0; i < filas; ++i) {
    for (const QString& s : d.ComenzarEscritura()) conexion.Execute(s);
    auditoria::Anotar(conexion, QStringLiteral("ana"),
                      {{auditoria::kModificacion, QStringLiteral("v_mv_zentalia"), 7,
                        QStringLiteral("HUMEDAD"), QString::number(i), QString::number(i + 1)}});
    conexion.Execute(d.Confirmar());
  }
}

constexpr int kVueltas = 25;

// The other station of dosEstaciones: its own process, its own connection,
// storing moisture after moisture into the first analysis of the day.
int OtraEstacion() {
  InstalarOperador(std::make_unique<OperadorGuionado>());
  FijarParametros(qEnvironmentVariable("PRUEBA_PARAMETROS"));
  if (!IniciarSesion()) return 2;
  Planilla planilla;
  planilla.Cargar(QStringLiteral("v_mv_zentalia"), QDate(2004, 3, 15), kDia, QStringLiteral("b"));
  for (int i = 0; i < kVueltas; ++i)
    if (planilla.Guardar(0, 7, QString::number(10 + i), QStringLiteral(",")).estado !=
        Planilla::Estado::Guardado)
      return 3;
  return 0;
}

}  // namespace

class PruebaAuditoria : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void accionEscribeSusFilas_data();
  void accionEscribeSusFilas();
  void fallaDelRegistroDeshaceElCambio_data();
  void fallaDelRegistroDeshaceElCambio();
  void huellaDelTextoDelEsquema();
  void cadenaVerificaYHallaLaFilaTocada_data();
  void cadenaVerificaYHallaLaFilaTocada();
  void especificacionEnLaTransaccionDelLlamador_data();
  void especificacionEnLaTransaccionDelLlamador();
  void dosEstacionesUnaCadena();
};

void PruebaAuditoria::accionEscribeSusFilas_data() {
  QTest::addColumn<Accion>("accion");
  QTest::addColumn<QStringList>("filas");
  const QString dia = QStringLiteral("2004-03-15 00:00:00");
  QTest::newRow("guardar") << Accion::Guardar << QStringList{"modificacion|HUMEDAD|15|14.3"};
  QTest::newRow("sin cambios") << Accion::SinCambios << QStringList{};
  QTest::newRow("rechazada") << Accion::Rechazada << QStringList{};
  QTest::newRow("nueva") << Accion::Nueva << QStringList{"alta|Fecha||" + dia};
  QTest::newRow("borrar") << Accion::Borrar
                          << QStringList{"baja|Fecha|" + dia + "|", "baja|responsable|lab|",
                                         "baja|HORARIO|06:00:00|", "baja|HUMEDAD|15|",
                                         // The day left empty gets its two blank ones.
                                         "alta|Fecha||" + dia, "alta|Fecha||" + dia};
  QTest::newRow("pegar") << Accion::Pegar
                         << QStringList{"modificacion|HUMEDAD|15|14.5",
                                        "modificacion|CENIZAS||0.52"};
  QTest::newRow("deshacer") << Accion::Deshacer
                            << QStringList{
                                   "modificacion|HUMEDAD|15|14.5", "modificacion|CENIZAS||0.52",
                                   "modificacion|CENIZAS|0.52|", "modificacion|HUMEDAD|14.5|15"};
  // A day without analyses gets two blank ones; leaving it deletes them.
  QTest::newRow("limpieza") << Accion::Limpieza
                            << QStringList{"alta|Fecha||" + dia,      "alta|Fecha||" + dia,
                                           "baja|Fecha|" + dia + "|", "baja|responsable|<op>|",
                                           "baja|fecha_alta|",        "baja|Fecha|" + dia + "|",
                                           "baja|responsable|<op>|",  "baja|fecha_alta|"};
}

void PruebaAuditoria::accionEscribeSusFilas() {
  QFETCH(Accion, accion);
  QFETCH(QStringList, filas);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  if (accion != Accion::Limpieza) Sembrar(e, "06:00:00", "HUMEDAD=15");
  CargarDia(w, kDia);
  switch (accion) {
    case Accion::Guardar:
    case Accion::SinCambios:
    case Accion::Rechazada:
      IrA(w, 2, 7);
      Teclear(accion == Accion::Guardar ? "14,3" : accion == Accion::SinCambios ? "15" : "abc");
      Tecla(Qt::Key_Return);
      break;
    case Accion::Nueva:
      w.MSflexGrid1->setFocus();
      Tecla(Qt::Key_Insert);
      break;
    case Accion::Borrar:
      e.operador().confirmaciones.enqueue(true);
      IrA(w, 2, 1);
      Tecla(Qt::Key_Delete);
      break;
    case Accion::Pegar:
    case Accion::Deshacer:
      QApplication::clipboard()->setText("14,5\t0,52\n");
      IrA(w, 2, 7);
      Tecla(Qt::Key_V, Qt::ControlModifier);
      if (accion == Accion::Deshacer) Tecla(Qt::Key_Z, Qt::ControlModifier);
      break;
    case Accion::Limpieza:
      Tecla(Qt::Key_F8);
      break;
  }
  filas.replaceInStrings(QStringLiteral("<op>"), gUsuarioLogeado);
  QStringList escritas = Registro(e);
  // The blank analyses' creation moments are the station's: only their field
  // is compared.
  for (QString& fila : escritas)
    if (fila.startsWith(QLatin1String("baja|fecha_alta|")))
      fila = QStringLiteral("baja|fecha_alta|");
  QCOMPARE(escritas, filas);
  if (!filas.isEmpty()) {
    QCOMPARE(Cuenta(e, "SELECT COUNT(*) FROM ta_auditoria WHERE operador = '" + gUsuarioLogeado +
                           "' AND estacion = '" + QSysInfo::machineHostName() + "'"),
             filas.size());
    const auditoria::Verificacion v = auditoria::Verificar(LibDatos::Instancia().Conexion());
    QVERIFY2(v.intacto, qPrintable(v.texto));
    QCOMPARE(v.filas, filas.size());
  }
}

void PruebaAuditoria::fallaDelRegistroDeshaceElCambio_data() {
  QTest::addColumn<bool>("borrar");
  QTest::newRow("guardar") << false;
  QTest::newRow("borrar") << true;
}

// The trail refuses its row (a trigger, as a full disk or a revoked grant
// would): the analysis keeps its value, and nothing is recorded.
void PruebaAuditoria::fallaDelRegistroDeshaceElCambio() {
  QFETCH(bool, borrar);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  const qint64 id = Sembrar(e, "06:00:00", "HUMEDAD=15");
  if (e.EsPostgresql()) {
    e.Ejecutar(
        "CREATE FUNCTION negar() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'registro "
        "negado'; END $$ LANGUAGE plpgsql");
    e.Ejecutar(
        "CREATE TRIGGER negar BEFORE INSERT ON ta_auditoria FOR EACH ROW EXECUTE "
        "FUNCTION negar()");
  } else {
    e.Ejecutar(
        "CREATE TRIGGER negar BEFORE INSERT ON ta_auditoria BEGIN SELECT "
        "RAISE(ABORT, 'registro negado'); END");
  }
  CargarDia(w, kDia);
  const QStringList antes = Tabla(e);
  if (borrar) {
    e.operador().confirmaciones.enqueue(true);
    IrA(w, 2, 1);
    Tecla(Qt::Key_Delete);
  } else {
    IrA(w, 2, 7);
    Teclear("14,3");
    Tecla(Qt::Key_Return);
  }
  QCOMPARE(Tabla(e), antes);
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("15"));
  QCOMPARE(Cuenta(e, "SELECT COUNT(*) FROM ta_auditoria"), 0);
  QString dichos;
  for (const Pregunta& p : e.operador().preguntas) dichos += p.texto;
  QVERIFY2(dichos.contains(QStringLiteral("registro negado")), qPrintable(dichos));
  // The connection is usable again: with the trail back, the same entry goes.
  e.Ejecutar("DROP TRIGGER negar" + QString(e.EsPostgresql() ? " ON ta_auditoria" : ""));
  if (!borrar) Tecla(Qt::Key_Escape);
  IrA(w, 2, 7);
  Teclear("14,3");
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, id, "HUMEDAD")), QStringLiteral("14.3"));
  QCOMPARE(Registro(e), QStringList{"modificacion|HUMEDAD|15|14.3"});
}

// The chained text as the schema file writes it down (lengths in UTF-8
// bytes, a negative key, an empty value), hashed by another implementation
// of SHA-256: a trail written by any version of the program verifies in any
// other.
void PruebaAuditoria::huellaDelTextoDelEsquema() {
  auditoria::Fila fila;
  fila.momento = QStringLiteral("2026-12-11 06:30:00.123");
  fila.estacion = QStringLiteral("estación-1");
  fila.operador = QStringLiteral("Año");
  fila.asiento = {
      auditoria::kModificacion,  QStringLiteral("v_mv_zentalia"), 1234567890123,
      QStringLiteral("HUMEDAD"), QStringLiteral("15.3"),          QStringLiteral("14.3")};
  const QString primera = auditoria::Huella({}, fila);
  QCOMPARE(primera,
           QStringLiteral("7e9d2ae0b70e00b9ef2cfc14717afbd5e1fe68f4263a53fa5acceaadf77627e6"));
  fila.momento = QStringLiteral("2026-12-11 06:30:01.000");
  fila.asiento = {auditoria::kBaja,        QStringLiteral("v_mv_zentalia"), -7,
                  QStringLiteral("COLOR"), QStringLiteral("Crema"),         {}};
  QCOMPARE(auditoria::Huella(primera, fila),
           QStringLiteral("badb460ad715ac0c987239f4e301923b3c103c3560b586903e5fc4d7d6cbdd7c"));
}

void PruebaAuditoria::cadenaVerificaYHallaLaFilaTocada_data() {
  QTest::addColumn<QString>("cambio");
  QTest::addColumn<qint64>("fila");
  QTest::addColumn<QString>("dice");
  QTest::newRow("intacta") << QString() << qint64(0) << "íntegro: 5 filas";
  QTest::newRow("valor alterado") << "UPDATE ta_auditoria SET valor_nuevo = '9' WHERE ID = 3"
                                  << qint64(3) << "La fila 3 del registro fue alterada";
  QTest::newRow("operador alterado") << "UPDATE ta_auditoria SET operador = 'otro' WHERE ID = 1"
                                     << qint64(1) << "La fila 1 del registro fue alterada";
  QTest::newRow("huella alterada")
      << "UPDATE ta_auditoria SET huella = REPLACE(huella, SUBSTR(huella, 1, 1), 'x') WHERE ID = 4"
      << qint64(4) << "La fila 4 del registro fue alterada";
  QTest::newRow("fila quitada")
      << "DELETE FROM ta_auditoria WHERE ID = 3" << qint64(4)
      << "La fila 4 del registro fue alterada, o se quitó la fila que la precedía";
  QTest::newRow("primera quitada") << "DELETE FROM ta_auditoria WHERE ID = 1" << qint64(2)
                                   << "La fila 2 del registro fue alterada";
  QTest::newRow("filas movidas") << "UPDATE ta_auditoria SET ID = -1 WHERE ID = 2;"
                                    "UPDATE ta_auditoria SET ID = 2 WHERE ID = 3;"
                                    "UPDATE ta_auditoria SET ID = 3 WHERE ID = -1"
                                 << qint64(2) << "fuera de su orden";
}

void PruebaAuditoria::cadenaVerificaYHallaLaFilaTocada() {
  QFETCH(QString, cambio);
  QFETCH(qint64, fila);
  QFETCH(QString, dice);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Escribir(5);
  for (const QString& sentencia : cambio.split(';', Qt::SkipEmptyParts)) e.Ejecutar(sentencia);
  const auditoria::Verificacion v = auditoria::Verificar(LibDatos::Instancia().Conexion());
  QVERIFY2(v.texto.contains(dice), qPrintable(v.texto));
  QCOMPARE(v.intacto, cambio.isEmpty());
  QCOMPARE(v.idFalla, fila);
}

void PruebaAuditoria::especificacionEnLaTransaccionDelLlamador_data() {
  QTest::addColumn<bool>("confirmar");
  QTest::newRow("confirmada") << true;
  QTest::newRow("deshecha") << false;
}

// What the limits editor will do at its save: store the limit and its record
// in its own transaction; a field passed unchanged writes nothing.
void PruebaAuditoria::especificacionEnLaTransaccionDelLlamador() {
  QFETCH(bool, confirmar);
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar(
      "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, vigente_desde) VALUES "
      "('000', 'HUMEDAD', 13, 15, '2026-01-01')");
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& d = conexion.dialecto();
  conexion.Execute(QStringLiteral("BEGIN"));
  conexion.Execute(QStringLiteral("UPDATE ta_limites SET maximo = 14.5, minimo = 12 WHERE ID = 1"));
  auditoria::AnotarEspecificacion(
      conexion, QString(), 1,
      {{"minimo", "13", "12"}, {"maximo", "15", "14.5"}, {"aviso_maximo", "", ""}});
  conexion.Execute(confirmar ? d.Confirmar() : d.Deshacer());
  QSqlQuery consulta(e.Otra());
  QVERIFY(
      consulta.exec("SELECT accion, tabla, id_fila, campo, valor_anterior, valor_nuevo, "
                    "operador FROM ta_auditoria ORDER BY ID"));
  QStringList filas;
  while (consulta.next()) {
    QStringList valores;
    for (int i = 0; i < 7; ++i) valores << consulta.value(i).toString();
    filas << valores.join('|');
  }
  const QString sistema = auditoria::Firmante(QString());
  const QStringList esperadas =
      confirmar ? QStringList{"especificacion|ta_limites|1|minimo|13|12|" + sistema,
                              "especificacion|ta_limites|1|maximo|15|14.5|" + sistema}
                : QStringList{};
  QCOMPARE(filas, esperadas);
  QCOMPARE(Cuenta(e, "SELECT COUNT(*) FROM ta_limites WHERE maximo = 14.5"), confirmar ? 1 : 0);
  QVERIFY(!sistema.isEmpty());
}

// Two stations, each its own process and connection, storing at the same
// time: every store is recorded, and the rows form one chain.
void PruebaAuditoria::dosEstacionesUnaCadena() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  Sembrar(e, "06:00:00");
  Sembrar(e, "07:00:00");
  QProcess otra;
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert("PRUEBA_ESTACION", "1");
  entorno.insert("PRUEBA_PARAMETROS", e.Parametros("beto"));
  otra.setProcessEnvironment(entorno);
  otra.start(QCoreApplication::applicationFilePath(), {});
  QVERIFY(otra.waitForStarted());
  Planilla planilla;
  planilla.Cargar(QStringLiteral("v_mv_zentalia"), QDate(2004, 3, 15), kDia, QStringLiteral("a"));
  for (int i = 0; i < kVueltas; ++i)
    QCOMPARE(planilla.Guardar(1, 8, QString::number(i + 1), QStringLiteral(",")).estado,
             Planilla::Estado::Guardado);
  QVERIFY(otra.waitForFinished(300000));
  QCOMPARE(otra.exitCode(), 0);
  QCOMPARE(Cuenta(e, "SELECT COUNT(*) FROM ta_auditoria WHERE operador = 'ana'"), kVueltas);
  QCOMPARE(Cuenta(e, "SELECT COUNT(*) FROM ta_auditoria WHERE operador = 'beto'"), kVueltas);
  const auditoria::Verificacion v = auditoria::Verificar(LibDatos::Instancia().Conexion());
  QVERIFY2(v.intacto, qPrintable(v.texto));
  QCOMPARE(v.filas, 2 * kVueltas);
}

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  if (qEnvironmentVariableIsSet("PRUEBA_ESTACION")) return OtraEstacion();
  PruebaAuditoria prueba;
  return QTest::qExec(&prueba, argc, argv);
}

#include "test_auditoria.moc"
