// Start-up to the idle window, against the floor of a bare QMainWindow holding
// one QTableWidget, each measured as a whole process (Qt's own start-up
// included) in the same run. Prints the median of each and their ratio.
//
//   bench_arranque [vueltas]
//
// The program runs itself as a child in one of two modes:
//   --hijo ventana PARAMETROS   the sheet window on the session's database
//   --hijo piso                 the bare window
// Each child quits as soon as its window is exposed.

#include <QApplication>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "session/linea_de_comandos.h"
#include "sheet/frm_harina.h"

#include "medicion.h"

namespace {

void EsperarExpuesta(QWidget& ventana) {
  ventana.show();
  while (!ventana.windowHandle() || !ventana.windowHandle()->isExposed())
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  QCoreApplication::processEvents();
}

int Hijo(int argc, char* argv[]) {
  QApplication aplicacion(argc, argv);
  const QString modo = QString::fromLocal8Bit(argv[2]);
  if (modo == QLatin1String("piso")) {
    QMainWindow ventana;
    auto* tabla = new QTableWidget(30, 12, &ventana);
    ventana.setCentralWidget(tabla);
    ventana.resize(1100, 640);
    EsperarExpuesta(ventana);
    return 0;
  }
  FijarParametros(QString::fromLocal8Bit(argv[3]));
  frmHarina ventana;
  if (!ventana.Form_Load()) return 1;
  EsperarExpuesta(ventana);
  return 0;
}

double Correr(const QString& programa, const QStringList& argumentos) {
  QElapsedTimer reloj;
  reloj.start();
  QProcess hijo;
  hijo.start(programa, argumentos);
  if (!hijo.waitForFinished(60000) || hijo.exitCode() != 0) {
    std::fprintf(stderr, "el hijo %s falló: %s\n", qPrintable(argumentos.join(' ')),
                 hijo.readAllStandardError().constData());
    std::exit(1);
  }
  return reloj.nsecsElapsed() / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc >= 3 && QByteArray(argv[1]) == "--hijo") return Hijo(argc, argv);

  QCoreApplication aplicacion(argc, argv);
  const int vueltas = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 15;
  QTemporaryDir carpeta;
  qputenv("XDG_DATA_HOME", carpeta.filePath("datos").toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", carpeta.filePath("config").toLocal8Bit());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  const QString programa = QCoreApplication::applicationFilePath();
  const QStringList ventana{"--hijo", "ventana",
                            "@DbName=" + carpeta.filePath("lab.sqlite") + ";@UsuarioLogeado=ana;"};
  const QStringList piso{"--hijo", "piso"};

  Correr(programa, ventana);  // creates the database and warms the caches
  Correr(programa, piso);
  std::vector<double> tiemposVentana;
  std::vector<double> tiemposPiso;
  for (int i = 0; i < vueltas; ++i) {
    tiemposVentana.push_back(Correr(programa, ventana));
    tiemposPiso.push_back(Correr(programa, piso));
  }
  const double v = Mediana(tiemposVentana);
  const double p = Mediana(tiemposPiso);
  std::printf("arranque hasta la ventana ociosa (mediana de %d procesos)\n", vueltas);
  std::printf("  frmHarina sobre SQLite        %8.1f ms\n", v);
  std::printf("  QMainWindow + QTableWidget    %8.1f ms\n", p);
  std::printf("  razón                         %8.2fx  (meta: <= 1.2x)\n", v / p);
  return 0;
}
