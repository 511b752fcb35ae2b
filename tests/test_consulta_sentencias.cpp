// The pure pieces of the lookups: the row limit, the statement of a
// registered table for every engine, reading "consultas.qvx" whatever it
// holds, the F5 filter over any statement, quantities, stock colours and the
// sheet's three lookups.

#include <QLocale>
#include <QTest>

#include "lookup/cantidades.h"
#include "lookup/color_stock.h"
#include "lookup/filtro_consulta.h"
#include "lookup/lector_mascaras.h"
#include "lookup/modelo_consulta.h"
#include "lookup/sentencias_consulta.h"
#include "services/distintos.h"
#include "sheet/consultas_planilla.h"

Q_DECLARE_METATYPE(Motor)
Q_DECLARE_METATYPE(RegistroMascara)

namespace {

RegistroMascara Mascara(const QString& tabla, const QString& campos, const QString& filtro = {}) {
  return {QStringLiteral("X"), tabla, campos, filtro};
}

}  // namespace

class PruebaConsultas : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void limiteFilas_data();
  void limiteFilas();
  void registrada_data();
  void registrada();
  void campoBusquedaVuelveAlLlamador();
  void archivoDeMascaras();
  void archivoRoto_data();
  void archivoRoto();
  void descomponer_data();
  void descomponer();
  void filtrada_data();
  void filtrada();
  void cantidades_data();
  void cantidades();
  void colorStock();
  void modeloOrdenaYBusca();
  void consultasDeLaPlanilla();
  void distintos_data();
  void distintos();
};

void PruebaConsultas::limiteFilas_data() {
  QTest::addColumn<QString>("valor");
  QTest::addColumn<int>("limite");
  QTest::newRow("sin clave") << " " << 1000;
  QTest::newRow("cero") << "0" << 1000;
  QTest::newRow("no numerico") << "muchas" << 1000;
  QTest::newRow("250") << "250" << 250;
  QTest::newRow("12.7") << "12.7" << 13;
  QTest::newRow("12.5 al par") << "12.5" << 12;
  QTest::newRow("13.5 al par") << "13.5" << 14;
  QTest::newRow("numero y texto") << "300 filas" << 300;
  QTest::newRow("coma no es decimal") << "12,7" << 12;
  QTest::newRow("negativo") << "-5" << 1000;
  QTest::newRow("menos de una fila") << "0.3" << 1000;
}

void PruebaConsultas::limiteFilas() {
  QFETCH(QString, valor);
  QFETCH(int, limite);
  QCOMPARE(sentencias_consulta::LimiteFilas(valor), limite);
}

void PruebaConsultas::registrada_data() {
  QTest::addColumn<Motor>("motor");
  QTest::addColumn<RegistroMascara>("registro");
  QTest::addColumn<QString>("campoBusqueda");
  QTest::addColumn<QString>("where");
  QTest::addColumn<QString>("esperada");
  const QString clientes = QStringLiteral("|RAZON_SOCIAL|CODIGO|CONTACTO|");
  QTest::newRow("clientes sqlserver")
      << Motor::SqlServer << Mascara("VT_CLIENTES", clientes) << ""
      << ""
      << "SELECT TOP 1000 RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 "
         "ORDER BY RAZON_SOCIAL";
  QTest::newRow("clientes sqlite")
      << Motor::Sqlite << Mascara("VT_CLIENTES", clientes) << ""
      << ""
      << "SELECT RAZON_SOCIAL,CODIGO,CONTACTO FROM VT_CLIENTES WHERE Dada_De_Baja = 0 "
         "ORDER BY RAZON_SOCIAL LIMIT 1000";
  QTest::newRow("proveedores en minusculas")
      << Motor::SqlServer << Mascara("vt_proveedores", "|RAZON_SOCIAL|CODIGO|") << ""
      << ""
      << "SELECT TOP 1000 RAZON_SOCIAL,CODIGO FROM vt_proveedores WHERE Dada_De_Baja = 0 ORDER "
         "BY RAZON_SOCIAL";
  QTest::newRow("articulos")
      << Motor::Postgresql << Mascara("V_MA_ARTICULOS", "|DESCRIPCION|IDARTICULO|") << ""
      << ""
      << "SELECT DESCRIPCION,IDARTICULO FROM V_MA_ARTICULOS WHERE SUSPENDIDO = 0 ORDER BY "
         "DESCRIPCION LIMIT 1000";
  QTest::newRow("sin filtro: un espacio de mas")
      << Motor::SqlServer << Mascara("V_TA_TECNICOS", "|NOMBRE|IDTECNICO|") << ""
      << ""
      << "SELECT TOP 1000 NOMBRE,IDTECNICO FROM V_TA_TECNICOS  ORDER BY NOMBRE";
  QTest::newRow("filtro y where")
      << Motor::SqlServer << Mascara("V_TA_TECNICOS", "|NOMBRE|", "A = 1") << ""
      << "AND B = 2"
      << "SELECT TOP 1000 NOMBRE FROM V_TA_TECNICOS WHERE A = 1 AND B = 2 ORDER BY NOMBRE";
  QTest::newRow("un filtro quita el de omision")
      << Motor::SqlServer << Mascara("VT_CLIENTES", "|CODIGO|", "ZONA = 3") << ""
      << ""
      << "SELECT TOP 1000 CODIGO FROM VT_CLIENTES WHERE ZONA = 3  ORDER BY CODIGO";
  QTest::newRow("where sin filtro pierde su conector")
      << Motor::SqlServer << Mascara("V_TA_TECNICOS", "|NOMBRE|") << ""
      << "AND B = 2"
      << "SELECT TOP 1000 NOMBRE FROM V_TA_TECNICOS WHERE B = 2 ORDER BY NOMBRE";
  QTest::newRow("campo de busqueda del llamador")
      << Motor::SqlServer << Mascara("V_TA_TECNICOS", "|NOMBRE|IDTECNICO|") << "IDTECNICO"
      << ""
      << "SELECT TOP 1000 NOMBRE,IDTECNICO FROM V_TA_TECNICOS  ORDER BY IDTECNICO";
  QTest::newRow("campos en blanco: * sin orden")
      << Motor::SqlServer << Mascara("MA_CONTACTOS", "   ") << ""
      << ""
      << "SELECT TOP 1000 * FROM MA_CONTACTOS ";
  QTest::newRow("solo barras") << Motor::Sqlite << Mascara("MA_CONTACTOS", "||") << ""
                               << ""
                               << "SELECT * FROM MA_CONTACTOS  LIMIT 1000";
  QTest::newRow("bytes 0 y 255") << Motor::SqlServer
                                 << Mascara(QString("V_TA_TECNICOS") + QChar(0) + QChar(0xFF),
                                            QString("|NOMBRE|") + QChar(0), QString(QChar(0xFF)))
                                 << ""
                                 << ""
                                 << "SELECT TOP 1000 NOMBRE FROM V_TA_TECNICOS  ORDER BY NOMBRE";
}

void PruebaConsultas::registrada() {
  QFETCH(Motor, motor);
  QFETCH(RegistroMascara, registro);
  QFETCH(QString, campoBusqueda);
  QFETCH(QString, where);
  QFETCH(QString, esperada);
  QCOMPARE(sentencias_consulta::Registrada(Dialecto(motor), 1000, registro, campoBusqueda, where),
           esperada);
}

void PruebaConsultas::campoBusquedaVuelveAlLlamador() {
  QString campo;
  sentencias_consulta::Registrada(Dialecto(Motor::SqlServer), 5,
                                  Mascara("VT_CLIENTES", "|RAZON_SOCIAL|CODIGO|"), campo, {});
  QCOMPARE(campo, QStringLiteral("RAZON_SOCIAL"));
  QString ninguno;
  sentencias_consulta::Registrada(Dialecto(Motor::SqlServer), 5, Mascara("T", " "), ninguno, {});
  QCOMPARE(ninguno, QString());
  QVERIFY(sentencias_consulta::EsSentencia("select * from t"));
  QVERIFY(sentencias_consulta::EsSentencia("VT_SELECTOS"));
  QVERIFY(!sentencias_consulta::EsSentencia("VT_CLIENTES"));
  QVERIFY(sentencias_consulta::TieneOrden("select a from t order  by a") == false);
  QVERIFY(sentencias_consulta::TieneOrden("select a from t Order By a"));
}

void PruebaConsultas::archivoDeMascaras() {
  QByteArray archivo;
  for (const RegistroMascara& registro : MascarasPorDefecto()) archivo += registro.Bytes();
  RegistroMascara repetido = Mascara("vt_clientes", "|OTRO|");
  archivo += repetido.Bytes();
  const std::optional<RegistroMascara> clientes =
      lector_mascaras::Buscar(archivo, QStringLiteral("  Vt_Clientes "));
  QVERIFY(clientes);
  // The first of two records with the same table.
  QCOMPARE(clientes->Campos.trimmed(), QStringLiteral("|RAZON_SOCIAL|CODIGO|CONTACTO|"));
  QCOMPARE(clientes->Nombre.trimmed(), QStringLiteral("CLIENTES"));
  QVERIFY(!lector_mascaras::Buscar(archivo, QStringLiteral("VT_NINGUNA")));
  // Windows-1252 text.
  const RegistroMascara acentos = Mascara("TA_DEPÓSITOS", "|Descripción|");
  const std::optional<RegistroMascara> leido =
      lector_mascaras::Buscar(acentos.Bytes(), QStringLiteral("ta_depÓsitos"));
  QVERIFY(leido);
  QCOMPARE(leido->Campos.trimmed(), QStringLiteral("|Descripción|"));
}

void PruebaConsultas::archivoRoto_data() {
  QTest::addColumn<QByteArray>("contenido");
  QTest::addColumn<bool>("encontrada");
  const QByteArray bueno = Mascara("V_TA_TECNICOS", "|NOMBRE|").Bytes();
  QTest::newRow("vacio") << QByteArray() << false;
  QTest::newRow("corto") << QByteArray("V_TA") << false;
  QTest::newRow("cortado en la tabla") << bueno.left(100 + 13) << true;
  QTest::newRow("cortado en los campos") << bueno.left(210) << true;
  QTest::newRow("segundo cortado") << bueno + bueno.left(600) << true;
  QTest::newRow("ceros") << QByteArray(3000, '\0') << false;
  QTest::newRow("255") << QByteArray(2500, '\xFF') << false;
  QByteArray mezcla = bueno;
  for (int i = 113; i < 200; ++i) mezcla[i] = i % 2 ? '\0' : '\xFF';
  QTest::newRow("relleno de 0 y 255") << mezcla << true;
}

void PruebaConsultas::archivoRoto() {
  QFETCH(QByteArray, contenido);
  QFETCH(bool, encontrada);
  const std::optional<RegistroMascara> registro =
      lector_mascaras::Buscar(contenido, QStringLiteral("V_TA_TECNICOS"));
  QCOMPARE(bool(registro), encontrada);
  if (!registro) return;
  QString campo;
  const QString sql =
      sentencias_consulta::Registrada(Dialecto(Motor::Sqlite), 10, *registro, campo, {});
  QVERIFY2(sql.startsWith("SELECT ") && sql.contains(" FROM V_TA_TECNICOS"), qPrintable(sql));
  QVERIFY2(!sql.contains(QChar(0)) && !sql.contains(QChar(0xFF)), qPrintable(sql));
}

void PruebaConsultas::descomponer_data() {
  QTest::addColumn<QString>("sql");
  QTest::addColumn<QString>("cuerpo");
  QTest::addColumn<QString>("orden");
  QTest::addColumn<int>("limite");
  QTest::newRow("orden") << "SELECT DESCRIPCION FROM TA_PROVINCIAS ORDER BY DESCRIPCION "
                         << "SELECT DESCRIPCION FROM TA_PROVINCIAS"
                         << "ORDER BY DESCRIPCION" << -1;
  QTest::newRow("group by") << "SELECT COLOR FROM V WHERE COLOR<>'' GROUP BY COLOR"
                            << "SELECT COLOR FROM V WHERE COLOR<>'' GROUP BY COLOR"
                            << "" << -1;
  QTest::newRow("top") << "SELECT TOP 50 A,B FROM T  ORDER BY A"
                       << "SELECT A,B FROM T"
                       << "ORDER BY A" << 50;
  QTest::newRow("limit") << "select a from t order by a desc limit 7"
                         << "select a from t"
                         << "order by a desc" << 7;
  QTest::newRow("order en texto y subconsulta")
      << "SELECT a FROM (SELECT a FROM t ORDER BY b) x WHERE a <> 'order by' and [order by] = 1"
      << "SELECT a FROM (SELECT a FROM t ORDER BY b) x WHERE a <> 'order by' and [order by] = 1"
      << "" << -1;
  QTest::newRow("nombre con order") << "SELECT NOWHERE, BORDER FROM T"
                                    << "SELECT NOWHERE, BORDER FROM T"
                                    << "" << -1;
}

void PruebaConsultas::descomponer() {
  QFETCH(QString, sql);
  QFETCH(QString, cuerpo);
  QFETCH(QString, orden);
  QFETCH(int, limite);
  const filtro_consulta::Partes partes = filtro_consulta::Descomponer(sql);
  QCOMPARE(partes.cuerpo, cuerpo);
  QCOMPARE(partes.orden, orden);
  QCOMPARE(partes.limite, limite);
}

void PruebaConsultas::filtrada_data() {
  QTest::addColumn<Motor>("motor");
  QTest::addColumn<QString>("sql");
  QTest::addColumn<QStringList>("columnas");
  QTest::addColumn<QStringList>("filtros");  // "column:text", the column 0-based
  QTest::addColumn<QString>("esperada");
  const QStringList una{"DESCRIPCION"};
  QTest::newRow("sin condiciones")
      << Motor::Sqlite << "SELECT A FROM T ORDER BY A" << QStringList{"A"} << QStringList()
      << "SELECT A FROM T ORDER BY A";
  QTest::newRow("filtro fuera de las columnas")
      << Motor::Sqlite << "SELECT A FROM T" << QStringList{"A"} << QStringList{"1:x"}
      << "SELECT A FROM T";
  QTest::newRow("group by sqlserver")
      << Motor::SqlServer << "SELECT COLOR FROM V WHERE COLOR<>'' GROUP BY COLOR"
      << QStringList{"COLOR"} << QStringList{"0:x"}
      << "WITH ConsultaFiltrada ([columna_1]) AS (SELECT COLOR FROM V WHERE COLOR<>'' GROUP BY "
         "COLOR) SELECT [columna_1] AS [COLOR] FROM ConsultaFiltrada WHERE [columna_1] LIKE '%x%'";
  QTest::newRow("dos condiciones y orden, sqlite")
      << Motor::Sqlite << "SELECT DESCRIPCION FROM TA_PROVINCIAS ORDER BY DESCRIPCION " << una
      << QStringList{"0:sal", "0:ta"}
      << "WITH ConsultaFiltrada ([columna_1]) AS (SELECT DESCRIPCION FROM TA_PROVINCIAS) SELECT "
         "[columna_1] AS [DESCRIPCION] FROM ConsultaFiltrada WHERE [columna_1] LIKE '%sal%' "
         "ESCAPE '\\' and [columna_1] LIKE '%ta%' ESCAPE '\\' ORDER BY [columna_1]";
  QTest::newRow("limite fuera, postgresql")
      << Motor::Postgresql << "SELECT nombre FROM t ORDER BY nombre LIMIT 1000"
      << QStringList{"nombre"} << QStringList{"0:50%_'"}
      << "WITH ConsultaFiltrada (\"columna_1\") AS (SELECT nombre FROM t) SELECT \"columna_1\" AS "
         "\"nombre\" FROM ConsultaFiltrada WHERE CAST(\"columna_1\" AS TEXT) ILIKE '%50\\%\\_''%' "
         "ESCAPE '\\' ORDER BY \"columna_1\" LIMIT 1000";
  QTest::newRow("top fuera, sqlserver")
      << Motor::SqlServer << "SELECT TOP 10 NOMBRE FROM T  ORDER BY NOMBRE" << QStringList{"NOMBRE"}
      << QStringList{"0:[a]"}
      << "WITH ConsultaFiltrada ([columna_1]) AS (SELECT NOMBRE FROM T) SELECT TOP 10 [columna_1] "
         "AS [NOMBRE] FROM ConsultaFiltrada WHERE [columna_1] LIKE '%[[]a]%' ORDER BY [columna_1]";
  QTest::newRow("orden por posicion, alias y nulos")
      << Motor::Sqlite
      << "SELECT x AS a, y AS [b c] FROM t ORDER BY 2 DESC NULLS LAST, [A], \"b c\""
      << QStringList{"a", "b c"} << QStringList{"1:%1"}
      << "WITH ConsultaFiltrada ([columna_1], [columna_2]) AS (SELECT x AS a, y AS [b c] FROM t) "
         "SELECT [columna_1] AS [a], [columna_2] AS [b c] FROM ConsultaFiltrada WHERE [columna_2] "
         "LIKE '%\\%1%' ESCAPE '\\' ORDER BY [columna_2] DESC NULLS LAST, [columna_1], [columna_2]";
  // An order on anything but one result column stays with the statement.
  for (const char* orden : {"ORDER BY b", "ORDER BY t.a", "ORDER BY UPPER(a), a", "ORDER BY 3",
                            "ORDER BY a COLLATE NOCASE", "order by a desc, b"})
    QTest::addRow("orden dentro: %s", orden)
        << Motor::Sqlite << QStringLiteral("SELECT a FROM t ") + orden << QStringList{"a"}
        << QStringList{"0:z"}
        << QStringLiteral(
               "WITH ConsultaFiltrada ([columna_1]) AS (SELECT a FROM t %1) SELECT "
               "[columna_1] AS [a] FROM ConsultaFiltrada WHERE [columna_1] LIKE '%z%' "
               "ESCAPE '\\'")
               .arg(QLatin1String(orden));
  QTest::newRow("nombre repetido, orden dentro")
      << Motor::Postgresql << "SELECT a, b AS a FROM t ORDER BY a" << QStringList{"a", "a"}
      << QStringList{"1:z"}
      << "WITH ConsultaFiltrada (\"columna_1\", \"columna_2\") AS (SELECT a, b AS a FROM t ORDER "
         "BY a) SELECT \"columna_1\" AS \"a\", \"columna_2\" AS \"a\" FROM ConsultaFiltrada WHERE "
         "CAST(\"columna_2\" AS TEXT) ILIKE '%z%' ESCAPE '\\'";
}

void PruebaConsultas::filtrada() {
  QFETCH(Motor, motor);
  QFETCH(QString, sql);
  QFETCH(QStringList, columnas);
  QFETCH(QStringList, filtros);
  QFETCH(QString, esperada);
  QList<filtro_consulta::Filtro> lista;
  for (const QString& filtro : filtros)
    lista.append({filtro.section(':', 0, 0).toInt(), filtro.section(':', 1)});
  QCOMPARE(filtro_consulta::Filtrada(Dialecto(motor), sql, columnas, lista), esperada);
}

void PruebaConsultas::cantidades_data() {
  QTest::addColumn<QString>("tecla");
  QTest::addColumn<QString>("antes");
  QTest::addColumn<QString>("despues");  // "=" unchanged
  QTest::addColumn<int>("marca");        // 1 checked, 0 unchecked, -1 unchanged
  QTest::newRow("insert sobre 3.00") << "ins"
                                     << "3.00"
                                     << "4,0" << 1;
  QTest::newRow("insert sobre vacio") << "ins"
                                      << ""
                                      << "1,0" << 1;
  QTest::newRow("insert lee la coma") << "ins"
                                      << "3,50"
                                      << "4,5" << 1;
  QTest::newRow("delete sobre 3") << "del"
                                  << "3,0"
                                  << "2,0" << -1;
  QTest::newRow("delete sobre 1.0") << "del"
                                    << "1.0"
                                    << "0,00" << 0;
  QTest::newRow("delete sobre 0.00") << "del"
                                     << "0,00"
                                     << "0,00" << 0;
  QTest::newRow("respuesta 12") << "12"
                                << "1,0"
                                << "12,00" << 1;
  QTest::newRow("respuesta 2.5") << "2.5"
                                 << "1,0"
                                 << "2,50" << 1;
  QTest::newRow("respuesta 0") << "0"
                               << "5,0"
                               << "0,00" << 0;
  QTest::newRow("respuesta vacia") << ""
                                   << "5,0"
                                   << "=" << -1;
  QTest::newRow("respuesta no numerica") << "muchos"
                                         << "5,0"
                                         << "=" << -1;
  QTest::newRow("cancelada") << "cancelada"
                             << "5,0"
                             << "=" << -1;
}

void PruebaConsultas::cantidades() {
  QFETCH(QString, tecla);
  QFETCH(QString, antes);
  QFETCH(QString, despues);
  QFETCH(int, marca);
  std::optional<cantidades::Cambio> cambio;
  if (tecla == "ins")
    cambio = cantidades::MasUno(antes);
  else if (tecla == "del")
    cambio = cantidades::MenosUno(antes);
  else if (tecla == "cancelada")
    cambio = cantidades::Respuesta(std::nullopt);
  else
    cambio = cantidades::Respuesta(tecla);
  if (despues == "=") {
    QVERIFY(!cambio);
    return;
  }
  QVERIFY(cambio);
  QCOMPARE(cambio->cantidad, despues);
  QCOMPARE(cambio->marcada ? int(*cambio->marcada) : -1, marca);
}

void PruebaConsultas::colorStock() {
  QCOMPARE(color_stock::Nivel(0, 5), 0);
  QCOMPARE(color_stock::Nivel(10, 11), 1);
  QCOMPARE(color_stock::Nivel(10, 3), 2);
  QCOMPARE(color_stock::Nivel(10, 10), 3);
  QCOMPARE(color_stock::Nivel(10, 10.00001), 3);  // four decimals
  QCOMPARE(color_stock::Nivel(0, 0), 3);
  QCOMPARE(color_stock::Nivel(-1, 5), 3);
  QCOMPARE(color_stock::ColorDeWindows("255"), QColor(255, 0, 0));
  QCOMPARE(color_stock::ColorDeWindows(" 16711680 "), QColor(0, 0, 255));
  QCOMPARE(color_stock::ColorDeWindows("32768"), QColor(0, 128, 0));
  QVERIFY(!color_stock::ColorDeWindows("rojo"));
  QVERIFY(!color_stock::ColorDeWindows(" "));
}

void PruebaConsultas::consultasDeLaPlanilla() {
  const Dialecto sqlServer(Motor::SqlServer), pg(Motor::Postgresql);
  const auto harina = ConsultaDeColumna(sqlServer, "vt_tipoharina");
  QVERIFY(harina);
  QCOMPARE(harina->campoDevuelto, QStringLiteral("HARINA"));
  QCOMPARE(harina->sql, QStringLiteral("SELECT TIPO_HARINA AS HARINA FROM V_MV_ZENTALIA WHERE "
                                       "TIPO_HARINA<>'' GROUP BY TIPO_HARINA"));
  QCOMPARE(ConsultaDeColumna(sqlServer, "VT_caract")->sql,
           QStringLiteral("SELECT CARACT AS [CARACTERISTICAS DEL GLUTEN] FROM V_MV_ZENTALIA WHERE "
                          "CARACT<>'' GROUP BY CARACT"));
  QCOMPARE(ConsultaDeColumna(pg, "VT_caract")->sql,
           QStringLiteral("SELECT CARACT AS \"CARACTERISTICAS DEL GLUTEN\" FROM V_MV_ZENTALIA "
                          "WHERE CARACT<>'' GROUP BY CARACT"));
  QCOMPARE(ConsultaDeColumna(pg, "VT_caract")->campoDevuelto,
           QStringLiteral("CARACTERISTICAS DEL GLUTEN"));
  QCOMPARE(ConsultaDeColumna(sqlServer, "VT_colores")->sql,
           QStringLiteral("SELECT COLOR FROM V_MV_ZENTALIA WHERE COLOR<>'' GROUP BY COLOR"));
  QVERIFY(!ConsultaDeColumna(sqlServer, "Fecha"));
  QVERIFY(!ConsultaDeColumna(sqlServer, ""));
}

// The list's sort agrees with Qt's own comparison without regard to case,
// accents and all, keeps equal texts in the order read, and the typed search
// walks the order shown.
void PruebaConsultas::modeloOrdenaYBusca() {
  const QStringList leidos = {"b", "Ábaco", "a", "B", "ñandú", "N", "zeta", "abaco", "Ñu", "  ab"};
  ModeloConsulta modelo;
  modelo.Encabezados({"nombre", "orden"});
  FilasLeidas filas;
  filas.columnas.resize(2);
  for (int i = 0; i < leidos.size(); ++i) {
    filas.columnas[0].Agregar(leidos[i]);
    filas.columnas[1].Agregar(QString::number(i));
  }
  modelo.Reemplazar(std::move(filas));
  for (const Qt::SortOrder orden : {Qt::AscendingOrder, Qt::DescendingOrder}) {
    QStringList esperados = leidos;
    std::stable_sort(esperados.begin(), esperados.end(), [&](const QString& a, const QString& b) {
      const int c = a.compare(b, Qt::CaseInsensitive);
      return orden == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    modelo.Ordenar(0, orden);
    QStringList vistos;
    for (int fila = 0; fila < modelo.Filas(); ++fila) vistos << modelo.Texto(fila, 0);
    QCOMPARE(vistos, esperados);
  }
  modelo.Ordenar(0, Qt::AscendingOrder);
  QCOMPARE(modelo.Texto(modelo.Buscar(0, QStringLiteral(" AB ")), 0), QStringLiteral("  ab"));
  QCOMPARE(modelo.Texto(modelo.Buscar(0, QStringLiteral("ñ")), 0), QStringLiteral("ñandú"));
  QCOMPARE(modelo.Buscar(0, QStringLiteral("x")), -1);
  QCOMPARE(modelo.Buscar(0, QString()), 0);
  // Equal texts keep the order they were read in: "b" (0) before "B" (3).
  const int b = modelo.Buscar(0, QStringLiteral("b"));
  QCOMPARE(modelo.Texto(b, 1), QStringLiteral("0"));
  QCOMPARE(modelo.Texto(b + 1, 1), QStringLiteral("3"));
  // A changed text (a quantity) is what the row shows and what is searched.
  modelo.SetTexto(b, 1, QStringLiteral("12,00"));
  QCOMPARE(modelo.Texto(b, 1), QStringLiteral("12,00"));
  QCOMPARE(modelo.Buscar(1, QStringLiteral("12,")), b);
}

QTEST_GUILESS_MAIN(PruebaConsultas)
#include "test_consulta_sentencias.moc"

void PruebaConsultas::distintos_data() {
  QTest::addColumn<QString>("sql");
  // "tabla|columna|alias", or empty when the shape is not the one recognised.
  QTest::addColumn<QString>("esperado");
  QTest::newRow("harina") << "SELECT TIPO_HARINA AS HARINA FROM V_MV_ZENTALIA WHERE "
                             "TIPO_HARINA<>'' GROUP BY TIPO_HARINA"
                          << "V_MV_ZENTALIA|TIPO_HARINA|HARINA";
  QTest::newRow("alias entre comillas")
      << "SELECT CARACT AS \"CARACTERISTICAS DEL GLUTEN\" FROM V_MV_ZENTALIA WHERE CARACT<>'' "
         "GROUP BY CARACT"
      << "V_MV_ZENTALIA|CARACT|\"CARACTERISTICAS DEL GLUTEN\"";
  QTest::newRow("alias entre corchetes")
      << "SELECT CARACT AS [CARACTERISTICAS DEL GLUTEN] FROM V_MV_ZENTALIA WHERE CARACT<>'' "
         "GROUP BY CARACT"
      << "V_MV_ZENTALIA|CARACT|[CARACTERISTICAS DEL GLUTEN]";
  QTest::newRow("sin alias, minusculas y espacios")
      << "  select color from v_mv_zentalia where color <> ''  group by color ;"
      << "v_mv_zentalia|color|";
  QTest::newRow("agrupa por otra columna")
      << "SELECT COLOR FROM V_MV_ZENTALIA WHERE COLOR<>'' GROUP BY CARACT"
      << "";
  QTest::newRow("condicion sobre otra columna")
      << "SELECT COLOR FROM V_MV_ZENTALIA WHERE CARACT<>'' GROUP BY COLOR"
      << "";
  QTest::newRow("otra condicion")
      << "SELECT COLOR FROM V_MV_ZENTALIA WHERE COLOR<>'' AND CARACT<>'' GROUP BY COLOR"
      << "";
  QTest::newRow("busqueda de F5")
      << "SELECT COLOR FROM V_MV_ZENTALIA WHERE COLOR LIKE '%a%' GROUP BY COLOR"
      << "";
  QTest::newRow("con orden")
      << "SELECT COLOR FROM V_MV_ZENTALIA WHERE COLOR<>'' GROUP BY COLOR ORDER BY COLOR"
      << "";
  QTest::newRow("con cuenta")
      << "SELECT COLOR, COUNT(*) FROM V_MV_ZENTALIA WHERE COLOR<>'' GROUP BY COLOR"
      << "";
  QTest::newRow("sin agrupar") << "SELECT COLOR FROM V_MV_ZENTALIA WHERE COLOR<>''"
                               << "";
}

void PruebaConsultas::distintos() {
  QFETCH(QString, sql);
  QFETCH(QString, esperado);
  const std::optional<Distintos> leido = LeerDistintos(sql);
  QCOMPARE(leido.has_value(), !esperado.isEmpty());
  if (leido) QCOMPARE(leido->tabla + '|' + leido->columna + '|' + leido->alias, esperado);
}
