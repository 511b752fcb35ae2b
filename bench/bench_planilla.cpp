// The day sheet on the embedded SQLite database, each operation against the
// bare engine work it stands on, measured alternately in the same run on the
// session's own connection (WAL, synchronous = FULL). Prints the median of
// each, the floor and their ratio.
//
//   bench_planilla [vueltas]
//
// Two database files, forty analyses a day, both holding the measured day:
// one of 1,000,000 analyses (about 68 years of days) and one of 1,000. The
// window starts on the small one; each round opens a session on each file in
// turn (the program's own session start, on the same window), loads the day
// once to warm the connection, then measures, in alternating order:
//   - the load of the day through the window (CmdCargar_Click), against the
//     bare forward-only QSqlQuery of the same statement, each measured right
//     after the sheet was cleared and repainted; the bare one reads every
//     field and is then finished and freed (the load frees its statement too;
//     the time to the last row read is printed as well); the load reads its
//     rows straight from SQLite's own interface, so the same statement run
//     bare on that interface is printed beside it;
// and, on the large file with the day loaded:
//   - storing a cell: one digit typed over a number cell of the grid, then
//     Enter, against the bare UPDATE of that one column of the row in the
//     same place of the day before, each bare write measured as the Enter is,
//     with a digit just typed into the cell (then taken back). Two figures:
//     the Enter alone (UpdateaCampo through the grid: the cell is stored and
//     the cursor moves on), which the goal is about, and the digit and the
//     Enter together (the editor opening as well).
// Both files hold quality limits (ta_limites): the measured flour types and
// two more, each number column, as of two dates, the later one before the
// measured day; some values of the day fall outside them or in the warning
// band. The load and the stored cell are measured with those limits and with
// none (the table emptied and read again, as after the limits editor saved),
// alternately, to give what judging adds (goal: at most 10 %).
// Any question the program asks the operator ends the run with status 3.

#include <QApplication>
#include <QDate>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "services/carpetas.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"
#include "sheet/sentencias.h"

#include "medicion.h"

#include <sqlite3.h>
#include <QSqlDriver>

namespace {

constexpr int kAnalisisPorDia = 40;
// Grid column of HUMEDAD; Enter moves the cursor on to the next one.
constexpr int kColumnaHumedad = 7;
const QDate kDiaMedido(2000, 6, 15);

QSqlDatabase Base() { return LibDatos::Instancia().Conexion().Base(); }

QString Parametros(const QString& ruta) {
  return QStringLiteral("@DbName=%1;@UsuarioLogeado=bench;").arg(ruta);
}

// A new session on another file, as the program starts one.
void AbrirSesion(const QString& ruta) {
  LibDatos::Instancia().Desconectar();
  FijarParametros(Parametros(ruta));
  if (!IniciarSesion() || !LibDatos::Instancia().Conectado())
    Abortar(QStringLiteral("no se pudo abrir la sesión sobre ") + ruta);
}

// Fills the session's database with `dias` days of forty analyses, the
// measured day among them, in one transaction: one prepared INSERT per day
// writes its forty rows. Within a day the times do not come in order, so that
// the load's "order by horario" has to sort.
void Llenar(int dias) {
  static_assert(kAnalisisPorDia == 40, "the INSERT writes forty analyses a day");
  QSqlDatabase base = Base();
  if (!base.transaction()) Abortar(base.lastError().text());
  QSqlQuery insertar(base);
  if (!insertar.prepare(QStringLiteral(
          "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 39) "
          "INSERT INTO v_mv_zentalia (Fecha, responsable, fecha_alta, fecha_modificacion, "
          "tipo_harina, HORARIO, HUMEDO, SECO, CARACT, FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, "
          "CONTROLPESAJE, OBSERVACIONES) "
          "SELECT dia || ' 00:00:00', 'bench', dia || ' ' || horario, dia || ' ' || horario, "
          "CASE i % 3 WHEN 0 THEN '000' WHEN 1 THEN '0000' ELSE 'Integral' END, horario, "
          "28.0 + (i % 10) * 0.1, 9.5 + (i % 7) * 0.1, 'Normal', 300 + i, 14.0 + (i % 5) * 0.1, "
          "0.55 + (i % 4) * 0.01, 'Blanco', 25.0 + (i % 3) * 0.05, "
          "CASE WHEN i % 4 = 0 THEN 'Sin observaciones' END "
          "FROM (SELECT i, printf('%02d:%02d:00', (360 + (i * 17) % 40 * 20) / 60, "
          "(360 + (i * 17) % 40 * 20) % 60) AS horario FROM n), (SELECT ? AS dia) ORDER BY i")))
    Abortar(insertar.lastError().text());
  const QDate primero = kDiaMedido.addDays(-dias / 2);
  for (int d = 0; d < dias; ++d) {
    insertar.bindValue(0, primero.addDays(d).toString(QStringLiteral("yyyy-MM-dd")));
    if (!insertar.exec()) Abortar(insertar.lastError().text());
  }
  insertar.finish();
  if (!base.commit()) Abortar(base.lastError().text());
  QSqlQuery(base).exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

void Ejecutar(const QString& sql) {
  QSqlQuery consulta(Base());
  if (!consulta.exec(sql)) Abortar(consulta.lastError().text() + QStringLiteral(": ") + sql);
}

const QString kColumnasLimite =
    QStringLiteral("tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, vigente_desde");

// The limit rows, kept aside in limites_bench: five flour types (three of
// them the day's), the six number columns, two dates each (the older looser).
int GuardarLimitesAparte() {
  Ejecutar(
      QStringLiteral("CREATE TABLE limites_bench (tipo_harina VARCHAR(25), campo "
                     "VARCHAR(30), minimo NUMERIC, maximo NUMERIC, aviso_minimo NUMERIC, "
                     "aviso_maximo NUMERIC, vigente_desde DATE)"));
  struct Cotas {
    const char* campo;
    const char* minimo;
    const char* maximo;
    const char* avisoMinimo;
    const char* avisoMaximo;
  };
  // The day's values: HUMEDO 28.0-28.9, SECO 9.5-10.1, FALLINGNUMBER 300-339,
  // HUMEDAD 14.0-14.4, CENIZAS 0.55-0.58, CONTROLPESAJE 25.0-25.1.
  const Cotas cotas[] = {
      {"HUMEDO", "24", "34", "NULL", "NULL"},
      {"SECO", "8", "12", "NULL", "NULL"},
      {"FALLINGNUMBER", "250", "400", "310", "NULL"},
      {"HUMEDAD", "NULL", "15.0", "NULL", "14.3"},
      {"CENIZAS", "NULL", "0.56", "NULL", "NULL"},
      {"CONTROLPESAJE", "24.5", "25.5", "NULL", "NULL"},
  };
  int filas = 0;
  for (const char* tipo : {"0000", "000", "Integral", "Especial", "Semolín"}) {
    for (const Cotas& cota : cotas) {
      for (const char* desde : {"1990-01-01", "2000-03-01"}) {
        Ejecutar(QStringLiteral("INSERT INTO limites_bench (%1) VALUES ('%2', '%3', %4, %5, %6, "
                                "%7, '%8')")
                     .arg(kColumnasLimite, QString::fromUtf8(tipo), QString::fromLatin1(cota.campo),
                          QString::fromLatin1(cota.minimo), QString::fromLatin1(cota.maximo),
                          QString::fromLatin1(cota.avisoMinimo),
                          QString::fromLatin1(cota.avisoMaximo), QString::fromLatin1(desde)));
        ++filas;
      }
    }
  }
  return filas;
}

// The window judges with the limits or with none from now on.
void Limitar(frmHarina& ventana, bool con) {
  Ejecutar(QStringLiteral("DELETE FROM ta_limites"));
  if (con)
    Ejecutar(QStringLiteral("INSERT INTO ta_limites (%1) SELECT %1 FROM limites_bench")
                 .arg(kColumnasLimite));
  ventana.JuzgarDeNuevo();
}

// How many cells of the loaded day were judged, and how many of them out of
// their limits or in the warning band.
std::pair<int, int> Juzgadas(frmHarina& ventana) {
  int juzgadas = 0;
  int marcadas = 0;
  for (int fila = Grilla::kFixedRows; fila < ventana.MSflexGrid1->Rows(); ++fila) {
    for (int columna = 1; columna <= 11; ++columna) {
      const Veredicto veredicto = ventana.MSflexGrid1->JuicioEn(fila, columna);
      if (veredicto != Veredicto::SinJuicio) ++juzgadas;
      if (veredicto == Veredicto::Fuera || veredicto == Veredicto::Aviso) ++marcadas;
    }
  }
  return {juzgadas, marcadas};
}

qint64 Contar(const QString& sql) {
  QSqlQuery consulta(Base());
  if (!consulta.exec(sql) || !consulta.next()) Abortar(consulta.lastError().text());
  return consulta.value(0).toLongLong();
}

QString Pragma(const QString& nombre) {
  QSqlQuery consulta(Base());
  if (!consulta.exec(QStringLiteral("PRAGMA ") + nombre) || !consulta.next())
    Abortar(consulta.lastError().text());
  return consulta.value(0).toString();
}

// The day loaded through the window, from the idle state; pintada, until
// the sheet is painted as well. Milliseconds.
double pintada = 0;
// The state every load of the day is measured in, the window's and the bare
// ones alike: the sheet cleared, the date typed, the repaint done. A bare
// query run right after another runs on warm caches, one run after the
// window's repaint on cold ones, slower by half for the same work, and the
// median of the two falls wherever the halves meet.
void PrepararCarga(frmHarina& ventana, const QString& tecleada) {
  ventana.InicializaPantalla();
  ventana.txtFields[0]->setText(tecleada);
  QCoreApplication::processEvents();
}

double CargarEnVentana(frmHarina& ventana, const QString& tecleada) {
  PrepararCarga(ventana, tecleada);
  QElapsedTimer reloj;
  reloj.start();
  ventana.CmdCargar_Click();
  const double ms = reloj.nsecsElapsed() / 1e6;
  // The grid painted: the window's pending paint events, run now.
  QCoreApplication::processEvents();
  pintada = reloj.nsecsElapsed() / 1e6;
  if (!ventana.PlanillaCargada ||
      ventana.MSflexGrid1->Rows() != Grilla::kFixedRows + kAnalisisPorDia ||
      ventana.MSflexGrid1->TextMatrix(Grilla::kFixedRows, 0).isEmpty())
    Abortar(QStringLiteral("la ventana no cargó los %1 análisis del día").arg(kAnalisisPorDia));
  return ms;
}

// The same statement, bare: forward only, every field of every row read (the
// day has one observation in four, the rest are Null), and the statement
// finished and freed, as the window's load finishes and frees its own.
// Milliseconds; sinCerrar, until the last row was read, before the
// statement was freed.
double sinCerrar = 0;
double CargarConsultaPura(const QString& sql) {
  QSqlDatabase base = Base();
  int columnas = 0;
  int filas = 0;
  int nulos = 0;
  QElapsedTimer reloj;
  reloj.start();
  {
    QSqlQuery consulta(base);
    consulta.setForwardOnly(true);
    if (!consulta.exec(sql)) Abortar(consulta.lastError().text());
    columnas = consulta.record().count();
    while (consulta.next()) {
      ++filas;
      for (int c = 0; c < columnas; ++c) nulos += consulta.value(c).isNull() ? 1 : 0;
    }
    sinCerrar = reloj.nsecsElapsed() / 1e6;
  }
  const double ms = reloj.nsecsElapsed() / 1e6;
  if (filas != kAnalisisPorDia || columnas != 12 || nulos != kAnalisisPorDia - kAnalisisPorDia / 4)
    Abortar(QStringLiteral("la consulta pura leyó %1 filas de %2 campos, %3 nulos")
                .arg(filas)
                .arg(columnas)
                .arg(nulos));
  return ms;
}

// The same statement bare on SQLite's own interface, on the session's
// connection: prepared, every field's type read, finalized. Milliseconds.
double CargarSqlitePura(const QString& sql) {
  const QVariant handle = Base().driver()->handle();
  sqlite3* base = *static_cast<sqlite3* const*>(handle.constData());
  int filas = 0;
  int nulos = 0;
  QElapsedTimer reloj;
  reloj.start();
  sqlite3_stmt* sentencia = nullptr;
  if (sqlite3_prepare16_v2(base, sql.utf16(), static_cast<int>(sql.size() * sizeof(char16_t)),
                           &sentencia, nullptr) != SQLITE_OK)
    Abortar(QString::fromUtf8(sqlite3_errmsg(base)));
  const int columnas = sqlite3_column_count(sentencia);
  while (sqlite3_step(sentencia) == SQLITE_ROW) {
    ++filas;
    for (int c = 0; c < columnas; ++c) nulos += sqlite3_column_type(sentencia, c) == SQLITE_NULL;
  }
  sqlite3_finalize(sentencia);
  const double ms = reloj.nsecsElapsed() / 1e6;
  if (filas != kAnalisisPorDia || nulos != kAnalisisPorDia - kAnalisisPorDia / 4)
    Abortar(
        QStringLiteral("la consulta pura de SQLite leyó %1 filas, %2 nulos").arg(filas).arg(nulos));
  return ms;
}

qint64 ClaveDeFila(frmHarina& ventana, int fila) {
  bool esNumero = false;
  const qint64 id = ventana.MSflexGrid1->TextMatrix(fila, 0).toLongLong(&esNumero);
  if (!esNumero) Abortar(QStringLiteral("la fila %1 de la grilla no tiene clave").arg(fila));
  return id;
}

// One digit typed over the HUMEDAD cell of the grid row and confirmed with
// Enter, as the operator does. Microseconds of the Enter alone and of the
// digit and the Enter together.
struct Guardado {
  double enter;
  double todo;
};

// The grid's cursor on the HUMEDAD cell of the row, with the focus, the
// events that follow the move run.
Grilla* PonerCursor(frmHarina& ventana, int fila) {
  Grilla* grilla = ventana.MSflexGrid1;
  grilla->SetRow(fila);
  grilla->SetCol(kColumnaHumedad);
  QCoreApplication::processEvents();
  if (!grilla->hasFocus() || grilla->Row() != fila || grilla->Col() != kColumnaHumedad)
    Abortar(QStringLiteral("la grilla no tiene el foco en la celda (%1, %2)")
                .arg(fila)
                .arg(kColumnaHumedad));
  return grilla;
}

Guardado GuardarEnGrilla(frmHarina& ventana, int fila, int digito) {
  Grilla* grilla = PonerCursor(ventana, fila);
  QElapsedTimer reloj;
  reloj.start();
  QTest::keyClick(grilla, static_cast<Qt::Key>(Qt::Key_0 + digito));
  const qint64 abierto = reloj.nsecsElapsed();
  QTest::keyClick(ventana.TxtEdit, Qt::Key_Return);
  const qint64 fin = reloj.nsecsElapsed();
  if (ventana.TxtEdit->isVisible() || grilla->Col() != kColumnaHumedad + 1 ||
      grilla->TextMatrix(fila, kColumnaHumedad) != QString::number(digito))
    Abortar(
        QStringLiteral("la celda (%1, %2) no se guardó con Enter").arg(fila).arg(kColumnaHumedad));
  QCoreApplication::processEvents();
  return {(fin - abierto) / 1e3, fin / 1e3};
}

// A value no bare write has stored before (100 and up; the grid writes 1 to
// 9). SQLite leaves a page alone when a row's bytes do not change, and such a
// commit syncs nothing: the bare UPDATE and the bare UPDATE + INSERT write the
// same row one after the other, so each must store a value of its own.
int ValorPuroNuevo() {
  static int escritos = 0;
  return 100 + ++escritos;
}

// A bare write measured in the state the Enter is measured in: the cursor on
// the same cell and a digit typed (the editor open), the previous write's
// repaint done. The digit is then taken back with Escape. Without it a bare
// write that follows another runs on warm caches and one that follows the
// Enter's repaint on cold ones, several times slower for the same
// instructions, and the median of the two falls wherever the halves meet.
template <typename Medir>
double TrasUnDigito(frmHarina& ventana, int fila, int digito, Medir medir) {
  Grilla* grilla = PonerCursor(ventana, fila);
  const QString antes = grilla->TextMatrix(fila, kColumnaHumedad);
  QTest::keyClick(grilla, static_cast<Qt::Key>(Qt::Key_0 + digito));
  if (!ventana.TxtEdit->isVisible())
    Abortar(
        QStringLiteral("el dígito no abrió el editor en (%1, %2)").arg(fila).arg(kColumnaHumedad));
  const double us = medir();
  QTest::keyClick(ventana.TxtEdit, Qt::Key_Escape);
  if (ventana.TxtEdit->isVisible() || grilla->TextMatrix(fila, kColumnaHumedad) != antes)
    Abortar(QStringLiteral("Escape no devolvió la celda (%1, %2)").arg(fila).arg(kColumnaHumedad));
  QCoreApplication::processEvents();
  return us;
}

// The bare UPDATE of that one column of the row, to a value it never held.
// The row is the one in the same place of the day before: a write to a row of
// the loaded day would be another station's change, which the window's next
// store of that cell asks the operator about. Microseconds.
double GuardarPuro(qint64 id) {
  id -= kAnalisisPorDia;
  const QString sql = QStringLiteral("UPDATE v_mv_zentalia SET humedad = %1 WHERE ID = %2")
                          .arg(ValorPuroNuevo())
                          .arg(id);
  QSqlDatabase base = Base();
  QElapsedTimer reloj;
  reloj.start();
  QSqlQuery consulta(base);
  if (!consulta.exec(sql)) Abortar(consulta.lastError().text());
  const int filas = consulta.numRowsAffected();
  const double us = reloj.nsecsElapsed() / 1e3;
  if (filas != 1) Abortar(QStringLiteral("el UPDATE puro cambió %1 filas").arg(filas));
  return us;
}

// The same writes as a stored cell, bare: the UPDATE and one row of the
// audit trail in one transaction, as plain statements, on the same row of
// the day before as GuardarPuro. Microseconds.
double GuardarPuroConRegistro(qint64 id) {
  id -= kAnalisisPorDia;
  const int valor = ValorPuroNuevo();
  QSqlDatabase base = Base();
  QElapsedTimer reloj;
  reloj.start();
  for (const QString& sql :
       {QStringLiteral("BEGIN IMMEDIATE"),
        QStringLiteral("UPDATE v_mv_zentalia SET humedad = %1 WHERE ID = %2").arg(valor).arg(id),
        QStringLiteral("INSERT INTO ta_auditoria (momento, estacion, operador, accion, tabla, "
                       "id_fila, campo, valor_anterior, valor_nuevo, huella) VALUES ('2000-06-15 "
                       "08:00:00.000', 'bench', 'bench', 'modificacion', 'bench', %1, 'HUMEDAD', "
                       "'', '%2', '')")
            .arg(id)
            .arg(valor),
        QStringLiteral("COMMIT")}) {
    QSqlQuery consulta(base);
    if (!consulta.exec(sql)) Abortar(consulta.lastError().text());
  }
  return reloj.nsecsElapsed() / 1e3;
}

struct Tabla {
  QString ruta;
  int dias;
  std::vector<double> ventana;
  std::vector<double> pura;
  std::vector<double> sinLimites;  // the window's load judging nothing
  std::vector<double> pintada;     // the load and the sheet painted
  std::vector<double> sinCerrar;   // the bare query until its last row
  std::vector<double> sqlite;      // the bare query on SQLite's interface
};

}  // namespace

int main(int argc, char* argv[]) {
  QTemporaryDir carpeta;
  PrepararMedicion("bench_planilla", carpeta);
  QApplication aplicacion(argc, argv);
  const int vueltas = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 15;

  Tabla grande{carpeta.filePath(QStringLiteral("grande.sqlite")),
               1000000 / kAnalisisPorDia,
               {},
               {},
               {},
               {},
               {},
               {}};
  Tabla chica{carpeta.filePath(QStringLiteral("chica.sqlite")),
              1000 / kAnalisisPorDia,
              {},
              {},
              {},
              {},
              {},
              {}};
  const QString tecleada = kDiaMedido.toString(QStringLiteral("dd/MM/yyyy"));

  // The window creates the small file with its schema; the session start
  // creates the large one.
  FijarParametros(Parametros(chica.ruta));
  frmHarina ventana;
  if (!ventana.Form_Load()) Abortar(QStringLiteral("Form_Load falló"));
  ventana.show();
  ventana.activateWindow();
  if (!QTest::qWaitForWindowActive(&ventana)) Abortar(QStringLiteral("la ventana no se activó"));

  QElapsedTimer llenado;
  llenado.start();
  for (Tabla* tabla : {&chica, &grande}) {
    AbrirSesion(tabla->ruta);
    Llenar(tabla->dias);
    if (GuardarLimitesAparte() != 60) Abortar(QStringLiteral("faltan filas de límites"));
    const qint64 total = Contar(QStringLiteral("SELECT COUNT(*) FROM v_mv_zentalia"));
    const qint64 delDia =
        Contar(QStringLiteral("SELECT COUNT(*) FROM v_mv_zentalia WHERE Fecha = '%1 00:00:00'")
                   .arg(kDiaMedido.toString(QStringLiteral("yyyy-MM-dd"))));
    if (total != qint64(tabla->dias) * kAnalisisPorDia || delDia != kAnalisisPorDia)
      Abortar(QStringLiteral("%1 tiene %2 análisis, %3 del día")
                  .arg(tabla->ruta)
                  .arg(total)
                  .arg(delDia));
  }
  std::printf("tablas llenadas en %.1f s\n\n", llenado.nsecsElapsed() / 1e9);

  for (int i = 0; i < vueltas; ++i) {
    for (Tabla* tabla : {&grande, &chica}) {
      AbrirSesion(tabla->ruta);
      const QString sql =
          sentencias::ConsultaDia(LibDatos::Instancia().Conexion().dialecto(),
                                  QStringLiteral("v_mv_zentalia"), kDiaMedido, tecleada, true);
      // With limits and without, in turns; each after a load that warms it.
      const auto conLimites = [&] {
        Limitar(ventana, true);
        CargarEnVentana(ventana, tecleada);
        tabla->ventana.push_back(CargarEnVentana(ventana, tecleada));
        tabla->pintada.push_back(pintada);
        const auto [juzgadas, marcadas] = Juzgadas(ventana);
        if (juzgadas != 6 * kAnalisisPorDia || marcadas == 0)
          Abortar(QStringLiteral("con límites se juzgaron %1 celdas, %2 marcadas")
                      .arg(juzgadas)
                      .arg(marcadas));
      };
      const auto sinLimites = [&] {
        Limitar(ventana, false);
        CargarEnVentana(ventana, tecleada);
        tabla->sinLimites.push_back(CargarEnVentana(ventana, tecleada));
        if (Juzgadas(ventana).first != 0) Abortar(QStringLiteral("sin límites se juzgó"));
      };
      const auto pura = [&] {
        PrepararCarga(ventana, tecleada);
        tabla->pura.push_back(CargarConsultaPura(sql));
        tabla->sinCerrar.push_back(sinCerrar);
      };
      const auto sqlitePura = [&] {
        PrepararCarga(ventana, tecleada);
        tabla->sqlite.push_back(CargarSqlitePura(sql));
      };
      CargarConsultaPura(sql);
      if (i % 2 == 0) {
        conLimites();
        pura();
        sqlitePura();
        sinLimites();
      } else {
        sinLimites();
        sqlitePura();
        pura();
        conLimites();
      }
    }
  }

  // Storing a cell, on the large file with the day loaded. The first entry is
  // checked in the database itself.
  AbrirSesion(grande.ruta);
  CargarEnVentana(ventana, tecleada);
  Limitar(ventana, true);
  GuardarEnGrilla(ventana, Grilla::kFixedRows, 5);
  const qint64 primera = ClaveDeFila(ventana, Grilla::kFixedRows);
  {
    QSqlQuery consulta(Base());
    if (!consulta.exec(QStringLiteral("SELECT HUMEDAD, fecha_modificacion FROM v_mv_zentalia "
                                      "WHERE ID = %1")
                           .arg(primera)) ||
        !consulta.next() || consulta.value(0).toDouble() != 5.0 ||
        consulta.value(1).toString().startsWith(QLatin1String("2000-")))
      Abortar(QStringLiteral("la celda confirmada con Enter no llegó a la base de datos"));
  }
  GuardarPuro(primera);
  const QString diario = Pragma(QStringLiteral("journal_mode"));
  const QString sincronia = Pragma(QStringLiteral("synchronous"));
  if (diario.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0 ||
      sincronia != QLatin1String("2"))
    Abortar(QStringLiteral("la conexión no está en WAL + synchronous=FULL (%1, %2)")
                .arg(diario, sincronia));
  // Most of a stored cell is the disk's sync, whose time varies more than the
  // rest: five times as many samples.
  // Judging with limits and without in blocks of ten rounds (changing the
  // limits is a write of its own, kept out of the measured stores by a store
  // that warms the block).
  const int guardados = 5 * vueltas;
  std::vector<double> conEnter;
  std::vector<double> enGrilla;
  std::vector<double> puro;
  std::vector<double> enterSinLimites;
  std::vector<double> puroSinLimites;
  std::vector<double> registro;  // the same writes as the Enter, bare
  bool conLimites = true;
  for (int i = 0; i < 2 * guardados; ++i) {
    if (i % 10 == 0) {
      conLimites = i % 20 == 0;
      Limitar(ventana, conLimites);
      GuardarEnGrilla(ventana, Grilla::kFixedRows, 5);
    }
    const int fila = Grilla::kFixedRows + 1 + i % (kAnalisisPorDia - 1);
    const int digito = 1 + i % 9;
    const qint64 id = ClaveDeFila(ventana, fila);
    const auto guardar = [&] {
      const Guardado guardado = GuardarEnGrilla(ventana, fila, digito);
      (conLimites ? conEnter : enterSinLimites).push_back(guardado.enter);
      if (conLimites) enGrilla.push_back(guardado.todo);
    };
    const auto guardarPuro = [&] {
      (conLimites ? puro : puroSinLimites).push_back(TrasUnDigito(ventana, fila, digito, [&] {
        return GuardarPuro(id);
      }));
    };
    const auto registrar = [&] {
      if (conLimites)
        registro.push_back(
            TrasUnDigito(ventana, fila, digito, [&] { return GuardarPuroConRegistro(id); }));
    };
    if (i % 2 == 0) {
      guardar();
      guardarPuro();
      registrar();
    } else {
      registrar();
      guardarPuro();
      guardar();
    }
  }

  // The program's own work on a stored cell: the same Enter and bare UPDATE
  // with the disk's sync taken out (synchronous=OFF on the same connection),
  // so that the ratio is not mostly the disk's.
  Ejecutar(QStringLiteral("PRAGMA synchronous=OFF"));
  std::vector<double> enterSinSync;
  std::vector<double> puroSinSync;
  std::vector<double> registroSinSync;
  GuardarEnGrilla(ventana, Grilla::kFixedRows, 5);
  for (int i = 0; i < 2 * guardados; ++i) {
    const int fila = Grilla::kFixedRows + 1 + i % (kAnalisisPorDia - 1);
    // Never the digit the rounds above left in that cell (theirs step by 3
    // from one pass over the rows to the next, this one is 4 apart): a digit
    // typed over itself stores nothing, and would be measured as a store.
    const int digito = 1 + (i + 4) % 9;
    const qint64 id = ClaveDeFila(ventana, fila);
    if (i % 2 == 0) {
      enterSinSync.push_back(GuardarEnGrilla(ventana, fila, digito).enter);
      puroSinSync.push_back(TrasUnDigito(ventana, fila, digito, [&] { return GuardarPuro(id); }));
      registroSinSync.push_back(
          TrasUnDigito(ventana, fila, digito, [&] { return GuardarPuroConRegistro(id); }));
    } else {
      registroSinSync.push_back(
          TrasUnDigito(ventana, fila, digito, [&] { return GuardarPuroConRegistro(id); }));
      puroSinSync.push_back(TrasUnDigito(ventana, fila, digito, [&] { return GuardarPuro(id); }));
      enterSinSync.push_back(GuardarEnGrilla(ventana, fila, digito).enter);
    }
  }
  Ejecutar(QStringLiteral("PRAGMA synchronous=FULL"));

  const double vGrande = Mediana(grande.ventana);
  const double pGrande = Mediana(grande.pura);
  const double vChica = Mediana(chica.ventana);
  const double pChica = Mediana(chica.pura);
  std::printf("carga de un día de %d análisis (mediana de %d vueltas)\n", kAnalisisPorDia, vueltas);
  std::printf(" tabla de 1.000.000 análisis\n");
  std::printf("  frmHarina::CmdCargar_Click             %9.3f ms\n", vGrande);
  std::printf("  QSqlQuery pura, misma sentencia        %9.3f ms\n", pGrande);
  std::printf("  razón                                  %9.2fx  (meta: <= 2x)\n",
              vGrande / pGrande);
  std::printf("  (QSqlQuery pura hasta la última fila, sin cerrar la sentencia %.3f ms)\n",
              Mediana(grande.sinCerrar));
  std::printf("  sqlite3 pura (la interfaz de SQLite)    %9.3f ms\n", Mediana(grande.sqlite));
  std::printf("  razón, ventana / sqlite3 pura          %9.2fx\n",
              vGrande / Mediana(grande.sqlite));
  std::printf("  Enter de la fecha hasta la planilla pintada %6.3f ms\n", Mediana(grande.pintada));
  std::printf("  razón                                  %9.2fx\n",
              Mediana(grande.pintada) / pGrande);
  std::printf(" tabla de 1.000 análisis\n");
  std::printf("  frmHarina::CmdCargar_Click             %9.3f ms\n", vChica);
  std::printf("  QSqlQuery pura, misma sentencia        %9.3f ms\n", pChica);
  std::printf("  razón                                  %9.2fx\n", vChica / pChica);
  std::printf(" ventana, 1.000.000 / 1.000              %9.2fx  (meta: <= 1.5x)\n",
              vGrande / vChica);
  std::printf(" consulta pura, 1.000.000 / 1.000        %9.2fx\n", pGrande / pChica);
  const double sGrande = Mediana(grande.sinLimites);
  const double sChica = Mediana(chica.sinLimites);
  std::printf(" juicio de los límites (60 filas de límites; sin ellas, nada que juzgar)\n");
  std::printf("  1.000.000: sin límites                 %9.3f ms\n", sGrande);
  std::printf("  1.000.000: con límites, costo          %+8.1f %%  (meta: <= 10 %%)\n",
              100.0 * (vGrande - sGrande) / sGrande);
  std::printf("  1.000: sin límites                     %9.3f ms\n", sChica);
  std::printf("  1.000: con límites, costo              %+8.1f %%\n\n",
              100.0 * (vChica - sChica) / sChica);

  // Every stored cell carried its audit row, in the same transaction.
  const qint64 registradas = Contar(QStringLiteral(
      "SELECT COUNT(*) FROM ta_auditoria WHERE accion = 'modificacion' AND campo = 'HUMEDAD'"));
  if (registradas < guardados)
    Abortar(QStringLiteral("%1 celdas guardadas y %2 filas de auditoría")
                .arg(guardados)
                .arg(registradas));
  const double e = Mediana(conEnter);
  const double g = Mediana(enGrilla);
  const double p = Mediana(puro);
  std::printf("una celda guardada (mediana de %d, WAL + synchronous=FULL)\n", guardados);
  std::printf("  Enter: UpdateaCampo + fila auditoría   %9.1f µs\n", e);
  std::printf("  UPDATE puro de una columna             %9.1f µs\n", p);
  std::printf("  razón                                  %9.2fx  (meta: <= 1.5x)\n", e / p);
  const double r = Mediana(registro);
  std::printf("  UPDATE + INSERT de auditoría puros     %9.1f µs\n", r);
  std::printf("  razón, mismas escrituras puras / UPDATE%9.2fx\n", r / p);
  std::printf("  razón, Enter / mismas escrituras puras %9.2fx\n", e / r);
  std::printf("  un dígito + Enter (abre el editor)     %9.1f µs\n", g);
  std::printf("  razón                                  %9.2fx\n", g / p);
  const double es = Mediana(enterSinLimites);
  const double ps = Mediana(puroSinLimites);
  std::printf("  Enter sin límites                      %9.1f µs\n", es);
  std::printf("  UPDATE puro, en las mismas vueltas     %9.1f µs\n", ps);
  std::printf("  con límites, costo del juicio          %+8.1f %%  (meta: <= 10 %%)\n",
              100.0 * (e / p - es / ps) / (es / ps));
  const double eo = Mediana(enterSinSync);
  const double po = Mediana(puroSinSync);
  std::printf("una celda guardada (mediana de %d, WAL + synchronous=OFF: el trabajo propio)\n",
              2 * guardados);
  std::printf("  Enter: UpdateaCampo + fila auditoría   %9.1f µs\n", eo);
  std::printf("  UPDATE puro de una columna             %9.1f µs\n", po);
  std::printf("  razón                                  %9.2fx  (meta: <= 2x)\n", eo / po);
  const double ro = Mediana(registroSinSync);
  std::printf("  UPDATE + INSERT de auditoría puros     %9.1f µs\n", ro);
  std::printf("  razón, mismas escrituras puras / UPDATE%9.2fx\n", ro / po);
  std::printf("  razón, Enter / mismas escrituras puras %9.2fx\n", eo / ro);
  return 0;
}
