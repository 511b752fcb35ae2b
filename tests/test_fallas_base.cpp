// A database that is slow, locked or gone under a running program: each fault
// is made on purpose (a second connection holding a lock, the data folder
// removed, a damaged file, the server stopped and started again), and the
// test reads what the operator was told and what the database holds.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>
#include <cstdio>

#include "analisis/columnas.h"
#include "lookup/lib_cls_cons3.h"
#include "services/conexion.h"
#include "services/convenciones.h"
#include "services/esquema.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/planilla.h"
#include "soporte/entorno_prueba.h"
#include "soporte/servidor_propio.h"

namespace {

// The key of a new analysis row written by the second connection.
qint64 FilaNueva(EntornoPrueba& e) {
  e.Ejecutar(
      QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, responsable) VALUES "
                     "('2004-03-15 00:00:00', 'ana')"));
  QSqlQuery clave(e.Otra());
  clave.exec(QStringLiteral("SELECT MAX(ID) FROM v_mv_zentalia"));
  clave.next();
  return clave.value(0).toLongLong();
}

QString Humedad(QSqlDatabase base, qint64 id) {
  QSqlQuery consulta(base);
  consulta.exec(QStringLiteral("SELECT HUMEDAD FROM v_mv_zentalia WHERE ID = %1").arg(id));
  return consulta.next() ? consulta.value(0).toString() : QStringLiteral("<sin fila>");
}

// The failure a statement of the program throws; code 0 when it threw none.
Falla FallaDe(const QString& sql) {
  try {
    LibDatos::Instancia().Ejecutar(sql);
  } catch (const Falla& falla) {
    return falla;
  }
  return Falla(0, {});
}

// The code of the failure a cell stored in the sheet's first row throws; 0
// when it threw none.
int CodigoAlGuardar(Planilla& planilla, int columna, const QString& entrada) {
  try {
    planilla.Guardar(0, columna, entrada, QStringLiteral(","));
  } catch (const Falla& falla) {
    return falla.Codigo();
  }
  return 0;
}

// Another station holds the row (PostgreSQL) or the whole file (SQLite) in
// a transaction the test ends.
void Bloquear(EntornoPrueba& e, qint64 id) {
  e.Ejecutar(QStringLiteral("BEGIN"));
  if (e.EsPostgresql())
    e.Ejecutar(QStringLiteral("SELECT * FROM v_mv_zentalia WHERE ID = %1 FOR UPDATE").arg(id));
  else
    e.Ejecutar(QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 7 WHERE ID = %1").arg(id));
}

// The operator types on into celda while the program waits.
void TeclearEnLaEspera(QLineEdit& celda) {
  celda.show();
  QCoreApplication::postEvent(
      &celda, new QKeyEvent(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x")));
  QCoreApplication::postEvent(&celda, new QKeyEvent(QEvent::KeyPress, Qt::Key_Return,
                                                    Qt::NoModifier, QStringLiteral("\r")));
}

// What the operator was shown: error reports and messages.
QStringList Mensajes(EntornoPrueba& e) {
  QStringList textos;
  for (const Pregunta& p : e.operador().preguntas)
    if (p.tipo == QStringLiteral("error") || p.tipo == QStringLiteral("avisar")) textos << p.texto;
  return textos;
}

// A session on a file of its own in the folder "disco" (a disk that can be
// pulled out or swapped), holding one analysis of 15/03/2004. The file's
// path; empty when the session did not start.
QString SesionEnDisco(EntornoPrueba& e) {
  const QString ruta = e.Carpeta() + QStringLiteral("/disco/lab.sqlite");
  FijarParametros(QStringLiteral("@DbName=%1;@UsuarioLogeado=ana;").arg(ruta));
  if (!IniciarSesion()) return {};
  LibDatos::Instancia().Ejecutar(QStringLiteral(
      "INSERT INTO v_mv_zentalia (Fecha, responsable) VALUES ('2004-03-15 00:00:00', 'ana')"));
  return ruta;
}

// One operator action: a lookup of the flour types, as CONSULTAR runs it.
void Consultar() {
  std::optional<QStringList> columnas;
  QString clave, campo, donde;
  gConsulta().CampoDevuelto = QStringLiteral("tipo_harina");
  gConsulta().ConsultaSearch(QStringLiteral("SELECT tipo_harina FROM v_mv_zentalia"), columnas,
                             clave, campo, donde);
}

}  // namespace

class PruebaFallasBase : public QObject {
  Q_OBJECT

 private slots:
  void bloqueoEsperaPocoDiceOcupadaYDescartaTeclas();
  void celdaBloqueadaDescartaTeclasYDevuelveElCursor();
  void elReporteEsperaLoQueDiceSuTiempoLimite();
  void archivoQuitadoOReemplazadoNoSeEscribe();
  void archivoReemplazadoEnLaTransaccion();
  void cadaCambioDelArchivoSeVe_data();
  void cadaCambioDelArchivoSeVe();
  void celdaSobreArchivoReemplazado();
  void archivoDanadoDiceDondeYQue();
  void servidorDetenidoYVueltoAArrancar();
  void servidorQueNoContesta();
  void unaAccionSinBaseUnSoloMensaje();
};

void PruebaFallasBase::bloqueoEsperaPocoDiceOcupadaYDescartaTeclas() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  e.EscribirIni(QStringLiteral("[Datos]\nEsperaBloqueo=1\n"));
  QVERIFY(e.Iniciar());
  const qint64 id = FilaNueva(e);
  Bloquear(e, id);
  QLineEdit celda;
  TeclearEnLaEspera(celda);
  const QString sql = QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 14 WHERE ID = %1").arg(id);
  const Falla ocupada = FallaDe(sql);
  QCOMPARE(ocupada.Codigo(), int(Falla::kOcupada));
  QVERIFY2(ocupada.Mensaje().contains(QStringLiteral("ocupada")) &&
               ocupada.Mensaje().contains(QStringLiteral("No se guardó nada")) &&
               ocupada.Mensaje().contains(QStringLiteral("Reintentar")),
           qPrintable(ocupada.Mensaje()));
  QCoreApplication::processEvents();
  QCOMPARE(celda.text(), QString());
  QVERIFY(!QGuiApplication::overrideCursor());

  // The lock released, the same statement goes through.
  e.Ejecutar(QStringLiteral("ROLLBACK"));
  QCOMPARE(FallaDe(sql).Codigo(), 0);
  QCOMPARE(Humedad(e.Otra(), id).toDouble(), 14.0);
}

// A stored cell is a transaction of several statements under one busy
// cursor: kept waiting by another station's lock, it is refused, the keys
// typed meanwhile go to nobody, and the cursor is the operator's again.
void PruebaFallasBase::celdaBloqueadaDescartaTeclasYDevuelveElCursor() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  e.EscribirIni(QStringLiteral("[Datos]\nEsperaBloqueo=1\n"));
  QVERIFY(e.Iniciar());
  const qint64 id = FilaNueva(e);
  Planilla planilla;
  planilla.Cargar(QStringLiteral("v_mv_zentalia"), QDate(2004, 3, 15), QStringLiteral("15/03/2004"),
                  QStringLiteral("b"));
  QCOMPARE(planilla.Filas(), 1);
  const int humedad = CampoPorNombre(QStringLiteral("HUMEDAD"))->indice;
  Bloquear(e, id);
  QLineEdit celda;
  TeclearEnLaEspera(celda);
  QCOMPARE(CodigoAlGuardar(planilla, humedad, QStringLiteral("14")), int(Falla::kOcupada));
  QCoreApplication::processEvents();
  QCOMPARE(celda.text(), QString());
  QVERIFY(!QGuiApplication::overrideCursor());

  e.Ejecutar(QStringLiteral("ROLLBACK"));
  QCOMPARE(planilla.Guardar(0, humedad, QStringLiteral("14"), QStringLiteral(",")).estado,
           Planilla::Estado::Guardado);
  QVERIFY(!QGuiApplication::overrideCursor());
  QCOMPARE(Humedad(e.Otra(), id).toDouble(), 14.0);
}

void PruebaFallasBase::elReporteEsperaLoQueDiceSuTiempoLimite() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  e.EscribirIni(QStringLiteral("[Datos]\nEsperaBloqueo=2\n"));
  QVERIFY(e.Iniciar());
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const auto espera = [&] {
    Recordset valor = conexion.Execute(e.EsPostgresql() ? QStringLiteral("SHOW lock_timeout")
                                                        : QStringLiteral("PRAGMA busy_timeout"));
    return valor.Valor(0).toString();
  };
  const QString corta = e.EsPostgresql() ? QStringLiteral("2s") : QStringLiteral("2000");
  QCOMPARE(espera(), corta);
  {
    Conexion::EsperaLarga larga(conexion);
    QCOMPARE(espera(), e.EsPostgresql() ? QStringLiteral("6min") : QStringLiteral("360000"));
  }
  QCOMPARE(espera(), corta);
}

void PruebaFallasBase::archivoQuitadoOReemplazadoNoSeEscribe() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString ruta = SesionEnDisco(e);
  QVERIFY(!ruta.isEmpty());
  const QString carpeta = QFileInfo(ruta).path();
  LibDatos::Instancia().Conexion().Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
  QVERIFY(QFile::copy(ruta, e.Carpeta() + QStringLiteral("/copia.sqlite")));

  // The disk is pulled out.
  QVERIFY(QDir(carpeta).removeRecursively());
  const QString sql = QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 14");
  const Falla ida = FallaDe(sql);
  QCOMPARE(ida.Codigo(), int(Falla::kArchivoCambiado));
  QVERIFY2(ida.Mensaje().contains(ruta) && ida.Mensaje().contains(QStringLiteral("ya no está")) &&
               ida.Mensaje().contains(QStringLiteral("No se guardó nada")),
           qPrintable(ida.Mensaje()));

  // Another file in its place is not the database that was opened.
  QDir().mkpath(carpeta);
  QVERIFY(QFile::copy(e.Carpeta() + QStringLiteral("/copia.sqlite"), ruta));
  const Falla otro = FallaDe(sql);
  QCOMPARE(otro.Codigo(), int(Falla::kArchivoCambiado));
  QVERIFY2(otro.Mensaje().contains(QStringLiteral("reemplazado")), qPrintable(otro.Mensaje()));
  QSqlDatabase copia =
      QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("copia"));
  copia.setDatabaseName(ruta);
  QVERIFY(copia.open());
  QCOMPARE(Humedad(copia, 1), QString());
  copia.close();
  copia = QSqlDatabase();
  QSqlDatabase::removeDatabase(QStringLiteral("copia"));
}

// A transaction's file is looked at when it commits: a file replaced before
// or during it refuses the COMMIT, nothing reaches the file in its place, and
// once it is rolled back no transaction is left behind that would let the
// next write by unchecked.
void PruebaFallasBase::archivoReemplazadoEnLaTransaccion() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString ruta = SesionEnDisco(e);
  QVERIFY(!ruta.isEmpty());
  const QString carpeta = QFileInfo(ruta).path();
  LibDatos::Instancia().Conexion().Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
  const QString copia = e.Carpeta() + QStringLiteral("/copia.sqlite");
  QVERIFY(QFile::copy(ruta, copia));

  const QString sql = QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 14");
  QCOMPARE(FallaDe(QStringLiteral("BEGIN IMMEDIATE")).Codigo(), 0);
  QCOMPARE(FallaDe(sql).Codigo(), 0);
  QVERIFY(QDir(carpeta).removeRecursively());
  QDir().mkpath(carpeta);
  QVERIFY(QFile::copy(copia, ruta));
  QCOMPARE(FallaDe(QStringLiteral("COMMIT")).Codigo(), int(Falla::kArchivoCambiado));
  QCOMPARE(FallaDe(QStringLiteral("ROLLBACK")).Codigo(), 0);
  QCOMPARE(FallaDe(sql).Codigo(), int(Falla::kArchivoCambiado));
  // A transaction begun on the replaced file is refused at its end.
  QCOMPARE(FallaDe(QStringLiteral("BEGIN IMMEDIATE")).Codigo(), 0);
  QCOMPARE(FallaDe(sql).Codigo(), 0);
  QCOMPARE(FallaDe(QStringLiteral("COMMIT")).Codigo(), int(Falla::kArchivoCambiado));
  QCOMPARE(FallaDe(QStringLiteral("ROLLBACK")).Codigo(), 0);
  QCOMPARE(FallaDe(sql).Codigo(), int(Falla::kArchivoCambiado));

  QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("otra"));
  otra.setDatabaseName(ruta);
  QVERIFY(otra.open());
  QCOMPARE(Humedad(otra, 1), QString());
  otra.close();
  otra = QSqlDatabase();
  QSqlDatabase::removeDatabase(QStringLiteral("otra"));
}

// Each way a file can stop being the one opened, made after statements
// that found it in its place (so that the next one trusts the file's guard
// rather than looking the path up): the next write is refused, and so is
// the one after it. A change of the file's permissions is no change of file.
void PruebaFallasBase::cadaCambioDelArchivoSeVe_data() {
  QTest::addColumn<QString>("cambio");
  QTest::addColumn<QString>("dice");  // empty: the writes go through
  QTest::newRow("borrado") << "borrado"
                           << "ya no está";
  QTest::newRow("renombrado") << "renombrado"
                              << "ya no está";
  QTest::newRow("otro renombrado encima") << "encima"
                                          << "reemplazado";
  QTest::newRow("carpeta renombrada") << "carpeta"
                                      << "ya no está";
  QTest::newRow("permisos") << "permisos"
                            << "";
}

void PruebaFallasBase::cadaCambioDelArchivoSeVe() {
  QFETCH(QString, cambio);
  QFETCH(QString, dice);
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString ruta = SesionEnDisco(e);
  QVERIFY(!ruta.isEmpty());
  const QString carpeta = QFileInfo(ruta).path();
  const QString sql = QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 14");
  QCOMPARE(FallaDe(sql).Codigo(), 0);
  QCOMPARE(FallaDe(sql).Codigo(), 0);

  if (cambio == QLatin1String("borrado")) {
    QVERIFY(QFile::remove(ruta));
  } else if (cambio == QLatin1String("renombrado")) {
    QVERIFY(QFile::rename(ruta, ruta + QStringLiteral(".movido")));
  } else if (cambio == QLatin1String("encima")) {
    const QString otro = carpeta + QStringLiteral("/otro.sqlite");
    QVERIFY(QFile::copy(ruta, otro));
    QVERIFY(std::rename(QFile::encodeName(otro).constData(), QFile::encodeName(ruta).constData()) ==
            0);
  } else if (cambio == QLatin1String("carpeta")) {
    QVERIFY(QDir().rename(carpeta, carpeta + QStringLiteral("-movida")));
  } else {
    QVERIFY(QFile::setPermissions(ruta, QFile::ReadOwner | QFile::WriteOwner));
  }

  for (int vez = 0; vez < 2; ++vez) {
    const Falla falla = FallaDe(sql);
    if (dice.isEmpty()) {
      QCOMPARE(falla.Codigo(), 0);
    } else {
      QCOMPARE(falla.Codigo(), int(Falla::kArchivoCambiado));
      QVERIFY2(falla.Mensaje().contains(dice), qPrintable(falla.Mensaje()));
    }
  }
}

// A stored cell runs its transaction's BEGIN and COMMIT as statements
// prepared once: after its first store, a file replaced under the loaded day
// still refuses the next one at its COMMIT, nothing reaches the file in its
// place, and no transaction is left behind to let a later write by.
void PruebaFallasBase::celdaSobreArchivoReemplazado() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString ruta = SesionEnDisco(e);
  QVERIFY(!ruta.isEmpty());
  const QString carpeta = QFileInfo(ruta).path();
  Planilla planilla;
  planilla.Cargar(QStringLiteral("v_mv_zentalia"), QDate(2004, 3, 15), QStringLiteral("15/03/2004"),
                  QStringLiteral("b"));
  const int humedad = CampoPorNombre(QStringLiteral("HUMEDAD"))->indice;
  QCOMPARE(planilla.Guardar(0, humedad, QStringLiteral("14"), QStringLiteral(",")).estado,
           Planilla::Estado::Guardado);
  LibDatos::Instancia().Conexion().Execute(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
  const QString copia = e.Carpeta() + QStringLiteral("/copia.sqlite");
  QVERIFY(QFile::copy(ruta, copia));
  QVERIFY(QDir(carpeta).removeRecursively());
  QDir().mkpath(carpeta);
  QVERIFY(QFile::copy(copia, ruta));

  QCOMPARE(CodigoAlGuardar(planilla, humedad, QStringLiteral("15")), int(Falla::kArchivoCambiado));
  QCOMPARE(FallaDe(QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 16")).Codigo(),
           int(Falla::kArchivoCambiado));

  QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("otra"));
  otra.setDatabaseName(ruta);
  QVERIFY(otra.open());
  QCOMPARE(Humedad(otra, 1), QStringLiteral("14"));
  QSqlQuery registro(otra);
  QVERIFY(registro.exec(QStringLiteral("SELECT COUNT(*) FROM ta_auditoria")) && registro.next());
  QCOMPARE(registro.value(0).toInt(), 1);
  registro = QSqlQuery();
  otra.close();
  otra = QSqlDatabase();
  QSqlDatabase::removeDatabase(QStringLiteral("otra"));
}

void PruebaFallasBase::archivoDanadoDiceDondeYQue() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  QVERIFY(e.Iniciar());
  QSqlQuery filas(e.Otra());
  e.Ejecutar(QStringLiteral("BEGIN"));
  for (int i = 0; i < 400; ++i)
    e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, OBSERVACIONES) VALUES "
                              "('2004-03-15 00:00:00', '%1')")
                   .arg(QString(200, QLatin1Char('a' + i % 26))));
  e.Ejecutar(QStringLiteral("COMMIT"));
  e.Ejecutar(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
  // The pages past every table's and index's first one hold only rows.
  QVERIFY(filas.exec(QStringLiteral("SELECT MAX(rootpage) FROM sqlite_master")) && filas.next());
  const qint64 primeraDeFilas = filas.value(0).toLongLong() + 1;
  filas.finish();
  LibDatos::Instancia().Desconectar();
  const QString ruta = e.Carpeta() + QStringLiteral("/lab.sqlite");
  const qint64 pagina = 4096;
  QFile archivo(ruta);
  QVERIFY(archivo.open(QIODevice::ReadWrite));
  const QByteArray sana = archivo.readAll();
  // Every page from desde on is overwritten, as a failing disk does.
  const auto danar = [&](qint64 desde) {
    archivo.resize(0);
    archivo.seek(0);
    archivo.write(sana);
    for (; desde * pagina < sana.size(); ++desde) {
      archivo.seek(desde * pagina);
      archivo.write(QByteArray(pagina, '\xA5'));
    }
    archivo.flush();
  };
  QVERIFY(sana.size() > 16 * pagina);

  // The tables of the schema damaged: the start reads the schema's version
  // and refuses the file at once, saying where and what.
  danar(3);
  QVERIFY(!e.Iniciar());
  const QString alIniciar = Mensajes(e).join(QLatin1Char('\n'));
  QVERIFY2(alIniciar.contains(QStringLiteral("dañada")) && alIniciar.contains(ruta),
           qPrintable(alIniciar));

  // Only the analyses' pages damaged: the statement that reads them says so.
  danar(primeraDeFilas);
  QVERIFY(e.Iniciar());
  const Falla danada =
      FallaDe(QStringLiteral("SELECT * FROM v_mv_zentalia ORDER BY OBSERVACIONES"));
  QCOMPARE(danada.Codigo(), int(Falla::kDanada));
  QVERIFY2(danada.Mensaje().contains(QStringLiteral("dañada")) &&
               danada.Mensaje().contains(e.Carpeta() + QStringLiteral("/lab.sqlite")),
           qPrintable(danada.Mensaje()));
}

void PruebaFallasBase::servidorDetenidoYVueltoAArrancar() {
  EntornoPrueba e;
  if (!e.EsPostgresql()) QSKIP("Un servidor que se detiene solo lo tiene PostgreSQL.");
  ServidorPropio servidor;
  if (!servidor.Listo()) QSKIP(qPrintable(servidor.Motivo()));
  QVERIFY(servidor.Preparar(e));
  QVERIFY(IniciarSesion());
  LibDatos::Instancia().Ejecutar(QStringLiteral(
      "INSERT INTO v_mv_zentalia (Fecha, responsable) VALUES ('2004-03-15 00:00:00', 'ana')"));

  QVERIFY(servidor.Detener());
  const QString sql = QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 14");
  const Falla perdida = FallaDe(sql);
  QCOMPARE(perdida.Codigo(), int(Falla::kConexion));
  QVERIFY2(perdida.Mensaje().contains(QStringLiteral("Se perdió la conexión")) &&
               perdida.Mensaje().contains(QStringLiteral("No se guardó nada")),
           qPrintable(perdida.Mensaje()));

  // Back again: the first try stores, without an error of its own.
  QVERIFY(servidor.Arrancar());
  QCOMPARE(FallaDe(sql).Mensaje(), QString());
  Recordset humedad =
      LibDatos::Instancia().Conexion().Execute(QStringLiteral("SELECT HUMEDAD FROM v_mv_zentalia"));
  QCOMPARE(humedad.Valor(0).toDouble(), 14.0);

  // Restarted while the program sat idle: the operator sees nothing of it.
  QVERIFY(servidor.Detener());
  QVERIFY(servidor.Arrancar());
  QCOMPARE(FallaDe(QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 15")).Mensaje(), QString());
}

// A server that keeps the connection open and answers nothing (its processes
// stopped, as a frozen machine or a swallowed network looks) holds a statement
// only a bounded time: it fails as a lost connection, and once the server
// answers again the same statement goes through.
void PruebaFallasBase::servidorQueNoContesta() {
  EntornoPrueba e;
  if (!e.EsPostgresql()) QSKIP("Un servidor que no contesta solo lo tiene PostgreSQL.");
  ServidorPropio servidor;
  if (!servidor.Listo()) QSKIP(qPrintable(servidor.Motivo()));
  QVERIFY(servidor.Preparar(e, QStringLiteral("EsperaBloqueo=1\n")));
  QVERIFY(IniciarSesion());
  LibDatos::Instancia().Ejecutar(QStringLiteral(
      "INSERT INTO v_mv_zentalia (Fecha, responsable) VALUES ('2004-03-15 00:00:00', 'ana')"));

  QVERIFY(servidor.Congelar(true));
  const QString sql = QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 14");
  const Falla callado = FallaDe(sql);
  QVERIFY(servidor.Congelar(false));
  QCOMPARE(callado.Codigo(), int(Falla::kConexion));
  QVERIFY2(callado.Mensaje().contains(QStringLiteral("Se perdió la conexión")),
           qPrintable(callado.Mensaje()));
  QVERIFY(!QGuiApplication::overrideCursor());

  // It answers again: the operator's retry stores.
  QCOMPARE(FallaDe(sql).Mensaje(), QString());
  Recordset humedad =
      LibDatos::Instancia().Conexion().Execute(QStringLiteral("SELECT HUMEDAD FROM v_mv_zentalia"));
  QCOMPARE(humedad.Valor(0).toDouble(), 14.0);
}

void PruebaFallasBase::unaAccionSinBaseUnSoloMensaje() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  std::optional<ServidorPropio> servidor;
  if (e.EsPostgresql()) {
    servidor.emplace();
    if (!servidor->Listo()) QSKIP(qPrintable(servidor->Motivo()));
    QVERIFY(servidor->Preparar(e));
  } else {
    FijarParametros(
        QStringLiteral("@DbName=%1/disco/lab.sqlite;@UsuarioLogeado=ana;").arg(e.Carpeta()));
  }
  QVERIFY(IniciarSesion());

  // The server stops, or the disk is pulled out.
  if (servidor)
    QVERIFY(servidor->Detener());
  else
    QVERIFY(QDir(e.Carpeta() + QStringLiteral("/disco")).removeRecursively());
  Consultar();
  QStringList mensajes = Mensajes(e);
  QCOMPARE(mensajes.size(), 1);
  QVERIFY2(mensajes[0].contains(e.EsPostgresql() ? QStringLiteral("Se perdió la conexión")
                                                 : QStringLiteral("ya no está")),
           qPrintable(mensajes[0]));

  // The operator's next key is another action: it is told again, once.
  QLineEdit campo;
  campo.show();
  QTest::keyClick(&campo, Qt::Key_A);
  Consultar();
  QCOMPARE(Mensajes(e).size(), 2);
  if (servidor) servidor->Arrancar();
}

QTEST_MAIN(PruebaFallasBase)
#include "test_fallas_base.moc"
