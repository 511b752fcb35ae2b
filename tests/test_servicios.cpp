// The service library: the engines' statements, number formatting, the INI
// reader, the text helpers, the failure conventions and the command bar.

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSqlQuery>
#include <QStyle>
#include <QTest>
#include <QToolButton>

#include "services/convenciones.h"
#include "services/dialecto.h"
#include "services/idioma.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/lib_ini.h"
#include "services/lib_util.h"
#include "services/teclas.h"
#include "services/util_kor.h"
#include "soporte/entorno_prueba.h"

Q_DECLARE_METATYPE(Motor)

class PruebaServicios : public QObject {
  Q_OBJECT

 private slots:
  void dialecto_data();
  void dialecto();
  void textoMomentoComoElIsoDeQt_data();
  void textoMomentoComoElIsoDeQt();
  void contieneEncuentraLiteralmente();
  void formatoSql_data();
  void formatoSql();
  void numerosDelBordeGuardadosTalCual();
  void ini_data();
  void ini();
  void iniSeLeeDelProgramaYLuegoDeConfiguracion();
  void ayudasDeTexto();
  void filtroDeTeclas();
  void avanzarSaltaLoQueNoSePuedeEnfocar();
  void pasosReportados_data();
  void pasosReportados();
  void barraDeComandos();
  void iconosDeLaBarra_data();
  void iconosDeLaBarra();
  void textosDeQtEnCastellano();
  void recordsetYExisteCampo();
  void conexionFallidaNoMuestraLaClave();
};

void PruebaServicios::dialecto_data() {
  QTest::addColumn<Motor>("motor");
  QTest::addColumn<QString>("obtenido");
  QTest::addColumn<QString>("esperado");
  const QDateTime momento(QDate(2004, 3, 15), QTime(8, 30, 5));
  struct Caso {
    const char* nombre;
    Motor motor;
    QString esperado[10];
  };
  const Caso casos[] = {
      {"sqlserver",
       Motor::SqlServer,
       {"[Horario]", "[Tipo de Harina]", "SELECT TOP 500 * FROM t ORDER BY a",
        "DELETE v_mv_zentalia WHERE ID = 7", "20040315 08:30:05", "SELECT @@IDENTITY", "'O''Brien'",
        "", "20040305", "20040305"}},
      {"sqlite",
       Motor::Sqlite,
       {"[Horario]", "[Tipo de Harina]", "SELECT * FROM t ORDER BY a LIMIT 500",
        "DELETE FROM v_mv_zentalia WHERE ID = 7", "2004-03-15 08:30:05",
        "SELECT last_insert_rowid()", "'O''Brien'", "", "2004-03-05", "2004-03-05 00:00:00"}},
      {"postgresql",
       Motor::Postgresql,
       {"\"horario\"", "\"Tipo de Harina\"", "SELECT * FROM t ORDER BY a LIMIT 500",
        "DELETE FROM v_mv_zentalia WHERE ID = 7", "2004-03-15 08:30:05", "SELECT lastval()",
        "'O''Brien'", "SET statement_timeout = 360000", "2004-03-05", "2004-03-05 00:00:00"}},
  };
  for (const Caso& caso : casos) {
    const Dialecto d(caso.motor);
    const QString obtenidos[10] = {
        d.Columna(QStringLiteral("Horario")),
        d.Alias(QStringLiteral("Tipo de Harina")),
        d.SelectTop(500, QStringLiteral("* FROM t ORDER BY a")),
        d.Borrar(QStringLiteral("v_mv_zentalia"), QStringLiteral("ID = 7")),
        d.TextoMomento(momento),
        d.ClaveInsertada(),
        Dialecto::Texto(QStringLiteral("O'Brien")),
        d.TiempoLimite(360),
        d.Dia(QDate(2004, 3, 5), QStringLiteral(" 5/3/2004")),
        d.Medianoche(QDate(2004, 3, 5), QStringLiteral(" 5/3/2004"))};
    for (int i = 0; i < 10; ++i)
      QTest::addRow("%s/%d", caso.nombre, i) << caso.motor << obtenidos[i] << caso.esperado[i];
  }
  // A row limit over a text that carries what looks like a place marker.
  const QString marcado = QStringLiteral("c FROM t WHERE c LIKE '%1%' OR c LIKE '%2'");
  QTest::addRow("sqlserver/limite con marcadores")
      << Motor::SqlServer << Dialecto(Motor::SqlServer).SelectTop(50, marcado)
      << "SELECT TOP 50 c FROM t WHERE c LIKE '%1%' OR c LIKE '%2'";
  for (const Motor motor : {Motor::Sqlite, Motor::Postgresql})
    QTest::addRow("%s/limite con marcadores", motor == Motor::Sqlite ? "sqlite" : "postgresql")
        << motor << Dialecto(motor).SelectTop(50, marcado)
        << "SELECT c FROM t WHERE c LIKE '%1%' OR c LIKE '%2' LIMIT 50";
  QTest::addRow("sqlserver/espera")
      << Motor::SqlServer << Dialecto(Motor::SqlServer).EsperaBloqueo(5) << "SET LOCK_TIMEOUT 5000";
  QTest::addRow("sqlite/espera") << Motor::Sqlite << Dialecto(Motor::Sqlite).EsperaBloqueo(5)
                                 << "PRAGMA busy_timeout = 5000";
  QTest::addRow("postgresql/espera")
      << Motor::Postgresql << Dialecto(Motor::Postgresql).EsperaBloqueo(5)
      << "SET lock_timeout = 5000";
  QTest::addRow("sqlserver/like") << Motor::SqlServer
                                  << Dialecto(Motor::SqlServer).Contiene("c", "50%_[x]'")
                                  << "c LIKE '%50[%][_][[]x]''%'";
  QTest::addRow("sqlite/like") << Motor::Sqlite << Dialecto(Motor::Sqlite).Contiene("c", "50%_\\'")
                               << "c LIKE '%50\\%\\_\\\\''%' ESCAPE '\\'";
  QTest::addRow("postgresql/like")
      << Motor::Postgresql << Dialecto(Motor::Postgresql).Contiene("c", "a%")
      << "c ILIKE '%a\\%%' ESCAPE '\\'";
}

void PruebaServicios::dialecto() {
  QFETCH(QString, obtenido);
  QFETCH(QString, esperado);
  QCOMPARE(obtenido, esperado);
}

// The LIKE rendering must find "50%" literally, not "50" followed by anything,
// on the engine itself.
void PruebaServicios::textoMomentoComoElIsoDeQt_data() {
  QTest::addColumn<QDateTime>("momento");
  QTest::newRow("medianoche") << QDateTime(QDate(2026, 1, 1), QTime(0, 0));
  QTest::newRow("último segundo") << QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59, 999));
  QTest::newRow("con milésimas") << QDateTime(QDate(2004, 3, 15), QTime(8, 30, 5, 120));
  QTest::newRow("año 1000") << QDateTime(QDate(1000, 10, 9), QTime(7, 6, 5));
  QTest::newRow("año 9999") << QDateTime(QDate(9999, 12, 31), QTime(12, 0));
  QTest::newRow("año 999") << QDateTime(QDate(999, 2, 3), QTime(4, 5, 6));
  QTest::newRow("año 10000") << QDateTime(QDate(10000, 1, 1), QTime(1, 2, 3));
}

// The moment stamped on every stored cell is the text Qt's ISO forms give.
void PruebaServicios::textoMomentoComoElIsoDeQt() {
  QFETCH(QDateTime, momento);
  const QString iso =
      momento.date().toString(Qt::ISODate) + u' ' + momento.time().toString(Qt::ISODate);
  for (const Motor motor : {Motor::Sqlite, Motor::Postgresql})
    QCOMPARE(Dialecto(motor).TextoMomento(momento), iso);
}

void PruebaServicios::contieneEncuentraLiteralmente() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QSqlDatabase otra = entorno.Otra();
  entorno.Ejecutar(QStringLiteral("CREATE TABLE t_like (c VARCHAR(20))"));
  for (const char* valor : {"50%", "500", "a_b", "axb", "O'Brien", "o'brien"})
    entorno.Ejecutar(QStringLiteral("INSERT INTO t_like VALUES (%1)")
                         .arg(Dialecto::Texto(QString::fromLatin1(valor))));
  const Dialecto d(entorno.motor());
  const auto cuenta = [&](const QString& texto) {
    QSqlQuery q(otra);
    q.exec(QStringLiteral("SELECT COUNT(*) FROM t_like WHERE ") + d.Contiene("c", texto));
    return q.next() ? q.value(0).toInt() : -1;
  };
  QCOMPARE(cuenta(QStringLiteral("50%")), 1);
  QCOMPARE(cuenta(QStringLiteral("a_b")), 1);
  QCOMPARE(cuenta(QStringLiteral("O'BRIEN")), 2);
}

void PruebaServicios::formatoSql_data() {
  QTest::addColumn<QString>("entrada");
  QTest::addColumn<QString>("esperado");  // empty: refused
  QTest::newRow("punto") << "12.5"
                         << "12.5";
  QTest::newRow("coma") << "12,5"
                        << "12.5";
  QTest::newRow("signo") << "-0,45"
                         << "-0.45";
  QTest::newRow("mas") << "+3"
                       << "3";
  QTest::newRow("blancos") << "  28 "
                           << "28";
  QTest::newRow("ceros a la izquierda") << "007,50"
                                        << "7.50";
  QTest::newRow("sin entero") << ",5"
                              << "0.5";
  QTest::newRow("vacio") << ""
                         << "NULL";
  QTest::newRow("letras") << "12a"
                          << "";
  QTest::newRow("dos separadores") << "1,2,3"
                                   << "";
  QTest::newRow("guiones") << "--"
                           << "";
  QTest::newRow("solo separador") << "."
                                  << "";
  QTest::newRow("inyeccion") << "1; DROP TABLE x"
                             << "";
  // What a number column holds on every engine: a double's range, 15 digits.
  const QString ceros308(308, QLatin1Char('0'));
  QTest::newRow("309 nueves") << QString(309, QLatin1Char('9')) << "";
  QTest::newRow("309 nueves negativo") << "-" + QString(309, QLatin1Char('9')) << "";
  QTest::newRow("1E+308") << "1" + ceros308 << "1" + ceros308;
  QTest::newRow("2E+308") << "2" + ceros308 << "";
  QTest::newRow("15 cifras") << "-0123456789012345000,000"
                             << "-123456789012345000.000";
  QTest::newRow("16 cifras") << "1234567890,123456"
                             << "";
  QTest::newRow("15 cifras decimales") << ",000000123456789012345"
                                       << "0.000000123456789012345";
  QTest::newRow("2,3E-308") << "0," + QString(307, QLatin1Char('0')) + "23"
                            << "0." + QString(307, QLatin1Char('0')) + "23";
  QTest::newRow("1E-310") << "0," + QString(309, QLatin1Char('0')) + "1"
                          << "";
  QTest::newRow("1E-401") << "0," + QString(400, QLatin1Char('0')) + "1"
                          << "";
  QTest::newRow("cero largo") << "-000," + ceros308 << "-0." + ceros308;
}

void PruebaServicios::formatoSql() {
  QFETCH(QString, entrada);
  QFETCH(QString, esperado);
  if (esperado.isEmpty()) {
    try {
      LibDatos::FormatoSql(entrada, QStringLiteral("@"));
      QFAIL("a text that is not a number was accepted");
    } catch (const Falla& falla) {
      QCOMPARE(falla.Codigo(), int(Falla::kTipoIncompatible));
      QVERIFY(falla.Mensaje().contains(entrada.trimmed()));
    }
  } else {
    QCOMPARE(LibDatos::FormatoSql(entrada, QStringLiteral("@")), esperado);
  }
}

// The numbers at the edge of what FormatoSql accepts are stored by the engine
// itself as the value typed.
void PruebaServicios::numerosDelBordeGuardadosTalCual() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  QSqlDatabase otra = entorno.Otra();
  entorno.Ejecutar(QStringLiteral("CREATE TABLE t_numeros (n NUMERIC)"));
  const QStringList numeros = {
      "1" + QString(308, QLatin1Char('0')), "-179769313486231" + QString(294, QLatin1Char('0')),
      "123456789012345", "-0,000000123456789012345", "0," + QString(307, QLatin1Char('0')) + "23"};
  for (const QString& numero : numeros) {
    entorno.Ejecutar(QStringLiteral("DELETE FROM t_numeros"));
    entorno.Ejecutar(QStringLiteral("INSERT INTO t_numeros VALUES (%1)")
                         .arg(LibDatos::FormatoSql(numero, QStringLiteral("@"))));
    QSqlQuery q(otra);
    QVERIFY(q.exec(QStringLiteral("SELECT n FROM t_numeros")) && q.next());
    bool leido = false;
    const double guardado = q.value(0).toString().toDouble(&leido);
    QVERIFY2(leido, qPrintable(q.value(0).toString()));
    const double tecleado = QString(numero).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    QCOMPARE(QString::number(guardado, 'g', 15), QString::number(tecleado, 'g', 15));
  }
}

void PruebaServicios::ini_data() {
  QTest::addColumn<QString>("contenido");
  QTest::addColumn<QString>("seccion");
  QTest::addColumn<QString>("clave");
  QTest::addColumn<QString>("esperado");  // "<ninguno>": not found
  const QString basura = QStringLiteral(
      "\xEF\xBB\xBF garbage without equals\n[[[\n=sin clave\n; FlatToolbars=7\n"
      "[laboratorio|harina]\r\n  flattoolbars =  0  \r\n[Iconos]\nIconoDelSistema=\"HARINA\"\n");
  struct Caso {
    const char* nombre;
    QString contenido;
    const char* seccion;
    const char* clave;
    const char* esperado;  // "<ninguno>": not found
  };
  const Caso casos[] = {
      {"sin mayusculas", basura, "LABORATORIO|HARINA", "FlatToolbars", "0"},
      {"comillas", basura, "ICONOS", "iconodelsistema", "HARINA"},
      {"comentario no cuenta", "[A]\n;x=1\n", "A", "x", "<ninguno>"},
      {"otra seccion", "[A]\nx=1\n[B]\n", "B", "x", "<ninguno>"},
      {"primera gana", "[A]\nx=1\nx=2\n", "A", "x", "1"},
      {"valor vacio", "[A]\nx=\n", "A", "x", ""},
      {"igual en valor", "[A]\nx=a=b\n", "A", "x", "a=b"},
      {"archivo vacio", "", "A", "x", "<ninguno>"},
  };
  for (const Caso& caso : casos)
    QTest::newRow(caso.nombre) << caso.contenido << QString::fromLatin1(caso.seccion)
                               << QString::fromLatin1(caso.clave)
                               << QString::fromLatin1(caso.esperado);
}

void PruebaServicios::ini() {
  QFETCH(QString, contenido);
  QFETCH(QString, seccion);
  QFETCH(QString, clave);
  QFETCH(QString, esperado);
  const std::optional<QString> valor = LibIni::Buscar(contenido, seccion, clave);
  QCOMPARE(valor.value_or(QStringLiteral("<ninguno>")), esperado);
}

void PruebaServicios::iniSeLeeDelProgramaYLuegoDeConfiguracion() {
  EntornoPrueba entorno;
  const LibIni& ini = LibIni::Instancia();
  const QString archivo = QStringLiteral("Prueba.INI");
  QCOMPARE(ini.LeerValor(archivo, "A", "x", "defecto"), QStringLiteral("defecto"));

  // The configuration folder's copy is named in other letters, as a copy
  // brought from Windows may be.
  QVERIFY(EntornoPrueba::EscribirArchivo(entorno.Carpeta() + "/config/analisis-harina/prueba.ini",
                                         "[A]\nx=configuracion\ny=solo aqui\n"));
  QVERIFY(EntornoPrueba::EscribirArchivo(entorno.CarpetaPrograma() + "/Prueba.INI",
                                         "[A]\nx=programa\n"));
  QCOMPARE(ini.LeerValor(archivo, "a", "X", "defecto"), QStringLiteral("programa"));
  QCOMPARE(ini.LeerValor(archivo, "A", "y", "defecto"), QStringLiteral("solo aqui"));
}

void PruebaServicios::ayudasDeTexto() {
  QCOMPARE(LibUtil::RutaConBarra("/opt/lab"), QStringLiteral("/opt/lab/"));
  QCOMPARE(LibUtil::RutaConBarra("/opt/lab/"), QStringLiteral("/opt/lab/"));
  QCOMPARE(LibUtil::QuitarCaracteres("=PLANTA=2", "="), QStringLiteral("PLANTA2"));
  QCOMPARE(LibUtil::QuitarCaracteres("a-b.c", "-", "."), QStringLiteral("abc"));
  QCOMPARE(LibUtil::SinNulo(QVariant()), QString());
  QCOMPARE(LibUtil::SinNulo(QVariant(28.5)), QStringLiteral("28.5"));
  QCOMPARE(LibUtil::ValorNumerico(" -12,5x"), qint64(-12));
  QCOMPARE(LibUtil::ValorNumerico("x3"), qint64(0));
  QCOMPARE(LibUtil::NumeroInicial("1.5x"), 1.5);
  QCOMPARE(LibUtil::NumeroInicial("plano"), 0.0);
  QCOMPARE(LibUtil::FormatearValor("0.545"),
           QStringLiteral("0") + LibCampos::SeparadorDecimal() + QStringLiteral("545"));
  QCOMPARE(LibUtil::FormatearValor("Tipo 0.0"), QStringLiteral("Tipo 0.0"));
  QVERIFY(LibCampos::EsTeclaAvance(teclas::kEnter));
  QVERIFY(LibCampos::EsTeclaAvance(teclas::kArriba));
  QVERIFY(LibCampos::EsTeclaAvance(teclas::kAbajo));
  QVERIFY(!LibCampos::EsTeclaAvance(teclas::kEsc));
  QVERIFY(!LibCampos::EsTeclaAvance(teclas::kDerecha));
}

void PruebaServicios::filtroDeTeclas() {
  QLineEdit fecha;
  fecha.setProperty("Tag", "fecha");
  QLineEdit libre;
  QCOMPARE(LibCampos::FiltrarTecla(&fecha, '7'), QChar('7'));
  QCOMPARE(LibCampos::FiltrarTecla(&fecha, '/'), QChar('/'));
  QCOMPARE(LibCampos::FiltrarTecla(&fecha, 'a'), QChar());
  QCOMPARE(LibCampos::FiltrarTecla(&fecha, '-'), QChar());
  QCOMPARE(LibCampos::FiltrarTecla(&fecha, QChar(8)), QChar(8));
  QCOMPARE(LibCampos::FiltrarTecla(&libre, 'a'), QChar('a'));
  QList<QLineEdit*> campos{&libre, &fecha};
  libre.setProperty("DataField", "Responsable");
  fecha.setProperty("DataField", "Fecha");
  QCOMPARE(LibCampos::PrepararCampo("FECHA", campos), 1);
  QVERIFY_THROWS_EXCEPTION(Falla, LibCampos::PrepararCampo("Hora", campos));
}

void PruebaServicios::avanzarSaltaLoQueNoSePuedeEnfocar() {
  QWidget ventana;
  auto* primero = new QLineEdit(&ventana);
  auto* apagado = new QLineEdit(&ventana);
  auto* oculto = new QLineEdit(&ventana);
  auto* ultimo = new QLineEdit(&ventana);
  apagado->setEnabled(false);
  ventana.show();
  oculto->hide();
  ventana.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&ventana));
  primero->setFocus();
  LibCampos::Avanzar(teclas::kEnter);
  QVERIFY(ultimo->hasFocus());
  LibCampos::Avanzar(teclas::kArriba);
  QVERIFY(primero->hasFocus());
  LibCampos::Avanzar(teclas::kAbajo);
  QVERIFY(ultimo->hasFocus());
}

void PruebaServicios::pasosReportados_data() {
  QTest::addColumn<QList<int>>("respuestas");
  QTest::addColumn<bool>("reintentos");
  QTest::addColumn<QString>("recorrido");
  // Step "a" fails twice, then works; step "b" works.
  QTest::newRow("reintentar") << QList<int>{4, 4} << true << "aaAb";
  QTest::newRow("omitir") << QList<int>{5} << true << "ab";
  QTest::newRow("anular") << QList<int>{3} << true << "a";
  QTest::newRow("sin reintento, 4 sale") << QList<int>{4} << false << "a";
}

void PruebaServicios::pasosReportados() {
  QFETCH(QList<int>, respuestas);
  QFETCH(bool, reintentos);
  QFETCH(QString, recorrido);
  EntornoPrueba entorno;
  for (int r : respuestas) entorno.operador().respuestasError.enqueue(r);
  QString hecho;
  int fallos = 0;
  PasosReportados pasos(QStringLiteral("Prueba"), reintentos);
  [&] {
    if (!pasos.Paso([&] {
          if (fallos++ < 2) {
            hecho += 'a';
            throw Falla(3146, QStringLiteral("falló"));
          }
          hecho += 'A';
        }))
      return;
    if (!pasos.Paso([&] { hecho += 'b'; })) return;
  }();
  QCOMPARE(hecho, recorrido);
  QCOMPARE(entorno.operador().sinGuion, 0);
  QVERIFY(entorno.operador().preguntas.first().texto.contains(QStringLiteral("Prueba")));
  QVERIFY(entorno.operador().preguntas.first().texto.contains(QStringLiteral("3146")));
}

void PruebaServicios::barraDeComandos() {
  UtilKor barra;
  QStringList claves;
  QObject::connect(&barra, &UtilKor::BotonPulsado, [&](QString& boton) { claves << boton; });
  barra.cerrarenabled(true);
  barra.borrarenabled(false);
  barra.nuevoenabled(true);

  barra.ProcesaTecla(teclas::kF12);
  barra.ProcesaTecla(teclas::kF4);        // BORRAR is disabled
  barra.ProcesaTecla(teclas::kInsertar);  // belongs to the grid
  barra.ProcesaTecla(teclas::kSuprimir);
  barra.ProcesaTecla(teclas::kEnter);
  barra.ProcesaTecla(teclas::kEsc);
  barra.ProcesaTecla(teclas::kF2);
  auto* borrar = barra.findChild<QToolButton*>("BORRAR");
  QTest::mouseClick(borrar, Qt::LeftButton);
  QTest::mouseClick(barra.findChild<QToolButton*>("NUEVO"), Qt::LeftButton);

  QCOMPARE(claves, QStringList({"CERRAR", "NUEVO", "NUEVO"}));
  QVERIFY(borrar->toolTip().contains(QStringLiteral("F4")));

  barra.StyleBar(0);
  QVERIFY(!borrar->autoRaise());
  barra.StyleBar(1);
  QVERIFY(borrar->autoRaise());
}

void PruebaServicios::iconosDeLaBarra_data() {
  QTest::addColumn<QString>("clave");
  QTest::addColumn<int>("icono");
  const auto fila = [](const char* clave, QStyle::StandardPixmap icono) {
    QTest::newRow(clave) << QString::fromLatin1(clave) << int(icono);
  };
  fila("NUEVO", QStyle::SP_FileIcon);
  fila("GRABAR", QStyle::SP_DialogSaveButton);
  fila("BORRAR", QStyle::SP_TrashIcon);
  fila("CONSULTAR", QStyle::SP_FileDialogContentsView);
  fila("PLANILLA", QStyle::SP_FileDialogDetailedView);
  fila("REPORTE", QStyle::SP_FileDialogInfoView);
  fila("GRAFICO", QStyle::SP_FileDialogListView);
  fila("EXPORTAR", QStyle::SP_DialogSaveButton);
  fila("ESPECIFICACIONES", QStyle::SP_DialogApplyButton);
  fila("HISTORIAL", QStyle::SP_FileDialogBack);
  fila("CANCELAR", QStyle::SP_DialogCancelButton);
  fila("CERRAR", QStyle::SP_DialogCloseButton);
}

// Each button shows, at the bar's size, the style's own icon, enabled, under
// the mouse and disabled alike, however the bar came to build it.
void PruebaServicios::iconosDeLaBarra() {
  QFETCH(QString, clave);
  QFETCH(int, icono);
  UtilKor barra;
  const auto* boton = barra.findChild<QToolButton*>(clave);
  QVERIFY(boton);
  QCOMPARE(boton->iconSize(), QSize(16, 16));
  const QIcon esperado = barra.style()->standardIcon(QStyle::StandardPixmap(icono));
  for (const QIcon::Mode modo : {QIcon::Normal, QIcon::Active, QIcon::Disabled}) {
    const QImage tiene = boton->icon().pixmap(boton->iconSize(), modo).toImage();
    const QImage debe = esperado.pixmap(boton->iconSize(), modo).toImage();
    QVERIFY(!debe.isNull());
    QCOMPARE(tiene.convertToFormat(QImage::Format_ARGB32),
             debe.convertToFormat(QImage::Format_ARGB32));
  }
}

void PruebaServicios::recordsetYExisteCampo() {
  EntornoPrueba entorno;
  REQUIERE_ENTORNO(entorno);
  LibDatos& datos = LibDatos::Instancia();
  QVERIFY_THROWS_EXCEPTION(Falla, datos.Ejecutar("SELECT 1"));  // not connected yet
  QVERIFY(entorno.Iniciar());
  QVERIFY(datos.Conectado());

  QVERIFY(datos.ExisteCampo("ta_configuracion", "clave"));
  QVERIFY(datos.ExisteCampo("TA_CONFIGURACION", "Valor"));
  QVERIFY(datos.ExisteCampo("v_mv_zentalia", "fallingnumber"));
  QVERIFY(!datos.ExisteCampo("ta_configuracion", "nombre"));
  QVERIFY(!datos.ExisteCampo("no_existe", "clave"));

  Recordset vacio;
  datos.AbrirConsulta("SELECT ID, tipo_harina FROM v_mv_zentalia", vacio);
  QVERIFY(vacio.Bof());
  QVERIFY(vacio.Eof());
  QCOMPARE(vacio.FieldCount(), 2);
  QCOMPARE(vacio.Fields(1).Name.toLower(), QStringLiteral("tipo_harina"));
  datos.CerrarConsulta(vacio);

  datos.Ejecutar("INSERT INTO v_mv_zentalia (tipo_harina, HUMEDO) VALUES ('000', 28.5)");
  datos.Ejecutar("INSERT INTO v_mv_zentalia (tipo_harina) VALUES ('0000')");
  Recordset filas = datos.Conexion().Execute(
      "SELECT tipo_harina, humedo FROM v_mv_zentalia ORDER BY tipo_harina");
  QVERIFY(!filas.Bof());
  QCOMPARE(filas.Fields("TIPO_HARINA").Value.toString(), QStringLiteral("000"));
  QCOMPARE(LibUtil::SinNulo(filas.Fields("Humedo").Value), QStringLiteral("28.5"));
  filas.MoveNext();
  QVERIFY(filas.Fields(1).Value.isNull());
  filas.MoveNext();
  QVERIFY(filas.Eof());
  QVERIFY_THROWS_EXCEPTION(Falla, filas.MoveNext());
  QVERIFY_THROWS_EXCEPTION(Falla, datos.Ejecutar("SELECT * FROM no_existe"));

  // Column and table names in any letter case reach the same columns.
  Recordset mezclado = datos.Conexion().Execute(
      "SELECT Tipo_Harina, HUMEDO, fallingNumber FROM V_MV_ZENTALIA WHERE TIPO_HARINA = '000'");
  QCOMPARE(mezclado.Fields("tipo_harina").Value.toString(), QStringLiteral("000"));

  // A key is never given twice, not even the key of the newest row once it
  // was deleted.
  const auto ultimaClave = [&] {
    Recordset clave = datos.Conexion().Execute(datos.Conexion().dialecto().ClaveInsertada());
    return clave.Fields(0).Value.toLongLong();
  };
  datos.Ejecutar("INSERT INTO v_mv_zentalia (tipo_harina) VALUES ('borrar')");
  const qint64 borrada = ultimaClave();
  datos.Ejecutar(
      datos.Conexion().dialecto().Borrar("v_mv_zentalia", QStringLiteral("ID = %1").arg(borrada)));
  datos.Ejecutar("INSERT INTO v_mv_zentalia (tipo_harina) VALUES ('nueva')");
  QVERIFY(ultimaClave() > borrada);
  datos.Desconectar();
}

void PruebaServicios::conexionFallidaNoMuestraLaClave() {
  EntornoPrueba entorno;
  LibDatos& datos = LibDatos::Instancia();
  datos.Servidor = "127.0.0.1";
  // A name that looks like a place marker of the message is shown as it is.
  datos.BaseDeDatos = "labo%3ratorio";
  datos.Usuario = "lab";
  datos.Password = "s3creta-muy-larga";
  // A port nobody listens on: the server answers at once that it refuses.
  entorno.EscribirIni("[Datos]\nMotor=postgresql\nPuerto=1\n");
  QVERIFY(!datos.Conectar(false, 3, QString()));
  QVERIFY(!datos.Conectado());
  QCOMPARE(entorno.operador().preguntas.size(), 1);
  const Pregunta& aviso = entorno.operador().preguntas.first();
  QCOMPARE(aviso.estilo, int(Operador::Estilo::Critico));
  QVERIFY(aviso.texto.contains("127.0.0.1"));
  QVERIFY2(aviso.texto.contains("«labo%3ratorio»"), qPrintable(aviso.texto));
  QVERIFY(!aviso.texto.contains("s3creta"));

  // A file that is not a database.
  QFile basura(entorno.Carpeta() + "/basura.sqlite");
  QVERIFY(EntornoPrueba::EscribirArchivo(basura.fileName(), QByteArray(4096, '\xFF')));
  entorno.EscribirIni("[Datos]\nMotor=sqlite\n");
  datos.BaseDeDatos = basura.fileName();
  QVERIFY(!datos.Conectar(true, 3, QString()));
  QCOMPARE(entorno.operador().preguntas.size(), 2);
  QVERIFY(entorno.operador().preguntas.last().texto.contains("basura.sqlite"));
}

QTEST_MAIN(PruebaServicios)
// The standard dialogs' buttons and the print preview's tools speak Spanish.
void PruebaServicios::textosDeQtEnCastellano() {
  QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancel"));
  InstalarIdioma(*QCoreApplication::instance());
  QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
  QCOMPARE(QCoreApplication::translate("QPrintPreviewDialog", "Print"), QStringLiteral("Imprimir"));
}

#include "test_servicios.moc"
