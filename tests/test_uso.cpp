// The command-line options answered before any window opens.

#include <QTest>

#include "session/uso.h"

class PruebaUso : public QObject {
  Q_OBJECT

 private slots:
  void responderOpcion_data();
  void responderOpcion();
  void ayudaNombraCadaParametro();
};

void PruebaUso::responderOpcion_data() {
  QTest::addColumn<QStringList>("argumentos");
  QTest::addColumn<bool>("responde");
  QTest::addColumn<QString>("comienzo");
  QTest::addColumn<bool>("error");
  QTest::addColumn<int>("estado");

  const QString uso = QStringLiteral("Uso: analisis-harina");
  const QString version = QStringLiteral("analisis-harina " HARINA_VERSION "\n");
  QTest::newRow("--help") << QStringList{"--help"} << true << uso << false << 0;
  QTest::newRow("-h") << QStringList{"-h"} << true << uso << false << 0;
  QTest::newRow("--version") << QStringList{"--version"} << true << version << false << 0;
  QTest::newRow("-v") << QStringList{"-v"} << true << version << false << 0;
  // The options are answered wherever they stand.
  QTest::newRow("tras los parámetros")
      << QStringList{"@DbName=x;", "--help"} << true << uso << false << 0;
  QTest::newRow("desconocida") << QStringList{"--ayuda"} << true
                               << QStringLiteral("analisis-harina: opción desconocida «--ayuda»")
                               << true << 2;
  QTest::newRow("parámetros") << QStringList{"@DbName=lab;@UsuarioLogeado=Marta;"} << false
                              << QString() << false << 0;
  QTest::newRow("ninguno") << QStringList{} << false << QString() << false << 0;
}

void PruebaUso::responderOpcion() {
  QFETCH(QStringList, argumentos);
  QFETCH(bool, responde);
  QFETCH(QString, comienzo);
  QFETCH(bool, error);
  QFETCH(int, estado);
  const std::optional<RespuestaDeOpcion> respuesta = ResponderOpcion(argumentos);
  QCOMPARE(respuesta.has_value(), responde);
  if (!respuesta) return;
  QVERIFY2(respuesta->texto.startsWith(comienzo), qPrintable(respuesta->texto));
  QVERIFY(respuesta->texto.endsWith(QLatin1Char('\n')));
  QCOMPARE(respuesta->error, error);
  QCOMPARE(respuesta->estado, estado);
}

void PruebaUso::ayudaNombraCadaParametro() {
  const QString ayuda = TextoDeAyuda();
  for (const char* clave : {"@Server=", "@DbName=", "@Usuario=", "@Password=", "@UsuarioLogeado=",
                            "--help", "--version", "RO000za.INI", "F1"})
    QVERIFY2(ayuda.contains(QLatin1String(clave)), clave);
  // A terminal of 80 columns shows every line whole.
  for (const QString& linea : ayuda.split(QLatin1Char('\n')))
    QVERIFY2(linea.size() <= 80, qPrintable(linea));
}

QTEST_GUILESS_MAIN(PruebaUso)
#include "test_uso.moc"
