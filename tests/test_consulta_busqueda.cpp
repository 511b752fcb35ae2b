// The lookup list's typed search: the first row shown whose trimmed text
// starts with the key without regard to case, whether the rows are shown
// sorted by the searched column (searched by halves), by another, or as read,
// and whatever the texts hold: accents, a Kelvin sign that folds to "k",
// leading blanks, equal texts, a text changed after the sort.

#include <QRandomGenerator>
#include <QTest>
#include <algorithm>

#include "lookup/modelo_consulta.h"

namespace {

enum class Orden { Leido, Ascendente, Descendente };

// A one- or two-column model of those texts (the second column the first's
// texts reversed), shown as asked.
void Cargar(ModeloConsulta& modelo, const QStringList& textos, Orden orden, int columna = 0) {
  modelo.Encabezados({QStringLiteral("A"), QStringLiteral("B")});
  FilasLeidas filas;
  filas.columnas.resize(2);
  for (qsizetype i = 0; i < textos.size(); ++i) {
    filas.columnas[0].Agregar(textos[i]);
    filas.columnas[1].Agregar(textos[textos.size() - 1 - i]);
  }
  modelo.Reemplazar(std::move(filas));
  if (orden != Orden::Leido)
    modelo.Ordenar(columna, orden == Orden::Ascendente ? Qt::AscendingOrder : Qt::DescendingOrder);
}

// The search row by row, as the list has always answered it.
int Recorrido(const ModeloConsulta& modelo, int columna, const QString& clave) {
  for (int fila = 0; fila < modelo.Filas(); ++fila)
    if (QStringView(modelo.Texto(fila, columna))
            .trimmed()
            .startsWith(clave.trimmed(), Qt::CaseInsensitive))
      return fila;
  return -1;
}

}  // namespace

Q_DECLARE_METATYPE(Orden)

class PruebaBusquedaConsulta : public QObject {
  Q_OBJECT

 private slots:
  void casos_data();
  void casos();
  void azar_data();
  void azar();
  void textoCambiado();
  void ordenComoQt();
};

void PruebaBusquedaConsulta::casos_data() {
  QTest::addColumn<QStringList>("textos");
  QTest::addColumn<Orden>("orden");
  QTest::addColumn<QString>("clave");
  QTest::addColumn<QString>("hallado");  // the text of the row found; empty: none

  const QStringList harinas = {"Sal", "harina 0000", "Levadura", "Harina 000", "HARINA integral"};
  QTest::newRow("ascendente") << harinas << Orden::Ascendente << "har"
                              << "Harina 000";
  QTest::newRow("ascendente, más larga") << harinas << Orden::Ascendente << " HARINA I "
                                         << "HARINA integral";
  QTest::newRow("ascendente, ninguna") << harinas << Orden::Ascendente << "harinas"
                                       << "";
  QTest::newRow("ascendente, después de todas") << harinas << Orden::Ascendente << "t"
                                                << "";
  QTest::newRow("ascendente, antes de todas") << harinas << Orden::Ascendente << "a"
                                              << "";
  QTest::newRow("ascendente, vacía") << harinas << Orden::Ascendente << ""
                                     << "Harina 000";
  QTest::newRow("descendente") << harinas << Orden::Descendente << "har"
                               << "HARINA integral";
  QTest::newRow("descendente, la última") << harinas << Orden::Descendente << "harina 000"
                                          << "harina 0000";
  QTest::newRow("como se leyeron") << harinas << Orden::Leido << "har"
                                   << "harina 0000";
  const QStringList acentos = {"Óleo", "ñame", "oca", "Ñandú", "nabo"};
  QTest::newRow("eñe") << acentos << Orden::Ascendente << "ÑA"
                       << "ñame";
  QTest::newRow("eñe, la segunda") << acentos << Orden::Descendente << "ña"
                                   << "Ñandú";
  QTest::newRow("acento") << acentos << Orden::Ascendente << "ó"
                          << "Óleo";
  QTest::newRow("sin acento no es con acento") << acentos << Orden::Ascendente << "ole"
                                               << "";
  // The Kelvin sign folds to a plain "k": the ASCII shortcut must not decide.
  const QStringList kelvin = {"kilo", QStringLiteral("\u212Aelvin"), "Kilo"};
  QTest::newRow("Kelvin, como se leyeron")
      << kelvin << Orden::Leido << "KE" << QStringLiteral("\u212Aelvin");
  QTest::newRow("Kelvin, ordenadas")
      << kelvin << Orden::Ascendente << "ke" << QStringLiteral("\u212Aelvin");
  QTest::newRow("Kelvin dentro") << QStringList{"zz", QStringLiteral("o\u212Ay"), "oky"}
                                 << Orden::Leido << "OK" << QStringLiteral("o\u212Ay");
  // A leading blank sorts first but searches as its first letter.
  const QStringList blancos = {"alfa", "  zeta", "beta", "\tgama"};
  QTest::newRow("blanco inicial") << blancos << Orden::Ascendente << "ze"
                                  << "  zeta";
  QTest::newRow("tabulador inicial") << blancos << Orden::Descendente << "GA"
                                     << "\tgama";
  QTest::newRow("blanco final") << QStringList{"ab  ", "abc"} << Orden::Ascendente << "ab"
                                << "ab  ";
  // Outside the basic plane: Deseret's capital and small letters fold alike.
  QTest::newRow("fuera del plano básico")
      << QStringList{QStringLiteral("\U00010428b"), QStringLiteral("\U00010400a"), "z"}
      << Orden::Ascendente << QStringLiteral("\U00010400B") << QStringLiteral("\U00010428b");
}

void PruebaBusquedaConsulta::casos() {
  QFETCH(QStringList, textos);
  QFETCH(Orden, orden);
  QFETCH(QString, clave);
  QFETCH(QString, hallado);
  ModeloConsulta modelo;
  Cargar(modelo, textos, orden);
  const int fila = modelo.Buscar(0, clave);
  QCOMPARE(fila, Recorrido(modelo, 0, clave));
  QCOMPARE(fila < 0 ? QString() : modelo.Texto(fila, 0), hallado);
}

void PruebaBusquedaConsulta::azar_data() {
  QTest::addColumn<Orden>("orden");
  QTest::addColumn<int>("columnaOrden");
  // Without the Kelvin sign every text fits in Latin-1, which the list keeps
  // one byte a character; with it the columns turn to UTF-16 on the way.
  QTest::addColumn<QString>("letras");
  const QString latinas = QStringLiteral("aAbBñÑ0 µÿ");
  const QString conKelvin = QStringLiteral("aAbBñÑ0 \u212A");
  for (const QString& letras : {conKelvin, latinas}) {
    const QByteArray cuales = letras == latinas ? ", latinas" : "";
    QTest::newRow("ascendente" + cuales) << Orden::Ascendente << 0 << letras;
    QTest::newRow("descendente" + cuales) << Orden::Descendente << 0 << letras;
    QTest::newRow("por otra columna" + cuales) << Orden::Ascendente << 1 << letras;
    QTest::newRow("como se leyeron" + cuales) << Orden::Leido << 0 << letras;
  }
}

// Many short texts over a few letters, so that many share each prefix and
// many are equal but for case: every prefix of every text, and a few keys
// that start none, find the row the row-by-row search finds.
void PruebaBusquedaConsulta::azar() {
  QFETCH(Orden, orden);
  QFETCH(int, columnaOrden);
  QFETCH(QString, letras);
  QRandomGenerator azar(20261210);
  QStringList textos;
  for (int i = 0; i < 600; ++i) {
    QString texto;
    const int largo = azar.bounded(1, 6);
    for (int j = 0; j < largo; ++j) texto += letras[azar.bounded(int(letras.size()))];
    // Some leading blanks, but not in every run: the search by halves is
    // taken only where none is.
    if (columnaOrden == 0 && texto.front() == u' ') texto[0] = u'a';
    textos << texto;
  }
  ModeloConsulta modelo;
  Cargar(modelo, textos, orden, columnaOrden);
  QStringList claves = {"x", "0x", "Ññ", "", " "};
  for (const QString& texto : textos)
    for (qsizetype n = 1; n <= texto.size(); ++n) claves << texto.left(n);
  for (const QString& clave : claves) {
    for (int columna : {0, 1})
      QVERIFY2(modelo.Buscar(columna, clave) == Recorrido(modelo, columna, clave),
               qPrintable(QStringLiteral("«%1» en la columna %2").arg(clave).arg(columna)));
  }
}

// A text changed after the sort (a quantity) is found as it reads now.
void PruebaBusquedaConsulta::textoCambiado() {
  ModeloConsulta modelo;
  Cargar(modelo, {"a1", "b1", "c1"}, Orden::Ascendente);
  modelo.SetTexto(0, 0, QStringLiteral("zz"));
  QCOMPARE(modelo.Buscar(0, QStringLiteral("zz")), 0);
  QCOMPARE(modelo.Buscar(0, QStringLiteral("a")), -1);
  QCOMPARE(modelo.Buscar(0, QStringLiteral("c")), 2);
}

// Sorted without regard to case exactly as QString compares, whether the
// column kept its texts in Latin-1 (the micro sign folds out of Latin-1, to
// a Greek mu, above every Latin-1 letter) or turned to UTF-16 halfway through
// the load; every text reads back whole either way.
void PruebaBusquedaConsulta::ordenComoQt() {
  const QStringList latinas = {"ö", "µ", "O", "Ñandú", "ÿ", "ß", "ss", "Ávila", "avila", "Z"};
  QStringList anchas = latinas;
  anchas.insert(5, QStringLiteral("\u03A9mega"));  // past Latin-1, after five that fit
  for (const QStringList& textos : {latinas, anchas}) {
    ModeloConsulta modelo;
    Cargar(modelo, textos, Orden::Leido);
    for (int fila = 0; fila < modelo.Filas(); ++fila) QCOMPARE(modelo.Texto(fila, 0), textos[fila]);
    modelo.Ordenar(0, Qt::AscendingOrder);
    QStringList esperado = textos;
    std::stable_sort(esperado.begin(), esperado.end(), [](const QString& a, const QString& b) {
      return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    QStringList mostrados;
    for (int fila = 0; fila < modelo.Filas(); ++fila) mostrados << modelo.Texto(fila, 0);
    QCOMPARE(mostrados, esperado);
    QCOMPARE(modelo.Texto(modelo.Buscar(0, QStringLiteral("\u039C")), 0), QStringLiteral("µ"));
  }
}

QTEST_GUILESS_MAIN(PruebaBusquedaConsulta)
#include "test_consulta_busqueda.moc"
