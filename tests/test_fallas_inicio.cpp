// The session start on a database file that is missing, foreign, read-only,
// on a full disk or named with a port that is no number; and a report's PDF
// that cannot be written. The faults are made on purpose: as root a small
// temporary file system (mounted read-only, or filled up), elsewhere the
// permission bits.

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QProcess>
#include <QSqlQuery>
#include <QTest>
#include <QWidget>

#include "services/falla.h"
#include "services/guardar_pdf.h"
#include "services/lib_datos.h"
#include "report/lib_reportes.h"
#include "session/aspecto.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "soporte/entorno_prueba.h"

namespace {

// A small file system of its own, mounted while the object lives (root only).
class Montaje {
 public:
  Montaje(const QString& carpeta, const QString& tamano) : carpeta_(carpeta) {
    QDir().mkpath(carpeta);
    montado_ = ::geteuid() == 0 &&
               QProcess::execute(
                   QStringLiteral("mount"),
                   {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                    QStringLiteral("size=") + tamano, QStringLiteral("tmpfs"), carpeta}) == 0;
  }
  ~Montaje() {
    if (montado_) QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), carpeta_});
  }
  bool Montado() const { return montado_; }
  bool SoloLectura() {
    return QProcess::execute(QStringLiteral("mount"),
                             {QStringLiteral("-o"), QStringLiteral("remount,ro"), carpeta_}) == 0;
  }
  // Fills the file system up to its last byte.
  void Llenar() {
    QFile relleno(carpeta_ + QStringLiteral("/relleno"));
    relleno.open(QIODevice::WriteOnly);
    const QByteArray bloque(4096, 'x');
    while (relleno.write(bloque) == bloque.size() && relleno.flush()) {
    }
    const QByteArray byte(1, 'x');
    while (relleno.write(byte) == 1 && relleno.flush()) {
    }
  }

 private:
  QString carpeta_;
  bool montado_ = false;
};

QString Mensajes(EntornoPrueba& e) {
  QStringList textos;
  for (const Pregunta& p : e.operador().preguntas)
    textos << p.tipo + QStringLiteral(": ") + p.texto;
  return textos.join(QLatin1Char('\n'));
}

bool IniciarEn(const QString& ruta) {
  FijarParametros(QStringLiteral("@DbName=%1;@UsuarioLogeado=ana;").arg(ruta));
  return IniciarSesion();
}

}  // namespace

class PruebaFallasInicio : public QObject {
  Q_OBJECT

 private slots:
  void baseQueFaltaSePreguntaSiSeUsoAntes();
  void archivoAjenoNoSeToca();
  void archivoDeSoloLecturaSeAbrePeroNoSeEscribe();
  void discoLlenoAlCrearNoDejaArchivo();
  void puertoQueNoEsNumero();
  void pdfQueNoSePuedeEscribir();
  void reporteASalidaDiceDonde();
};

void PruebaFallasInicio::baseQueFaltaSePreguntaSiSeUsoAntes() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString ruta = e.Carpeta() + QStringLiteral("/disco/lab.sqlite");
  // The first start creates the lab's database without a question.
  QVERIFY(IniciarEn(ruta));
  QCOMPARE(e.operador().preguntas.size(), 0);
  LibDatos::Instancia().Desconectar();

  // The disk is not there at the next start: the operator is asked, and No
  // ends the program without making a file.
  QVERIFY(QDir(e.Carpeta() + QStringLiteral("/disco")).removeRecursively());
  e.operador().confirmaciones.enqueue(false);
  QVERIFY(!IniciarEn(ruta));
  QCOMPARE(e.operador().preguntas.size(), 1);
  QCOMPARE(e.operador().preguntas[0].tipo, QStringLiteral("confirmar"));
  QVERIFY(e.operador().preguntas[0].texto.contains(ruta));
  QVERIFY(!QFile::exists(ruta));

  // Yes makes a new, empty one.
  e.operador().confirmaciones.enqueue(true);
  QVERIFY(IniciarEn(ruta));
  QVERIFY(QFile::exists(ruta));
}

void PruebaFallasInicio::archivoAjenoNoSeToca() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString ruta = e.Carpeta() + QStringLiteral("/clientes.db");
  {
    QSqlDatabase ajena =
        QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("ajena"));
    ajena.setDatabaseName(ruta);
    QVERIFY(ajena.open());
    QVERIFY(QSqlQuery(ajena).exec(QStringLiteral("CREATE TABLE clientes (nombre TEXT)")));
    ajena.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("ajena"));
  const QByteArray antes = [&] {
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
  }();

  QVERIFY(!IniciarEn(ruta));
  const QString texto = Mensajes(e);
  QVERIFY2(texto.contains(ruta) && texto.contains(QStringLiteral("clientes")) &&
               texto.contains(QStringLiteral("no es una base de datos del laboratorio")),
           qPrintable(texto));
  QFile despues(ruta);
  QVERIFY(despues.open(QIODevice::ReadOnly));
  QCOMPARE(despues.readAll(), antes);
}

void PruebaFallasInicio::archivoDeSoloLecturaSeAbrePeroNoSeEscribe() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString carpeta = e.Carpeta() + QStringLiteral("/solo");
  const QString ruta = carpeta + QStringLiteral("/lab.sqlite");
  Montaje montaje(carpeta, QStringLiteral("4m"));
  QVERIFY(IniciarEn(ruta));
  LibDatos::Instancia().Ejecutar(QStringLiteral(
      "INSERT INTO v_mv_zentalia (Fecha, responsable) VALUES ('2004-03-15 00:00:00', 'ana')"));
  LibDatos::Instancia().Desconectar();
  if (montaje.Montado()) {
    QVERIFY(montaje.SoloLectura());
  } else {
    QFile::setPermissions(ruta, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    if (QFileInfo(ruta).isWritable()) QSKIP("Este usuario escribe aunque el archivo lo prohíba.");
  }

  QVERIFY(IniciarEn(ruta));
  QVERIFY2(e.operador().preguntas.isEmpty(), qPrintable(Mensajes(e)));
  QVERIFY(LibDatos::Instancia().SoloLectura());
  Recordset filas = LibDatos::Instancia().Conexion().Execute(
      QStringLiteral("SELECT responsable FROM v_mv_zentalia"));
  QCOMPARE(filas.Valor(0).toString(), QStringLiteral("ana"));
  filas.Close();
  try {
    LibDatos::Instancia().Ejecutar(QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 1"));
    QFAIL("Una base de solo lectura aceptó un cambio.");
  } catch (const Falla& falla) {
    QCOMPARE(falla.Codigo(), int(Falla::kSoloLectura));
    QVERIFY2(falla.Mensaje().contains(QStringLiteral("solo para lectura")) &&
                 falla.Mensaje().contains(QStringLiteral("No se guardó nada")),
             qPrintable(falla.Mensaje()));
  }
  QWidget ventana;
  ventana.setWindowTitle(QStringLiteral("ANÁLISIS DE HARINA"));
  AplicarAspecto(&ventana);
  QVERIFY2(ventana.windowTitle().contains(QStringLiteral("solo lectura")),
           qPrintable(ventana.windowTitle()));
  LibDatos::Instancia().Desconectar();
}

void PruebaFallasInicio::discoLlenoAlCrearNoDejaArchivo() {
  EntornoPrueba e;
  if (e.EsPostgresql()) QSKIP("Un archivo de base solo lo tiene SQLite.");
  const QString carpeta = e.Carpeta() + QStringLiteral("/lleno");
  Montaje montaje(carpeta, QStringLiteral("64k"));
  if (!montaje.Montado()) QSKIP("Llenar un disco de prueba requiere montar uno (root).");
  montaje.Llenar();
  const QString ruta = carpeta + QStringLiteral("/lab.sqlite");
  QVERIFY(!IniciarEn(ruta));
  const QString texto = Mensajes(e);
  QVERIFY2(texto.contains(QStringLiteral("No queda espacio")) && texto.contains(ruta) &&
               !texto.contains(QStringLiteral("no es una base de datos del laboratorio")),
           qPrintable(texto));
  QVERIFY(!QFile::exists(ruta));
  QVERIFY(!QFile::exists(ruta + QStringLiteral("-wal")));
}

void PruebaFallasInicio::puertoQueNoEsNumero() {
  EntornoPrueba e;
  e.EscribirIni(QStringLiteral("[Datos]\nMotor=postgresql\nPuerto=abc\n"));
  FijarParametros(QStringLiteral("@Server=127.0.0.1;@DbName=x;@Usuario=u;@UsuarioLogeado=ana;"));
  QVERIFY(!IniciarSesion());
  const QString texto = Mensajes(e);
  QVERIFY2(
      texto.contains(QStringLiteral("«abc»")) && texto.contains(QStringLiteral("no es un número")),
      qPrintable(texto));
}

void PruebaFallasInicio::pdfQueNoSePuedeEscribir() {
  EntornoPrueba e;
  const auto pintar = [](QPagedPaintDevice& pdf) {
    QPainter pintor(&pdf);
    pintor.drawText(100, 100, QString(20000, QLatin1Char('x')));
    return true;
  };
  const QPageLayout pagina(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF());
  // A folder that cannot be made: its place is taken by a file.
  QVERIFY(EntornoPrueba::EscribirArchivo(e.Carpeta() + QStringLiteral("/archivo"), "x"));
  const QString ruta = e.Carpeta() + QStringLiteral("/archivo/reporte.pdf");
  try {
    GuardarPdf(ruta, pagina, QStringLiteral("Reporte"), pintar);
    QFAIL("Se guardó un PDF en una carpeta que no puede existir.");
  } catch (const Falla& falla) {
    QCOMPARE(falla.Codigo(), int(Falla::kArchivo));
    QVERIFY2(falla.Mensaje().contains(ruta), qPrintable(falla.Mensaje()));
  }

  Montaje montaje(e.Carpeta() + QStringLiteral("/lleno"), QStringLiteral("64k"));
  if (!montaje.Montado()) QSKIP("Llenar un disco de prueba requiere montar uno (root).");
  montaje.Llenar();
  QFile::remove(e.Carpeta() + QStringLiteral("/lleno/relleno"));
  QVERIFY(EntornoPrueba::EscribirArchivo(e.Carpeta() + QStringLiteral("/lleno/relleno"),
                                         QByteArray(60 * 1024, 'x')));
  const QString llena = e.Carpeta() + QStringLiteral("/lleno/reporte.pdf");
  try {
    const QString grande = QString(200000, QLatin1Char('y'));
    GuardarPdf(llena, pagina, QStringLiteral("Reporte"), [&](QPagedPaintDevice& pdf) {
      QPainter pintor(&pdf);
      for (int i = 0; i < 40; ++i) {
        pintor.drawText(100, 100, grande);
        pdf.newPage();
      }
      return true;
    });
    QFAIL("Se guardó un PDF en un disco lleno.");
  } catch (const Falla& falla) {
    QCOMPARE(falla.Codigo(), int(Falla::kArchivo));
    QVERIFY2(falla.Mensaje().contains(llena), qPrintable(falla.Mensaje()));
  }
  QVERIFY(!QFile::exists(llena));
}

void PruebaFallasInicio::reporteASalidaDiceDonde() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  e.EscribirIni(QStringLiteral("[Reportes]\nSalida=salida/reporte.pdf\n"));
  QVERIFY(e.Iniciar());
  LibReportes& reportes = LibReportes::Instancia();
  QString f1, f2, f3;
  QVERIFY(
      reportes.EmitirReporte(QStringLiteral("Rp_ZENTALIA"), {}, QString(), QString(), f1, f2, f3));
  const QString ruta = e.CarpetaPrograma() + QStringLiteral("/salida/reporte.pdf");
  QVERIFY(QFile::exists(ruta));
  QCOMPARE(e.operador().preguntas.size(), 0);
  QCOMPARE(e.operador().informes.size(), 1);
  QVERIFY2(e.operador().informes[0].contains(ruta), qPrintable(e.operador().informes[0]));
}

QTEST_MAIN(PruebaFallasInicio)
#include "test_fallas_inicio.moc"
