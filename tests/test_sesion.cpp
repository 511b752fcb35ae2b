// The session start: parameter reading, the INI setting, the connection, the
// lookup definitions file, the configuration values and window dressing.

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTest>
#include <QToolButton>
#include <QWidget>

#include "lookup/lib_cls_cons3.h"
#include "services/carpetas.h"
#include "services/lib_datos.h"
#include "report/lib_reportes.h"
#include "services/util_kor.h"
#include "session/aspecto.h"
#include "session/configuracion.h"
#include "session/estado_sesion.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "lookup/mascaras_consultas.h"
#include "session/parametros_inicio.h"
#include "soporte/entorno_prueba.h"

class PruebaSesion : public QObject {
  Q_OBJECT

 private slots:
  void leerParametro_data();
  void leerParametro();
  void quitarPrefijoServidor();
  void iniciarSesion();
  void flatToolbars_data();
  void flatToolbars();
  void sinConexionElProgramaTermina();
  void parametrosVaciosUsanLaBaseIncorporada();
  void conexionAbiertaNoLeeParametros();
  void mascarasNuevasByteAByte();
  void mascarasExistentesNoSeTocan();
  void carpetaSinEscrituraUsaLaDeDatos_data();
  void carpetaSinEscrituraUsaLaDeDatos();
  void valorConfiguracion();
  void valorConfiguracionSinTablaElegida();
  void valorConfiguracionFallaReportaCfg();
  void aspecto();
};

void PruebaSesion::leerParametro_data() {
  QTest::addColumn<QString>("parametros");
  QTest::addColumn<QString>("clave");
  QTest::addColumn<QString>("esperado");
  const QString completo =
      QStringLiteral("@Server=PC1/SQL1;@DbName=PLANTA;@Usuario=lab;@UsuarioLogeado=ana;");
  QTest::newRow("server") << completo << "@Server"
                          << "PC1/SQL1";
  QTest::newRow("dbname") << completo << "@DbName"
                          << "PLANTA";
  QTest::newRow("usuario") << completo << "@Usuario"
                           << "lab";
  QTest::newRow("logeado") << completo << "@UsuarioLogeado"
                           << "ana";
  QTest::newRow("password ausente") << completo << "@Password"
                                    << "";
  QTest::newRow("blancos") << "@dbname= PLANTA ;"
                           << "@DbName"
                           << "PLANTA";
  QTest::newRow("sin valor") << "@Server;"
                             << "@Server"
                             << "";
  QTest::newRow("iguales quitados") << "@DbName=PLANTA=2;"
                                    << "@DbName"
                                    << "PLANTA2";
  QTest::newRow("mayusculas") << "@USUARIO=lab;"
                              << "@Usuario"
                              << "lab";
  QTest::newRow("sin punto y coma final") << "@DbName=PLANTA;@Usuario=lab"
                                          << "@Usuario"
                                          << "";
  QTest::newRow("vacio") << ""
                         << "@Server"
                         << "";
  QTest::newRow("barra sola") << "@Server=/;"
                              << "@Server"
                              << "/";
  // A key is matched only as a whole item key: "@Usuario" is not read out of
  // "@UsuarioLogeado", whatever their order.
  QTest::newRow("logeado primero: usuario") << "@UsuarioLogeado=ana;@Usuario=lab;"
                                            << "@Usuario"
                                            << "lab";
  QTest::newRow("logeado primero: logeado") << "@UsuarioLogeado=ana;@Usuario=lab;"
                                            << "@UsuarioLogeado"
                                            << "ana";
  QTest::newRow("solo logeado") << "@UsuarioLogeado=ana;"
                                << "@Usuario"
                                << "";
  QTest::newRow("clave con blancos") << "@DbName=X; @Usuario = lab ;"
                                     << "@Usuario"
                                     << "lab";
  QTest::newRow("extra ignorado") << "@Menu=3;@Caja=1;@ParametroAdicional=@Server=x;"
                                  << "@Server"
                                  << "";
  QTest::newRow("basura") << ";;==;@;"
                          << "@DbName"
                          << "";
}

void PruebaSesion::leerParametro() {
  QFETCH(QString, parametros);
  QFETCH(QString, clave);
  QFETCH(QString, esperado);
  QCOMPARE(LeerParametro(clave, parametros), esperado);
}

void PruebaSesion::quitarPrefijoServidor() {
  QCOMPARE(QuitarPrefijoServidor("PC1/SQL1"), QStringLiteral("SQL1"));
  QCOMPARE(QuitarPrefijoServidor("SQL1"), QStringLiteral("SQL1"));
  QCOMPARE(QuitarPrefijoServidor("PC1/"), QString());
  QCOMPARE(QuitarPrefijoServidor("a/b/c"), QStringLiteral("b/c"));
}

void PruebaSesion::iniciarSesion() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QVERIFY(entorno.Iniciar(QStringLiteral("Marta Giménez")));
  LibDatos& datos = LibDatos::Instancia();
  QVERIFY(datos.Conectado());
  QCOMPARE(datos.Conexion().CommandTimeout(), 360);
  QCOMPARE(gUsuarioLogeado, QStringLiteral("Marta Giménez"));
  QCOMPARE(gFlatToolbars, 1.0);
  const QString aplicacion = entorno.CarpetaPrograma() + QLatin1Char('/');
  QCOMPARE(LibReportes::Instancia().RutaAplicacion, aplicacion);
  QVERIFY(gConsulta().gUsarMascarasConsultas);
  QCOMPARE(gConsulta().gRutaMascaraConsultas, aplicacion + QStringLiteral("consultas.qvx"));
  QCOMPARE(QFileInfo(gConsulta().gRutaMascaraConsultas).size(), qint64(8414));
  QCOMPARE(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
  QCOMPARE(ValorConfiguracion(QStringLiteral("NOMBRE")), QStringLiteral("Laboratorio de Calidad"));
  QCOMPARE(entorno.operador().preguntas.size(), 0);
}

void PruebaSesion::flatToolbars_data() {
  QTest::addColumn<QString>("ini");
  QTest::addColumn<double>("esperado");
  QTest::newRow("ausente") << "" << 1.0;
  QTest::newRow("cero") << "[LABORATORIO|HARINA]\nFlatToolbars=0\n" << 0.0;
  QTest::newRow("otra letra") << "[laboratorio|harina]\nflattoolbars=0\n" << 0.0;
  QTest::newRow("texto") << "[LABORATORIO|HARINA]\nFlatToolbars=plano\n" << 0.0;
  QTest::newRow("basura alrededor") << "\x01\x02 ruido\n[LABORATORIO|HARINA\nFlatToolbars=0\n"
                                    << 1.0;
}

void PruebaSesion::flatToolbars() {
  QFETCH(QString, ini);
  QFETCH(double, esperado);
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  entorno.EscribirIni(ini);
  QVERIFY(entorno.Iniciar());
  QCOMPARE(gFlatToolbars, esperado);
}

void PruebaSesion::sinConexionElProgramaTermina() {
  EntornoPrueba entorno;
  // The server item names a host and port where nothing answers.
  entorno.EscribirIni("[Datos]\nPuerto=1\n");
  FijarParametros(
      QStringLiteral("@Server=PC1/127.0.0.1;@DbName=PLANTA;@Usuario=lab;@Password=clave-secreta;"
                     "@UsuarioLogeado=ana;"));
  QVERIFY(!IniciarSesion());
  QVERIFY(!LibDatos::Instancia().Conectado());
  QCOMPARE(LibDatos::Instancia().Servidor, QStringLiteral("127.0.0.1"));
  QCOMPARE(entorno.operador().preguntas.size(), 1);
  QVERIFY(!entorno.operador().preguntas.first().texto.contains(QStringLiteral("clave-secreta")));
  // Nothing after the connection ran.
  QVERIFY(!QFile::exists(entorno.CarpetaPrograma() + "/consultas.qvx"));
}

void PruebaSesion::parametrosVaciosUsanLaBaseIncorporada() {
  EntornoPrueba entorno;
  if (entorno.EsPostgresql()) QSKIP("the embedded database is the SQLite run's");
  FijarParametros(QString());
  QVERIFY(IniciarSesion());
  LibDatos& datos = LibDatos::Instancia();
  QVERIFY(datos.Conectado());
  QCOMPARE(datos.BaseDeDatos, QStringLiteral("laboratorio"));
  QVERIFY(QFile::exists(entorno.Carpeta() + "/datos/analisis-harina/laboratorio.sqlite"));
  QCOMPARE(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
  // A confirmed edit must survive a crash: write-ahead log, synchronous writes.
  Recordset modo = datos.Conexion().Execute("PRAGMA journal_mode");
  QCOMPARE(modo.Fields(0).Value.toString(), QStringLiteral("wal"));
  Recordset sincronia = datos.Conexion().Execute("PRAGMA synchronous");
  QCOMPARE(sincronia.Fields(0).Value.toInt(), 2);  // FULL
  QVERIFY(gUsuarioLogeado.isEmpty());
}

void PruebaSesion::conexionAbiertaNoLeeParametros() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QVERIFY(entorno.Iniciar(QStringLiteral("ana")));
  gUsuarioLogeado.clear();
  gTablaConfiguracion.clear();
  FijarParametros(QStringLiteral("@DbName=otra;@UsuarioLogeado=luis;"));
  QVERIFY(IniciarSesion());
  QVERIFY(gUsuarioLogeado.isEmpty());
  QVERIFY(LibDatos::Instancia().BaseDeDatos != QStringLiteral("otra"));
  // The steps after the connection still ran.
  QCOMPARE(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
}

void PruebaSesion::mascarasNuevasByteAByte() {
  EntornoPrueba entorno;
  gConsulta().gRutaMascaraConsultas = entorno.Carpeta() + "/consultas.qvx";
  CrearMascarasConsultas(gConsulta().gRutaMascaraConsultas);
  QFile archivo(gConsulta().gRutaMascaraConsultas);
  QVERIFY(archivo.open(QIODevice::ReadOnly));
  const QByteArray bytes = archivo.readAll();
  QCOMPARE(bytes.size(), 8414);

  const auto campo = [](const char* texto, int ancho) {
    return QByteArray(texto).leftJustified(ancho, ' ');
  };
  const QByteArray primero = campo("ARTICULOS", 100) + campo("V_MA_ARTICULOS", 100) +
                             campo("|DESCRIPCION|IDARTICULO|", 500) + campo("", 500) + "\r\n";
  QCOMPARE(bytes.left(1202), primero);
  const char* esperados[][3] = {
      {"ARTICULOS", "V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|"},
      {"CLIENTES", "VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|CONTACTO|"},
      {"PROVEEDORES", "VT_PROVEEDORES", "|RAZON_SOCIAL|CODIGO|"},
      {"CONTACTOS", "MA_CONTACTOS", "|Nombre_y_Apellido|Domicilio|Localidad|Telefono|"},
      {"VENDEDORES", "V_TA_VENDEDORES", "|NOMBRE|IDVENDEDOR|"},
      {"TECNICOS", "V_TA_TECNICOS", "|NOMBRE|IDTECNICO|"},
      {"MANTENIMIENTOS", "V_MA_MANTENIMIENTOS", "|DESCRIPCION|CODIGO|"},
  };
  for (int n = 0; n < 7; ++n) {
    const QByteArray registro = bytes.mid(n * 1202, 1202);
    QCOMPARE(registro.mid(0, 100), campo(esperados[n][0], 100));
    QCOMPARE(registro.mid(100, 100), campo(esperados[n][1], 100));
    QCOMPARE(registro.mid(200, 500), campo(esperados[n][2], 500));
    QCOMPARE(registro.mid(700, 500), campo("", 500));
    QCOMPARE(registro.right(2), QByteArray("\r\n"));
  }
}

void PruebaSesion::mascarasExistentesNoSeTocan() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QFile propio(entorno.CarpetaPrograma() + "/consultas.qvx");
  QVERIFY(EntornoPrueba::EscribirArchivo(propio.fileName(), QByteArray("corto\0\xFF", 7)));
  QVERIFY(entorno.Iniciar());
  QVERIFY(propio.open(QIODevice::ReadOnly));
  QCOMPARE(propio.readAll(), QByteArray("corto\0\xFF", 7));
}

void PruebaSesion::carpetaSinEscrituraUsaLaDeDatos_data() {
  QTest::addColumn<bool>("instalado");
  // A program folder that cannot hold a new file (here: it is not a folder).
  QTest::newRow("solo lectura") << false;
  // An installed program's folder (/usr/bin beside /usr/share/analisis-harina),
  // which root could write to.
  QTest::newRow("instalado") << true;
}

void PruebaSesion::carpetaSinEscrituraUsaLaDeDatos() {
  QFETCH(bool, instalado);
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QString programa = entorno.Carpeta() + "/programa-de-solo-lectura";
  if (instalado) {
    programa = entorno.Carpeta() + "/raiz/usr/bin";
    QVERIFY(QDir().mkpath(programa));
    QVERIFY(QDir().mkpath(entorno.Carpeta() + "/raiz/usr/share/analisis-harina"));
    QVERIFY(carpetas::SePuedeEscribir(programa));
  } else {
    QVERIFY(EntornoPrueba::EscribirArchivo(programa, QByteArray()));
  }
  carpetas::FijarCarpetaDelPrograma(programa);
  QVERIFY(entorno.Iniciar());
  const QString datos = entorno.Carpeta() + "/datos/analisis-harina/";
  QCOMPARE(gConsulta().gRutaMascaraConsultas, datos + "consultas.qvx");
  QVERIFY(QFile::exists(gConsulta().gRutaMascaraConsultas));
  QCOMPARE(LibReportes::Instancia().RutaAplicacion, datos);
  QCOMPARE(gTablaConfiguracion, QStringLiteral("ta_configuracion"));
  if (instalado) QCOMPARE(QDir(programa).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), {});
}

void PruebaSesion::valorConfiguracion() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QVERIFY(entorno.Iniciar());
  entorno.Ejecutar("INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('TopConsArt', '  500 ')");
  entorno.Ejecutar("INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('Stk_Nivel1', NULL)");
  entorno.Ejecutar("INSERT INTO ta_configuracion (CLAVE, VALOR) VALUES ('Doble', 'primero')");
  QCOMPARE(ValorConfiguracion("NOMBRE"), QStringLiteral("Laboratorio de Calidad"));
  QCOMPARE(ValorConfiguracion(" NOMBRE "), QStringLiteral("Laboratorio de Calidad"));
  QCOMPARE(ValorConfiguracion("NoExiste"), QStringLiteral(" "));
  QCOMPARE(ValorConfiguracion("Stk_Nivel1"), QString());
  QCOMPARE(ValorConfiguracion("TopConsArt"), QStringLiteral("  500 "));
  QCOMPARE(ValorConfiguracion("Doble"), QStringLiteral("primero"));
  QCOMPARE(entorno.operador().preguntas.size(), 0);
}

void PruebaSesion::valorConfiguracionSinTablaElegida() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QVERIFY(entorno.Iniciar());
  gTablaConfiguracion = QStringLiteral("  ");
  QCOMPARE(ValorConfiguracion("NOMBRE"), QStringLiteral("Laboratorio de Calidad"));
  QCOMPARE(gTablaConfiguracion, QStringLiteral("TA_CONFIGURACION"));
}

void PruebaSesion::valorConfiguracionFallaReportaCfg() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QVERIFY(entorno.Iniciar());
  gTablaConfiguracion = QStringLiteral("tabla_que_no_existe");
  // 4 is not a retry here: the read gives up at once, with an empty text.
  entorno.operador().respuestasError.enqueue(4);
  QCOMPARE(ValorConfiguracion("NOMBRE"), QString());
  QCOMPARE(entorno.operador().preguntas.size(), 1);
  QVERIFY(entorno.operador().preguntas.first().texto.contains(QStringLiteral("Cfg")));
  // 5 goes on with a recordset that never opened: reading it fails too, and
  // the value not read stays empty.
  entorno.operador().respuestasError.enqueue(5);
  entorno.operador().respuestasError.enqueue(5);
  QCOMPARE(ValorConfiguracion("NOMBRE"), QString());
  QCOMPARE(entorno.operador().preguntas.size(), 3);
  QCOMPARE(entorno.operador().sinGuion, 0);
}

void PruebaSesion::aspecto() {
  EntornoPrueba entorno;
  QWidget ventana;
  auto* barra = new UtilKor(&ventana);
  barra->setObjectName("UtilKor1");
  const auto boton = [&] { return barra->findChild<QToolButton*>("NUEVO"); };

  // No icon of that name: the window keeps none of its own, and no
  // quorvex.ico in the working folder: it stays so, without a message.
  entorno.EscribirIni("[Iconos]\nIconoDelSistema=NOEXISTE\n");
  gFlatToolbars = 0;
  AplicarAspecto(&ventana);
  QVERIFY(ventana.windowIcon().isNull());
  QVERIFY(!boton()->autoRaise());

  entorno.EscribirIni("[Iconos]\nIconoDelSistema=harina\n");
  gFlatToolbars = 1;
  AplicarAspecto(&ventana);
  QVERIFY(!ventana.windowIcon().isNull());
  QVERIFY(boton()->autoRaise());
  QCOMPARE(entorno.operador().preguntas.size(), 0);
}

QTEST_MAIN(PruebaSesion)
#include "test_sesion.moc"
