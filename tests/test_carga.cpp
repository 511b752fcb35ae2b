// Five stations on one day at once, each its own process with its own
// connection, each storing 500 values through the program's own store path
// (carga_estacion.h): one column of every shared analysis each, and the
// analyses each adds for itself; a sixth station watches the day in its
// window. At the end no value is lost, every value has its trail row, every
// added analysis holds its own station's values under a key no other station
// got, every station's sheet (brought up to date by Refrescar) is what the
// database holds, the window shows it, and the trail's chain is intact with
// its moments in order. Runs on SQLite and on PostgreSQL.

#include <QApplication>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QSet>
#include <QSqlQuery>
#include <QTest>
#include <algorithm>

#include "analisis/columnas.h"
#include "carga_estacion.h"
#include "services/auditoria.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/vigia.h"
#include "session/estado_sesion.h"
#include "sheet/grilla.h"
#include "sheet/planilla.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

using namespace carga;

namespace {

// An entry as the database and the trail give it back, normalized.
QString Esperado(int indice, const QString& entrada) {
  if (indice == kHorario) return entrada + QStringLiteral(":00");
  if (ColumnaPorIndice(indice)->tipo == TipoCampo::Numero)
    return QString::number(QString(entrada).replace(',', '.').toDouble(), 'g', 15);
  return entrada;
}

// What a station wrote back.
struct Informe {
  int codigo = -1;
  QList<qint64> claves;
  QStringList filas;
  QStringList problemas;  // its failures and the questions it was asked
};

Informe LeerInforme(const QString& carpeta, int estacion, int codigo) {
  Informe informe;
  informe.codigo = codigo;
  QFile archivo(Marca(carpeta, QStringLiteral("resultado"), estacion));
  if (!archivo.open(QIODevice::ReadOnly)) {
    informe.problemas << QStringLiteral("sin resultado");
    return informe;
  }
  for (const QString& linea : QString::fromUtf8(archivo.readAll()).split(QLatin1Char('\n'))) {
    const QString tipo = linea.section(QLatin1Char(' '), 0, 0);
    const QString resto = linea.section(QLatin1Char(' '), 1);
    if (tipo == QLatin1String("clave"))
      informe.claves << resto.toLongLong();
    else if (tipo == QLatin1String("fila"))
      informe.filas << resto;
    else if (!linea.isEmpty())
      informe.problemas << linea;
  }
  std::sort(informe.filas.begin(), informe.filas.end());
  return informe;
}

// The day's analyses as the table holds them, by key.
QStringList Dia(EntornoPrueba& e, const QDate& dia) {
  const Dialecto d(e.motor());
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral("SELECT ID, tipo_harina, HORARIO, HUMEDO, SECO, CARACT, "
                               "FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, CONTROLPESAJE, "
                               "OBSERVACIONES FROM v_mv_zentalia WHERE Fecha >= %1 AND Fecha < %2 "
                               "ORDER BY ID")
                    .arg(d.LiteralDia(dia), d.LiteralDia(dia.addDays(1))));
  QStringList filas;
  while (consulta.next()) {
    QList<QVariant> valores;
    for (int c = 1; c <= 11; ++c) valores << consulta.value(c);
    filas << Linea(consulta.value(0).toLongLong(), valores);
  }
  std::sort(filas.begin(), filas.end());
  return filas;
}

// The trail's rows signed by the stations: "operador|accion|fila|campo|antes|despues".
QStringList RegistroDeEstaciones(EntornoPrueba& e) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral(
      "SELECT operador, accion, id_fila, campo, valor_anterior, valor_nuevo FROM ta_auditoria "
      "WHERE operador LIKE 'est%' AND campo <> 'Fecha'"));
  QStringList filas = Filas(consulta);
  std::sort(filas.begin(), filas.end());
  return filas;
}

// How many times the trail passes from one station's row to another's: a
// few when they took turns, hundreds when they stored at once.
int Alternancias(EntornoPrueba& e) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(
      QStringLiteral("SELECT operador FROM ta_auditoria WHERE operador LIKE 'est%' ORDER BY ID"));
  int alternancias = 0;
  QString anterior;
  while (consulta.next()) {
    const QString operador = consulta.value(0).toString();
    if (!anterior.isEmpty() && operador != anterior) ++alternancias;
    anterior = operador;
  }
  return alternancias;
}

// The trail's rows whose moment is earlier than the moment of the row before
// them: "key: moment < moment before".
QStringList MomentosAtras(EntornoPrueba& e) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral("SELECT ID, momento FROM ta_auditoria ORDER BY ID"));
  QStringList atras;
  QString anterior;
  while (consulta.next()) {
    const QString momento = consulta.value(1).toString();
    if (momento < anterior)
      atras << QStringLiteral("%1: %2 < %3").arg(consulta.value(0).toString(), momento, anterior);
    anterior = momento;
  }
  return atras;
}

// The "alta" rows of the analyses of a day: "operador|fila".
QStringList Altas(EntornoPrueba& e, const QDate& dia) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral("SELECT operador, id_fila FROM ta_auditoria WHERE accion = 'alta' "
                               "AND valor_nuevo LIKE '%1%'")
                    .arg(dia.toString(Qt::ISODate)));
  QStringList filas;
  while (consulta.next())
    filas << consulta.value(0).toString() + QLatin1Char('|') + consulta.value(1).toString();
  std::sort(filas.begin(), filas.end());
  return filas;
}

// The window's analyses as its grid shows them, "key|column 1|…|column 11".
QStringList EnPantalla(frmHarina& w) {
  const Grilla& grilla = *w.MSflexGrid1;
  QStringList filas;
  for (int fila = grilla.FixedRows(); fila < grilla.Rows(); ++fila) {
    QStringList celdas;
    for (int columna = 0; columna <= 11; ++columna) celdas << grilla.TextMatrix(fila, columna);
    filas << celdas.join(QLatin1Char('|'));
  }
  std::sort(filas.begin(), filas.end());
  return filas;
}

// The same, as the day loaded now would show it.
QStringList Cargado() {
  Planilla planilla;
  planilla.Cargar(kTabla, kFecha, kDia, QStringLiteral("lab"));
  QStringList filas;
  for (int fila = 0; fila < planilla.Filas(); ++fila)
    filas << planilla.TextosDeFila(fila, LibCampos::SeparadorDecimal()).join(QLatin1Char('|'));
  std::sort(filas.begin(), filas.end());
  return filas;
}

}  // namespace

class PruebaCarga : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void cincoEstacionesALaVez();
  void avisosJuntosUnaLectura();
};

// On PostgreSQL every stored cell of every station sends a notice: the
// notices that arrive together make the window read the day once, not once
// each, so that a watching window keeps up with five stations storing at once
// instead of reading the day thousands of times.
void PruebaCarga::avisosJuntosUnaLectura() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  if (!e.EsPostgresql()) QSKIP("Solo PostgreSQL avisa cada cambio.");
  QVERIFY(e.Iniciar());
  Vigia vigia;
  int cambios = 0;
  connect(&vigia, &Vigia::Cambio, this, [&] { ++cambios; });
  vigia.Vigilar();
  QTRY_COMPARE(cambios, 1);  // the first subscription
  cambios = 0;
  // Ten stores' notices, committed together, arrive in one read.
  e.Ejecutar(QStringLiteral("BEGIN"));
  for (int n = 0; n < 10; ++n)
    e.Ejecutar(QStringLiteral("NOTIFY %1, '%2'").arg(Dialecto(e.motor()).CanalDeCambios()).arg(n));
  e.Ejecutar(QStringLiteral("COMMIT"));
  QTRY_VERIFY(cambios > 0);
  QCoreApplication::processEvents();
  QCOMPARE(cambios, 1);
  vigia.Detener();
}

void PruebaCarga::cincoEstacionesALaVez() {
  // A sixth station watches the day in its window while the five store.
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  frmHarina& w = v.ventana;
  QVERIFY(v.cargada);
  // Five stations storing back to back hold the lock nearly all the time; a
  // waiting station may find it taken for longer than an operator's usual
  // wait, so the lab gives the stations a longer one.
  const QString ini = e.Carpeta() + QStringLiteral("/config/analisis-harina/RO000za.INI");
  QFile actual(ini);
  const QByteArray antes = actual.open(QIODevice::ReadOnly) ? actual.readAll() : "[Datos]\n";
  actual.close();
  QVERIFY(EntornoPrueba::EscribirArchivo(ini, antes + "EsperaBloqueo=60\n"));
  // The shared analyses, added by the lab's head before the stations start.
  QList<qint64> compartidas;
  {
    Planilla dia;
    dia.Cargar(kTabla, kFecha, kDia, QStringLiteral("lab"));
    while (dia.Filas() < kCompartidos) dia.Agregar();
    for (int f = 0; f < dia.Filas(); ++f) compartidas << dia.FilaEn(f).id;
    std::sort(compartidas.begin(), compartidas.end());
  }

  CargarDia(w, kDia);
  QCOMPARE(EnPantalla(w).size(), kCompartidos);

  QList<QProcess*> estaciones;
  for (int s = 0; s < kEstaciones; ++s) {
    auto* estacion = new QProcess(this);
    QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
    entorno.insert(QStringLiteral("PRUEBA_ESTACION"), QString::number(s));
    entorno.insert(QStringLiteral("PRUEBA_CARPETA"), e.Carpeta());
    entorno.insert(QStringLiteral("PRUEBA_PARAMETROS"), e.Parametros(Firma(s)));
    estacion->setProcessEnvironment(entorno);
    estacion->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    estacion->start(QCoreApplication::applicationFilePath(), {});
    estaciones << estacion;
  }
  // The window's watcher runs meanwhile.
  const auto terminadas = [&] {
    return std::all_of(estaciones.cbegin(), estaciones.cend(),
                       [](const QProcess* p) { return p->state() == QProcess::NotRunning; });
  };
  QTRY_VERIFY_WITH_TIMEOUT(terminadas(), kEsperaMaxima + 30000);
  QList<Informe> informes;
  for (int s = 0; s < kEstaciones; ++s)
    informes << LeerInforme(e.Carpeta(), s, estaciones[s]->exitCode());
  for (int s = 0; s < kEstaciones; ++s) {
    const Informe& informe = informes[s];
    QVERIFY2(informe.problemas.isEmpty(),
             qPrintable(Firma(s) + ": " + informe.problemas.mid(0, 5).join('\n')));
    QCOMPARE(informe.codigo, 0);
    QCOMPARE(informe.claves.size(), kPropios);
  }

  // The stations did store at the same time: on PostgreSQL, whose lock waits
  // queue, their trail rows interleave. SQLite's busy wait polls, and the
  // station that has just committed takes the lock again before a sleeping
  // one wakes: there the stations mostly store in turns.
  const int alternancias = Alternancias(e);
  qInfo("El registro pasa %d veces de una estación a otra.", alternancias);
  if (e.EsPostgresql())
    QVERIFY2(alternancias > 10 * kEstaciones, qPrintable(QString::number(alternancias)));

  // The new day was begun once: two blank analyses, not one pair per station.
  QCOMPARE(Dia(e, kNuevo).size(), 2);

  // No key went to two stations, nor to a shared analysis.
  QSet<qint64> claves(compartidas.cbegin(), compartidas.cend());
  for (const Informe& informe : std::as_const(informes))
    for (const qint64 clave : informe.claves) {
      QVERIFY2(!claves.contains(clave), qPrintable(QString::number(clave)));
      claves.insert(clave);
    }

  // The day as the stations' stores make it: every value where its station
  // put it, nothing else; each added analysis holds its own station's.
  QMap<qint64, QStringList> esperadas;
  const QStringList vacia(11, QStringLiteral("NULL"));
  for (int r = 0; r < kCompartidos; ++r) {
    QStringList fila = vacia;
    for (int s = 0; s < kEstaciones; ++s)
      fila[kColumnaDe[s] - 1] = Esperado(kColumnaDe[s], EntradaCompartida(s, r));
    esperadas.insert(compartidas[r], fila);
  }
  QStringList registro;
  for (int s = 0; s < kEstaciones; ++s) {
    for (int j = 0; j < kPropios; ++j) {
      const qint64 id = informes[s].claves[j];
      QStringList fila = vacia;
      for (const auto& [indice, entrada] : EntradasPropias(s, j)) {
        fila[indice - 1] = Esperado(indice, entrada);
        registro << QStringList{Firma(s),
                                auditoria::kModificacion,
                                QString::number(id),
                                ColumnaPorIndice(indice)->campo,
                                QString(),
                                fila[indice - 1]}
                        .join('|');
      }
      esperadas.insert(id, fila);
    }
    for (int r = 0; r < kCompartidos; ++r)
      registro << QStringList{Firma(s),
                              auditoria::kModificacion,
                              QString::number(compartidas[r]),
                              ColumnaPorIndice(kColumnaDe[s])->campo,
                              QString(),
                              Esperado(kColumnaDe[s], EntradaCompartida(s, r))}
                      .join('|');
  }
  QStringList dia;
  for (auto it = esperadas.cbegin(); it != esperadas.cend(); ++it)
    dia << QString::number(it.key()) + QLatin1Char('|') + it.value().join(QLatin1Char('|'));
  std::sort(dia.begin(), dia.end());
  const QStringList enBase = Dia(e, kFecha);
  QCOMPARE(enBase, dia);

  // Every stored value has its one trail row, from the value before it.
  std::sort(registro.begin(), registro.end());
  QCOMPARE(RegistroDeEstaciones(e), registro);
  // Each added analysis's "alta" is signed by the station that got its key
  // (the shared ones by this window's operator).
  QStringList altas;
  for (const qint64 id : std::as_const(compartidas))
    altas << gUsuarioLogeado + QLatin1Char('|') + QString::number(id);
  for (int s = 0; s < kEstaciones; ++s)
    for (const qint64 id : informes[s].claves) altas << Firma(s) + '|' + QString::number(id);
  std::sort(altas.begin(), altas.end());
  QCOMPARE(Altas(e, kFecha), altas);

  // Each station's sheet, brought up to date, is the day as stored; the
  // watching window shows it as a load of the day does.
  for (int s = 0; s < kEstaciones; ++s) QCOMPARE(informes[s].filas, enBase);
  QTRY_COMPARE(EnPantalla(w), Cargado());

  // The trail's chain holds after the concurrent appends.
  const auditoria::Verificacion verificacion =
      auditoria::Verificar(LibDatos::Instancia().Conexion());
  QVERIFY2(verificacion.intacto, qPrintable(verificacion.texto));
  // A row appended after another was appended later: its moment is not
  // earlier (one clock: the server's, or this machine's for every station).
  QCOMPARE(MomentosAtras(e), QStringList());
  QSqlQuery total(e.Otra());
  QVERIFY(total.exec(QStringLiteral("SELECT COUNT(*) FROM ta_auditoria")) && total.next());
  QCOMPARE(verificacion.filas, total.value(0).toLongLong());
}

int main(int argc, char** argv) {
  QApplication aplicacion(argc, argv);
  if (qEnvironmentVariableIsSet("PRUEBA_ESTACION")) return Estacion();
  PruebaCarga prueba;
  return QTest::qExec(&prueba, argc, argv);
}

#include "test_carga.moc"
