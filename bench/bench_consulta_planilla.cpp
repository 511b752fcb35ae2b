// The sheet's three lookups (F3 on TIPO DE HARINA, CARACT. and COLOR) at a
// lab's real scale: a table of ten million analyses, on the embedded SQLite
// database and, when PRUEBA_PG_PUERTO names a PostgreSQL server on 127.0.0.1
// (scripts/servidor_pg.sh starts one), on PostgreSQL too.
//
//   bench_consulta_planilla [vueltas] [analisis] [sqlite|postgresql]
//
// Each round, alternating which goes first: the lookup window opened on the
// sheet's statement (Form_Load and the first paint; goal: under 50 ms), and
// the same statement as written read bare through a forward-only QSqlQuery,
// which the engine answers by reading the whole table or index. The filling
// takes a minute or two per engine. Any question the program asks the
// operator ends the run with status 3.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "lookup/lib_frm_cons3.h"
#include "lookup/lista_consulta.h"
#include "services/carpetas.h"
#include "services/lib_datos.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/consultas_planilla.h"

#include "medicion.h"

namespace {

constexpr double kObjetivoMs = 50;
const QString kIndices[] = {QStringLiteral("ix_v_mv_zentalia_tipo_harina"),
                            QStringLiteral("ix_v_mv_zentalia_caract"),
                            QStringLiteral("ix_v_mv_zentalia_color")};
const QString kColumnas[] = {QStringLiteral("tipo_harina"), QStringLiteral("CARACT"),
                             QStringLiteral("COLOR")};

void Ejecutar(QSqlDatabase base, const QString& sql) {
  QSqlQuery q(base);
  if (!q.exec(sql)) Abortar(sql + QStringLiteral(": ") + q.lastError().text());
}

// Analyses of a few flour types, characteristics and colours, a tenth of them
// blank in each, as a lab's years leave them. The indexes are made after the
// rows, as they would be by an upgrade of a full table.
void Llenar(Motor motor, qint64 analisis) {
  QSqlDatabase base = LibDatos::Instancia().Conexion().Base();
  for (const QString& indice : kIndices) Ejecutar(base, QStringLiteral("DROP INDEX ") + indice);
  const QString valor = QStringLiteral(
      "CASE WHEN i % 10 = 0 THEN '' ELSE (CASE i % 5 WHEN 0 THEN '0000' WHEN 1 THEN '000' WHEN 2 "
      "THEN 'Integral' WHEN 3 THEN '00' ELSE 'Semolín' END) END, CASE WHEN i % 10 = 1 THEN '' ELSE "
      "'Tenaz ' || (i % 12) END, CASE WHEN i % 10 = 2 THEN '' ELSE 'Blanco ' || (i % 8) END");
  const QString n = QString::number(analisis);
  const QString filas =
      motor == Motor::Postgresql
          ? QStringLiteral("SELECT '2020-01-01'::timestamp + (i / 20) * interval '1 day', ") +
                valor + QStringLiteral(" FROM generate_series(1, ") + n + QStringLiteral(") AS i")
          : QStringLiteral(
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE "
                "i < ") +
                n + QStringLiteral(") SELECT date('2020-01-01', '+' || (i / 20) || ' days'), ") +
                valor + QStringLiteral(" FROM n");
  Ejecutar(base, QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, tipo_harina, CARACT, COLOR) ") +
                     filas);
  for (int i = 0; i < 3; ++i)
    Ejecutar(
        base,
        QStringLiteral("CREATE INDEX %1 ON v_mv_zentalia (%2)").arg(kIndices[i], kColumnas[i]));
  // A lab's table is long since vacuumed by the server: its pages are all
  // visible, and no vacuum of the fresh rows runs during the measure.
  Ejecutar(base, motor == Motor::Postgresql ? QStringLiteral("VACUUM ANALYZE v_mv_zentalia")
                                            : QStringLiteral("ANALYZE"));
}

double EnVentana(const QString& sql, int esperadas) {
  QElapsedTimer reloj;
  reloj.start();
  Lib_FrmCons3 ventana;
  ventana.Sql = sql;
  ventana.OrdenarPorLwv = true;
  ventana.Form_Load();
  ventana.show();
  QCoreApplication::processEvents();
  const double ms = reloj.nsecsElapsed() / 1e6;
  if (ventana.ListView1->ListItemsCount() != esperadas)
    Abortar(QStringLiteral("la consulta listó %1 valores, no %2")
                .arg(ventana.ListView1->ListItemsCount())
                .arg(esperadas));
  return ms;
}

double Pura(const QString& sql, int* filas) {
  QElapsedTimer reloj;
  reloj.start();
  QSqlQuery q(LibDatos::Instancia().Conexion().Base());
  q.setForwardOnly(true);
  if (!q.exec(sql)) Abortar(q.lastError().text());
  QStringList valores;
  while (q.next()) valores << q.value(0).toString();
  *filas = static_cast<int>(valores.size());
  return reloj.nsecsElapsed() / 1e6;
}

void Medir(const char* motor, int vueltas, qint64 analisis) {
  std::printf("%s, %lld análisis:\n", motor, static_cast<long long>(analisis));
  const Dialecto& dialecto = LibDatos::Instancia().Conexion().dialecto();
  for (const char* tag : {"VT_TipoHarina", "VT_caract", "VT_colores"}) {
    const QString sql = ConsultaDeColumna(dialecto, QString::fromLatin1(tag))->sql;
    int filas = 0;
    Pura(sql, &filas);
    std::vector<double> ventana, pura;
    for (int i = 0; i < vueltas; ++i) {
      if (i % 2 == 0) ventana.push_back(EnVentana(sql, filas));
      pura.push_back(Pura(sql, &filas));
      if (i % 2 == 1) ventana.push_back(EnVentana(sql, filas));
    }
    const double v = Mediana(ventana);
    std::printf(
        "  F3 %-14s %2d valores: ventana %8.2f ms (objetivo < %.0f ms: %s); "
        "la sentencia tal como está escrita, leída a pelo: %8.2f ms\n",
        tag, filas, v, kObjetivoMs, v < kObjetivoMs ? "cumple" : "NO CUMPLE", Mediana(pura));
  }
}

void Iniciar(const QString& parametros) {
  LibDatos::Instancia().Desconectar();
  FijarParametros(parametros);
  if (!IniciarSesion()) Abortar(QStringLiteral("no se pudo abrir la sesión"));
}

}  // namespace

int main(int argc, char* argv[]) {
  QTemporaryDir carpeta;
  PrepararMedicion("bench_consulta_planilla", carpeta);
  QApplication aplicacion(argc, argv);
  const int vueltas = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 9;
  const qint64 analisis = argc > 2 ? std::max(100LL, QByteArray(argv[2]).toLongLong()) : 10000000;

  const QByteArray solo = argc > 3 ? QByteArray(argv[3]) : QByteArray();
  if (solo != "postgresql") {
    Iniciar(QStringLiteral("@DbName=%1;@UsuarioLogeado=bench;")
                .arg(carpeta.filePath(QStringLiteral("grande.sqlite"))));
    Llenar(Motor::Sqlite, analisis);
    Medir("SQLite", vueltas, analisis);
  }
  if (solo == "sqlite") Salir(0);

  const QString puerto = qEnvironmentVariable("PRUEBA_PG_PUERTO");
  if (puerto.isEmpty()) {
    std::printf("PostgreSQL: sin servidor (PRUEBA_PG_PUERTO), no se mide\n");
    Salir(0);
  }
  const QString base = QStringLiteral("bench_consulta_%1").arg(QCoreApplication::applicationPid());
  const QString usuario = qEnvironmentVariable("PRUEBA_PG_USUARIO", QStringLiteral("postgres"));
  {
    QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "admin");
    admin.setHostName(QStringLiteral("127.0.0.1"));
    admin.setPort(puerto.toInt());
    admin.setUserName(usuario);
    admin.setDatabaseName(QStringLiteral("postgres"));
    if (!admin.open()) Abortar(admin.lastError().text());
    Ejecutar(admin, QStringLiteral("CREATE DATABASE ") + base);
  }
  QDir().mkpath(carpeta.filePath(QStringLiteral("config/analisis-harina")));
  QFile ini(carpeta.filePath(QStringLiteral("config/analisis-harina/RO000za.INI")));
  if (!ini.open(QIODevice::WriteOnly)) Abortar(QStringLiteral("no se pudo escribir el INI"));
  ini.write(QStringLiteral("[Datos]\nMotor=postgresql\nPuerto=%1\n").arg(puerto).toUtf8());
  ini.close();
  Iniciar(
      QStringLiteral("@Server=127.0.0.1;@DbName=%1;@Usuario=%2;@Password=;@UsuarioLogeado=bench;")
          .arg(base, usuario));
  Llenar(Motor::Postgresql, analisis);
  Medir("PostgreSQL", vueltas, analisis);
  LibDatos::Instancia().Desconectar();
  Ejecutar(QSqlDatabase::database(QStringLiteral("admin")),
           QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(base));
  Salir(0);
}
