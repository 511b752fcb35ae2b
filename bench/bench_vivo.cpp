// The live sheet between two stations: the time from a value stored at one
// station to the value painted in the other's loaded day, and what an idle
// station spends watching. On SQLite and, when PRUEBA_PG_PUERTO names a
// PostgreSQL server on 127.0.0.1 (scripts/servidor_pg.sh starts one), on
// PostgreSQL too.
//
//   bench_vivo [vueltas]
//
// The watching station is this program's sheet window with a day of forty
// analyses loaded. The storing station is a second connection of the same
// process doing what a station's store does to the database: in one
// transaction the UPDATE of the cell, its audit row and, on PostgreSQL, the
// notice. Each round times from the storing transaction's start until the
// watching window holds the value in its grid and has painted it (goals:
// median under 1 s on PostgreSQL, under 2 s on SQLite). Then the window sits
// ten seconds with nothing changing, and the process's CPU time over them is
// the idle cost of watching (goal: under 1 %). Any question the program asks
// the operator ends the run with status 3.

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "services/lib_datos.h"
#include "session/linea_de_comandos.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

#include "medicion.h"

namespace {

constexpr int kAnalisis = 40;
constexpr int kHumedad = 7;
const QString kDia = QStringLiteral("15/03/2004");

void Ejecutar(QSqlDatabase base, const QString& sql) {
  QSqlQuery q(base);
  if (!q.exec(sql)) Abortar(sql + QStringLiteral(": ") + q.lastError().text());
}

double SegundosDeCpu() {
  rusage uso{};
  getrusage(RUSAGE_SELF, &uso);
  return uso.ru_utime.tv_sec + uso.ru_utime.tv_usec / 1e6 + uso.ru_stime.tv_sec +
         uso.ru_stime.tv_usec / 1e6;
}

// The day's analyses, written by the storing station; the first one's key.
qint64 Sembrar(QSqlDatabase otra) {
  Ejecutar(otra, QStringLiteral("DELETE FROM v_mv_zentalia"));
  for (int i = 0; i < kAnalisis; ++i)
    Ejecutar(otra, QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, HORARIO, tipo_harina, "
                                  "HUMEDAD) VALUES ('2004-03-15 00:00:00', '%1:%2:00', '0000', 14)")
                       .arg(6 + i / 4, 2, 10, QLatin1Char('0'))
                       .arg((i % 4) * 15, 2, 10, QLatin1Char('0')));
  QSqlQuery q(otra);
  if (!q.exec(QStringLiteral("SELECT MIN(ID) FROM v_mv_zentalia")) || !q.next())
    Abortar(q.lastError().text());
  return q.value(0).toLongLong();
}

void Medir(const char* motor, frmHarina& ventana, QSqlDatabase otra, bool aviso, int vueltas) {
  const qint64 id = Sembrar(otra);
  ventana.txtFields[0]->setText(kDia);
  ventana.CmdCargar_Click();
  if (ventana.MSflexGrid1->Rows() != Grilla::kFixedRows + kAnalisis)
    Abortar(QStringLiteral("la ventana no cargó el día"));
  QTest::qWait(200);
  std::vector<double> ms;
  for (int i = 0; i < vueltas; ++i) {
    const QString valor = QString::number(10 + i % 80);
    QElapsedTimer reloj;
    reloj.start();
    Ejecutar(otra, QStringLiteral("BEGIN"));
    Ejecutar(
        otra,
        QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = %1 WHERE ID = %2").arg(valor).arg(id));
    Ejecutar(otra, QStringLiteral("INSERT INTO ta_auditoria (momento, estacion, operador, accion, "
                                  "tabla, id_fila, campo, valor_anterior, valor_nuevo, huella) "
                                  "VALUES ('2004-03-15 08:00:00.000', 'otra', 'beto', "
                                  "'modificacion', 'v_mv_zentalia', %1, 'HUMEDAD', '', '%2', '')")
                       .arg(id)
                       .arg(valor));
    if (aviso) Ejecutar(otra, QStringLiteral("NOTIFY ta_auditoria_cambio"));
    Ejecutar(otra, QStringLiteral("COMMIT"));
    while (ventana.MSflexGrid1->TextMatrix(Grilla::kFixedRows, kHumedad) != valor) {
      if (reloj.elapsed() > 10000) Abortar(QStringLiteral("el valor no llegó en 10 s"));
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    }
    // Painted: the window's pending paint events run.
    QCoreApplication::processEvents();
    ms.push_back(reloj.nsecsElapsed() / 1e6);
    // Apart, as stores of a lab are.
    QTest::qWait(100 + (i % 7) * 37);
  }
  const double cpuAntes = SegundosDeCpu();
  QElapsedTimer quieto;
  quieto.start();
  QTest::qWait(10000);
  const double cpu = 100.0 * (SegundosDeCpu() - cpuAntes) / (quieto.nsecsElapsed() / 1e9);
  std::printf("%s (%d valores guardados en la otra estación)\n", motor, vueltas);
  std::printf("  hasta pintado aquí, mediana            %9.1f ms  (meta: < %s)\n", Mediana(ms),
              aviso ? "1000 ms" : "2000 ms");
  std::printf("  hasta pintado aquí, el más lento       %9.1f ms\n",
              *std::max_element(ms.begin(), ms.end()));
  std::printf("  CPU de la estación quieta, 10 s        %9.2f %%  (meta: < 1 %%)\n", cpu);
}

}  // namespace

int main(int argc, char* argv[]) {
  QTemporaryDir carpeta;
  PrepararMedicion("bench_vivo", carpeta);
  QApplication aplicacion(argc, argv);
  const int vueltas = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 21;

  const QString archivo = carpeta.filePath(QStringLiteral("vivo.sqlite"));
  {
    FijarParametros(QStringLiteral("@DbName=%1;@UsuarioLogeado=bench;").arg(archivo));
    frmHarina ventana;
    if (!ventana.Form_Load()) Abortar(QStringLiteral("Form_Load falló"));
    ventana.show();
    QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "otra");
    otra.setDatabaseName(archivo);
    if (!otra.open()) Abortar(otra.lastError().text());
    Ejecutar(otra, QStringLiteral("PRAGMA busy_timeout=5000"));
    Medir("SQLite", ventana, otra, false, vueltas);
    otra.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("otra"));
  LibDatos::Instancia().Desconectar();

  const QString puerto = qEnvironmentVariable("PRUEBA_PG_PUERTO");
  if (puerto.isEmpty()) {
    std::printf("PostgreSQL: sin servidor (PRUEBA_PG_PUERTO), no se mide\n");
    Salir(0);
  }
  const QString base = QStringLiteral("bench_vivo_%1").arg(QCoreApplication::applicationPid());
  const QString usuario = qEnvironmentVariable("PRUEBA_PG_USUARIO", QStringLiteral("postgres"));
  QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "admin");
  admin.setHostName(QStringLiteral("127.0.0.1"));
  admin.setPort(puerto.toInt());
  admin.setUserName(usuario);
  admin.setDatabaseName(QStringLiteral("postgres"));
  if (!admin.open()) Abortar(admin.lastError().text());
  Ejecutar(admin, QStringLiteral("CREATE DATABASE ") + base);
  QDir().mkpath(carpeta.filePath(QStringLiteral("config/analisis-harina")));
  QFile ini(carpeta.filePath(QStringLiteral("config/analisis-harina/RO000za.INI")));
  if (!ini.open(QIODevice::WriteOnly)) Abortar(QStringLiteral("no se pudo escribir el INI"));
  ini.write(QStringLiteral("[Datos]\nMotor=postgresql\nPuerto=%1\n").arg(puerto).toUtf8());
  ini.close();
  {
    FijarParametros(
        QStringLiteral("@Server=127.0.0.1;@DbName=%1;@Usuario=%2;@Password=;@UsuarioLogeado=bench;")
            .arg(base, usuario));
    frmHarina ventana;
    if (!ventana.Form_Load()) Abortar(QStringLiteral("Form_Load falló"));
    ventana.show();
    QSqlDatabase otra = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), "otra");
    otra.setHostName(QStringLiteral("127.0.0.1"));
    otra.setPort(puerto.toInt());
    otra.setUserName(usuario);
    otra.setDatabaseName(base);
    if (!otra.open()) Abortar(otra.lastError().text());
    Medir("PostgreSQL", ventana, otra, true, vueltas);
    otra.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("otra"));
  LibDatos::Instancia().Desconectar();
  Ejecutar(admin, QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(base));
  Salir(0);
}
