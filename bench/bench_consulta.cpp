// The lookup window over 100,000 distinct values on the embedded SQLite
// database, each figure against the bare engine work measured in the same
// run, and the typed search over 1,000,000 as well. Prints medians and ratios.
//
//   bench_consulta [vueltas]
//
// A table of 100,000 distinct names, inserted in shuffled order. Each round,
// alternating which goes first:
//   - opening the lookup window (Form_Load and the first paint) on the sheet
//     lookup's kind of statement, "SELECT nombre AS HARINA ... GROUP BY
//     nombre", against the bare forward-only QSqlQuery reading the same rows
//     into a QStringList; the same again on "SELECT nombre ..." without
//     GROUP BY, whose rows arrive unsorted and which the list sorts itself;
//   - the typed search: "valor 099999x" typed key by key into the first
//     search box (a row by row search would walk nearly every row on the
//     last keystrokes, every row on the final "x", which matches none), the
//     slowest keystroke until the window is painted again, against the
//     slowest of the same prefixes scanned bare over a QStringList of the
//     same texts.
// Then the same typed search, "valor 0999999x", over a second table of
// 1,000,000 distinct names, loaded once into the window (its load time and
// peak given too, from that one load), and once more on a statement with its
// own ORDER BY, whose rows the list shows as they come.
// Memory: the heap the loaded window keeps and the peak resident growth during
// its load (VmHWM, reset before), against the raw text of the values (their
// UTF-16 characters, as QString holds them); the peak of the first round is
// given apart, since later rounds reuse what the allocator kept.
// Any question the program asks the operator ends the run with status 3.

#include <malloc.h>

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "lookup/lib_frm_cons3.h"
#include "lookup/lista_consulta.h"
#include "services/carpetas.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"

#include "medicion.h"

namespace {

constexpr int kFilas = 100000;
constexpr int kMillon = 1000000;
const QString kAgrupadaMillon =
    QStringLiteral("SELECT nombre AS HARINA FROM t_millon WHERE nombre<>'' GROUP BY nombre");
const QString kTecleadoMillon = QStringLiteral("valor 0999999x");
// The same rows sorted by the statement: the list keeps them as they come and
// its search reads them in turn.
const QString kOrdenadaMillon = kAgrupadaMillon + QStringLiteral(" ORDER BY nombre");
const QString kAgrupada =
    QStringLiteral("SELECT nombre AS HARINA FROM t_valores WHERE nombre<>'' GROUP BY nombre");
const QString kDesordenada = QStringLiteral("SELECT nombre FROM t_valores");
// The same statement with no row: what the window and the engine cost by
// themselves, without the rows.
const QString kVacia =
    QStringLiteral("SELECT nombre AS HARINA FROM t_valores WHERE nombre = '' GROUP BY nombre");
const QString kTecleado = QStringLiteral("valor 099999x");

QSqlDatabase Base() { return LibDatos::Instancia().Conexion().Base(); }

// Bytes the heap holds now.
double Monton() {
  const struct mallinfo2 info = mallinfo2();
  return double(info.uordblks + info.hblkhd);
}

void Llenar(const QString& tabla, int filas, int cifras) {
  QSqlDatabase base = Base();
  QSqlQuery q(base);
  if (!q.exec(QStringLiteral("CREATE TABLE %1 (nombre VARCHAR(40))").arg(tabla)))
    Abortar(q.lastError().text());
  base.transaction();
  // A multiplier prime to the count shuffles the order the rows are stored in.
  // Built by joining: QString::arg would take printf's "%0" for its own.
  const QString sentencia =
      QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < ") +
      QString::number(filas - 1) + QStringLiteral(") INSERT INTO ") + tabla +
      QStringLiteral(" SELECT printf('Valor %0") + QString::number(cifras) +
      QStringLiteral("d', (i * 7919) % ") + QString::number(filas) + QStringLiteral(") FROM n");
  if (!q.exec(sentencia)) Abortar(q.lastError().text());
  base.commit();
}

struct Carga {
  double ms;
  double monton;  // bytes kept after the load
  double pico;    // peak resident growth, bytes
};

Carga EnVentana(const QString& sql, Lib_FrmCons3* quedarse = nullptr) {
  const double antes = Monton();
  const double residente = MemoriaKb("VmRSS:");
  const bool pico = ReiniciarPico();
  QElapsedTimer reloj;
  reloj.start();
  auto* ventana = quedarse ? quedarse : new Lib_FrmCons3;
  ventana->Sql = sql;
  // A statement that sorts its rows itself is shown as it comes.
  ventana->OrdenarPorLwv = !sql.contains(QLatin1String("ORDER BY"));
  ventana->Form_Load();
  ventana->show();
  QCoreApplication::processEvents();
  const double ms = reloj.nsecsElapsed() / 1e6;
  const Carga carga{ms, Monton() - antes, pico ? (MemoriaKb("VmHWM:") - residente) * 1024 : -1};
  const int filas = sql == kVacia ? 0 : sql.contains(QLatin1String("t_millon")) ? kMillon : kFilas;
  if (ventana->ListView1->ListItemsCount() != filas ||
      (filas > 0 && !ventana->ListView1->Text(0).startsWith(QLatin1String("Valor 000000"))))
    Abortar(QStringLiteral("la ventana no listó las %1 filas en orden").arg(filas));
  if (quedarse) return carga;
  delete ventana;
  QCoreApplication::processEvents();
  return carga;
}

Carga Pura(const QString& sql, QStringList* guardar = nullptr, int esperadas = kFilas) {
  const double antes = Monton();
  const double residente = MemoriaKb("VmRSS:");
  const bool pico = ReiniciarPico();
  QElapsedTimer reloj;
  reloj.start();
  QStringList valores;
  {
    QSqlQuery consulta(Base());
    consulta.setForwardOnly(true);
    if (!consulta.exec(sql)) Abortar(consulta.lastError().text());
    while (consulta.next()) valores.append(consulta.value(0).toString());
  }
  const double ms = reloj.nsecsElapsed() / 1e6;
  const Carga carga{ms, Monton() - antes, pico ? (MemoriaKb("VmHWM:") - residente) * 1024 : -1};
  if (valores.size() != esperadas)
    Abortar(QStringLiteral("la consulta pura leyó %1 filas").arg(valores.size()));
  if (guardar) *guardar = std::move(valores);
  return carga;
}

// The slowest keystroke of the typed text in the window's first box, each
// one until the window has painted what it changed. Milliseconds.
double TecleoEnVentana(Lib_FrmCons3& ventana, const QString& tecleado) {
  QComboBox* caja = ventana.CmbSearch[0];
  caja->setEditText(QString());
  caja->setFocus();
  QCoreApplication::processEvents();
  double peor = 0;
  for (const QChar c : tecleado) {
    QElapsedTimer reloj;
    reloj.start();
    QTest::keyClicks(caja, QString(c));
    QCoreApplication::processEvents();
    peor = std::max(peor, reloj.nsecsElapsed() / 1e6);
  }
  const int elegida = ventana.ListView1->SelectedItem();
  if (elegida < 0 ||
      ventana.ListView1->Text(elegida).compare(tecleado.chopped(1), Qt::CaseInsensitive) != 0)
    Abortar(QStringLiteral("la búsqueda tecleada no eligió la última fila"));
  return peor;
}

// The same prefixes scanned bare over the same texts. Milliseconds.
double TecleoPuro(const QStringList& textos, const QString& tecleado) {
  double peor = 0;
  int hallada = -1;
  for (qsizetype n = 1; n <= tecleado.size(); ++n) {
    const QString prefijo = tecleado.left(n);
    QElapsedTimer reloj;
    reloj.start();
    int fila = -1;
    for (qsizetype i = 0; i < textos.size(); ++i)
      if (QStringView(textos[i]).trimmed().startsWith(prefijo, Qt::CaseInsensitive)) {
        fila = int(i);
        break;
      }
    peor = std::max(peor, reloj.nsecsElapsed() / 1e6);
    if (fila >= 0) hallada = fila;
  }
  if (hallada != textos.size() - 1)
    Abortar(QStringLiteral("el recorrido puro no halló la última fila"));
  return peor;
}

}  // namespace

int main(int argc, char* argv[]) {
  QTemporaryDir carpeta;
  PrepararMedicion("bench_consulta", carpeta);
  QApplication aplicacion(argc, argv);
  const int vueltas = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 9;
  FijarParametros(QStringLiteral("@DbName=%1;@UsuarioLogeado=bench;")
                      .arg(carpeta.filePath(QStringLiteral("consulta.sqlite"))));
  if (!IniciarSesion()) Abortar(QStringLiteral("no se pudo abrir la sesión"));
  Llenar(QStringLiteral("t_valores"), kFilas, 6);

  QStringList textos;
  Pura(kAgrupada, &textos);
  double crudo = 0;
  for (const QString& t : textos) crudo += double(t.size()) * 2;

  std::vector<double> ventanaAgr, puraAgr, ventanaDes, puraDes, teclaVentana, teclaPura;
  std::vector<double> montonVentana, montonPura, picoVentana, picoPura, montonVacia, picoVacia;
  for (int i = 0; i < vueltas; ++i) {
    const Carga vacia = EnVentana(kVacia);
    montonVacia.push_back(vacia.monton);
    picoVacia.push_back(vacia.pico);
    for (const QString& sql : {kAgrupada, kDesordenada}) {
      auto& v = sql == kAgrupada ? ventanaAgr : ventanaDes;
      auto& p = sql == kAgrupada ? puraAgr : puraDes;
      Carga cv{}, cp{};
      if (i % 2 == 0) {
        cv = EnVentana(sql);
        cp = Pura(sql);
      } else {
        cp = Pura(sql);
        cv = EnVentana(sql);
      }
      v.push_back(cv.ms);
      p.push_back(cp.ms);
      if (sql == kAgrupada) {
        montonVentana.push_back(cv.monton);
        montonPura.push_back(cp.monton);
        picoVentana.push_back(cv.pico);
        picoPura.push_back(cp.pico);
      }
    }
  }
  Lib_FrmCons3 ventana;
  ventana.Sql = kAgrupada;
  ventana.OrdenarPorLwv = true;
  ventana.Form_Load();
  ventana.show();
  ventana.activateWindow();
  if (!QTest::qWaitForWindowActive(&ventana)) Abortar(QStringLiteral("la ventana no se activó"));
  for (int i = 0; i < vueltas; ++i) {
    teclaVentana.push_back(TecleoEnVentana(ventana, kTecleado));
    teclaPura.push_back(TecleoPuro(textos, kTecleado));
  }

  // A million: loaded once each way, the window kept for the typing.
  Llenar(QStringLiteral("t_millon"), kMillon, 7);
  QStringList millon;
  const Carga puraMillon = Pura(kAgrupadaMillon, &millon, kMillon);
  double crudoMillon = 0;
  for (const QString& t : millon) crudoMillon += double(t.size()) * 2;
  Lib_FrmCons3 grande;
  const Carga cargaMillon = EnVentana(kAgrupadaMillon, &grande);
  grande.activateWindow();
  if (!QTest::qWaitForWindowActive(&grande)) Abortar(QStringLiteral("la ventana no se activó"));
  std::vector<double> teclaGrande, teclaGrandePura, teclaSentencia;
  for (int i = 0; i < vueltas; ++i) {
    teclaGrande.push_back(TecleoEnVentana(grande, kTecleadoMillon));
    teclaGrandePura.push_back(TecleoPuro(millon, kTecleadoMillon));
  }
  grande.hide();
  Lib_FrmCons3 porSentencia;
  EnVentana(kOrdenadaMillon, &porSentencia);
  porSentencia.activateWindow();
  if (!QTest::qWaitForWindowActive(&porSentencia))
    Abortar(QStringLiteral("la ventana no se activó"));
  for (int i = 0; i < vueltas; ++i)
    teclaSentencia.push_back(TecleoEnVentana(porSentencia, kTecleadoMillon));

  const auto linea = [](const char* nombre, double a, double b, const char* meta) {
    std::printf("  %-44s %9.2f ms\n  %-44s %9.2f ms\n  %-44s %9.2fx  %s\n", "ventana de consulta",
                a, nombre, b, "razón", a / b, meta);
  };
  std::printf("abrir la ventana de consulta sobre %d valores distintos (mediana de %d vueltas)\n",
              kFilas, vueltas);
  std::printf(" GROUP BY, como las consultas de la planilla\n");
  linea("QSqlQuery pura a QStringList", Mediana(ventanaAgr), Mediana(puraAgr), "(meta: <= 3x)");
  std::printf(" sin orden: la lista ordena las filas\n");
  linea("QSqlQuery pura a QStringList", Mediana(ventanaDes), Mediana(puraDes), "(meta: <= 3x)");
  const double mv = Mediana(montonVentana), mp = Mediana(montonPura);
  const double pv = Mediana(picoVentana), pp = Mediana(picoPura);
  std::printf(" memoria (texto crudo: %.2f MB en UTF-16)\n", crudo / 1e6);
  std::printf("  montón retenido, ventana                    %7.2f MB  %5.2fx el texto\n", mv / 1e6,
              mv / crudo);
  std::printf("  montón retenido, QStringList pura           %7.2f MB  %5.2fx el texto\n", mp / 1e6,
              mp / crudo);
  std::printf(
      "  pico residente durante la carga, ventana    %7.2f MB  %5.2fx el texto  (meta: <= 2x)\n",
      pv / 1e6, pv / crudo);
  std::printf("  pico residente durante la carga, pura       %7.2f MB  %5.2fx el texto\n", pp / 1e6,
              pp / crudo);
  const double mf = Mediana(montonVacia), pf = Mediana(picoVacia);
  std::printf("  ventana sin filas (controles y motor)       %7.2f MB retenidos, %.2f MB de pico\n",
              mf / 1e6, pf / 1e6);
  std::printf("  las filas en la ventana, retenido           %7.2f MB  %5.2fx el texto\n",
              (mv - mf) / 1e6, (mv - mf) / crudo);
  std::printf(
      "  las filas en la ventana, pico               %7.2f MB  %5.2fx el texto  (meta: <= 2x)\n",
      (pv - pf) / 1e6, (pv - pf) / crudo);
  std::printf(
      "  pico de la primera vuelta, ventana          %7.2f MB  %5.2fx el texto  (meta: <= 2x)\n\n",
      picoVentana.front() / 1e6, picoVentana.front() / crudo);
  std::printf("búsqueda tecleada «%s», la tecla más lenta (mediana de %d vueltas)\n",
              qPrintable(kTecleado), vueltas);
  const double tv = Mediana(teclaVentana), tp = Mediana(teclaPura);
  std::printf("  ventana de consulta                          %9.3f ms  (meta: < 16 ms)\n", tv);
  std::printf("  recorrido puro de prefijos sobre QStringList %9.3f ms\n", tp);
  std::printf("  razón                                        %9.2fx\n\n", tv / tp);

  std::printf("%d valores distintos, cargados una vez (texto crudo: %.2f MB en UTF-16)\n", kMillon,
              crudoMillon / 1e6);
  std::printf(
      "  abrir la ventana                             %9.2f ms  (pico %.2f MB, %.2fx el texto)\n",
      cargaMillon.ms, cargaMillon.pico / 1e6, cargaMillon.pico / crudoMillon);
  std::printf("  QSqlQuery pura a QStringList                 %9.2f ms  (pico %.2f MB)\n",
              puraMillon.ms, puraMillon.pico / 1e6);
  std::printf("búsqueda tecleada «%s», la tecla más lenta (mediana de %d vueltas)\n",
              qPrintable(kTecleadoMillon), vueltas);
  const double gv = Mediana(teclaGrande), gp = Mediana(teclaGrandePura);
  std::printf("  ventana de consulta                          %9.3f ms  (meta: < 16 ms)\n", gv);
  std::printf("  recorrido puro de prefijos sobre QStringList %9.3f ms\n", gp);
  std::printf("  razón                                        %9.2fx\n", gv / gp);
  const double sv = Mediana(teclaSentencia);
  std::printf("  filas ordenadas por la sentencia (ORDER BY)  %9.3f ms  (meta: < 16 ms)\n", sv);
  return 0;
}
