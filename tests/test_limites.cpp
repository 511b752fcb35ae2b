// The quality limits: which row judges a value (flour type without case
// or blanks, the latest vigente_desde on or before the analysis's date), the
// verdict and the bound crossed, the row as the operator reads it, and the
// rows read from the database on both engines, and the sheet's cells marked
// at a load and at a store.

#include <QColor>
#include <QFont>
#include <QLocale>
#include <QStatusBar>
#include <QTest>

#include "analisis/lector_limites.h"
#include "analisis/limites.h"
#include "services/lib_datos.h"
#include "sheet/barra_estado.h"
#include "sheet/grilla.h"
#include "soporte/entorno_prueba.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

Q_DECLARE_METATYPE(Veredicto)
Q_DECLARE_METATYPE(Lado)

namespace {

const QDate kContrato(2026, 1, 1);

// The lab's limits: the ash of 0000 was looser before this year's
// contract; dry gluten of Integral has a minimum only.
QList<Limite> Especificacion() {
  return {
      {QStringLiteral("0000"), QStringLiteral("CENIZAS"), {}, 0.520, {}, {}, QDate(2020, 1, 1)},
      {QStringLiteral("0000"), QStringLiteral("HUMEDAD"), {}, 15.0, {}, 14.5, kContrato},
      {QStringLiteral("0000"), QStringLiteral("CENIZAS"), {}, 0.492, {}, {}, kContrato},
      {QStringLiteral("000"), QStringLiteral("FALLINGNUMBER"), 250, 400, 280, {}, kContrato},
      {QStringLiteral(" Integral"), QStringLiteral("seco"), 8, {}, {}, {}, kContrato},
  };
}

}  // namespace

class PruebaLimites : public QObject {
  Q_OBJECT

 private slots:
  // The operator's decimal separator is the comma.
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void juzgar_data();
  void juzgar();
  void describir_data();
  void describir();
  void marcas();
  void lineaDeLaBarra();
  void leidosDeLaBase();
  void baseSinTablaNoTieneLimites();
  void planillaMarcaAlCargarYAlGuardar();
};

void PruebaLimites::juzgar_data() {
  QTest::addColumn<QString>("tipo");
  QTest::addColumn<QString>("campo");
  QTest::addColumn<QDate>("fecha");
  QTest::addColumn<QString>("valor");
  QTest::addColumn<Veredicto>("veredicto");
  QTest::addColumn<Lado>("lado");
  QTest::addColumn<double>("cota");
  QTest::addColumn<QDate>("vigente");  // of the row that judged; invalid for none

  const QDate marzo(2026, 3, 2);
  const QDate antes(2025, 12, 31);
  const QDate nunca;
  const auto fila = [](const char* nombre, const char* tipo, const char* campo, QDate fecha,
                       const char* valor, Veredicto v, Lado l, double cota, QDate vigente) {
    QTest::newRow(nombre) << QString::fromUtf8(tipo) << QString::fromUtf8(campo) << fecha
                          << QString::fromUtf8(valor) << v << l << cota << vigente;
  };
  using V = Veredicto;
  using L = Lado;
  fila("dentro", "0000", "HUMEDAD", marzo, "14,2", V::Dentro, L::Ninguno, 0, kContrato);
  fila("en la cota de aviso", "0000", "HUMEDAD", marzo, "14,5", V::Dentro, L::Ninguno, 0,
       kContrato);
  fila("aviso", "0000", "HUMEDAD", marzo, "14,6", V::Aviso, L::Arriba, 14.5, kContrato);
  fila("en el máximo", "0000", "HUMEDAD", marzo, "15,0", V::Aviso, L::Arriba, 14.5, kContrato);
  fila("fuera", "0000", "HUMEDAD", marzo, "15,3", V::Fuera, L::Arriba, 15.0, kContrato);
  fila("con punto", "0000", "HUMEDAD", marzo, " 15.3 ", V::Fuera, L::Arriba, 15.0, kContrato);
  fila("vacío", "0000", "HUMEDAD", marzo, "", V::SinJuicio, L::Ninguno, 0, nunca);
  fila("blancos", "0000", "HUMEDAD", marzo, "   ", V::SinJuicio, L::Ninguno, 0, nunca);
  fila("no es número", "0000", "HUMEDAD", marzo, "n/d", V::SinJuicio, L::Ninguno, 0, nunca);
  fila("no es finito", "0000", "HUMEDAD", marzo, "inf", V::SinJuicio, L::Ninguno, 0, nunca);
  fila("tipo sin límites", "Especial", "HUMEDAD", marzo, "15,3", V::SinJuicio, L::Ninguno, 0,
       nunca);
  fila("columna sin límites", "0000", "HUMEDO", marzo, "40", V::SinJuicio, L::Ninguno, 0, nunca);
  fila("tipo sin mayúsculas", "integral ", "SECO", marzo, "7,5", V::Fuera, L::Abajo, 8, kContrato);
  fila("campo en minúsculas", " 0000", "humedad", marzo, "15,3", V::Fuera, L::Arriba, 15.0,
       kContrato);
  fila("sin máximo", "Integral", "SECO", marzo, "50", V::Dentro, L::Ninguno, 0, kContrato);
  fila("antes de todo límite", "0000", "HUMEDAD", antes, "15,3", V::SinJuicio, L::Ninguno, 0,
       nunca);
  fila("límite anterior", "0000", "CENIZAS", antes, "0,500", V::Dentro, L::Ninguno, 0,
       QDate(2020, 1, 1));
  fila("límite nuevo el mismo día", "0000", "CENIZAS", kContrato, "0,500", V::Fuera, L::Arriba,
       0.492, kContrato);
  fila("límite nuevo después", "0000", "CENIZAS", marzo, "0,492", V::Dentro, L::Ninguno, 0,
       kContrato);
  fila("bajo el mínimo", "000", "FALLINGNUMBER", marzo, "240", V::Fuera, L::Abajo, 250, kContrato);
  fila("aviso bajo", "000", "FALLINGNUMBER", marzo, "270", V::Aviso, L::Abajo, 280, kContrato);
  fila("en el mínimo", "000", "FALLINGNUMBER", marzo, "250", V::Aviso, L::Abajo, 280, kContrato);
  fila("sobre el máximo", "000", "FALLINGNUMBER", marzo, "401", V::Fuera, L::Arriba, 400,
       kContrato);
  fila("otro tipo no juzga", "0000", "FALLINGNUMBER", marzo, "240", V::SinJuicio, L::Ninguno, 0,
       nunca);
}

void PruebaLimites::juzgar() {
  QFETCH(QString, tipo);
  QFETCH(QString, campo);
  QFETCH(QDate, fecha);
  QFETCH(QString, valor);
  QFETCH(Veredicto, veredicto);
  QFETCH(Lado, lado);
  QFETCH(double, cota);
  QFETCH(QDate, vigente);
  const Juicio juicio = Juzgar(Especificacion(), tipo, campo, fecha, valor);
  QCOMPARE(juicio.veredicto, veredicto);
  QCOMPARE(juicio.lado, lado);
  if (lado != Lado::Ninguno) QCOMPARE(juicio.cota, cota);
  QCOMPARE(juicio.limite.has_value(), vigente.isValid());
  if (juicio.limite) QCOMPARE(juicio.limite->vigenteDesde, vigente);
  // The rows of one day, as the sheet keeps them: the same verdict.
  const Juicio delDia = LimitesDelDia(Especificacion(), fecha).Juzgar(tipo, campo, valor);
  QCOMPARE(delDia.veredicto, veredicto);
  QCOMPARE(delDia.lado, lado);
  QCOMPARE(delDia.limite.has_value(), vigente.isValid());
  if (delDia.limite) QCOMPARE(delDia.limite->vigenteDesde, vigente);
}

void PruebaLimites::describir_data() {
  QTest::addColumn<int>("fila");
  QTest::addColumn<QString>("separador");
  QTest::addColumn<QString>("texto");
  QTest::newRow("máximo y aviso") << 1 << QStringLiteral(",")
                                  << QStringLiteral(
                                         "0000 · HUMEDAD: máx. 15,0 · aviso > 14,5 · "
                                         "vigente desde 01/01/2026");
  QTest::newRow("con punto") << 2 << QStringLiteral(".")
                             << QStringLiteral(
                                    "0000 · CENIZAS: máx. 0.492 · vigente desde "
                                    "01/01/2026");
  QTest::newRow("enteros") << 3 << QStringLiteral(",")
                           << QStringLiteral(
                                  "000 · FALLING NUMBER: mín. 250 · máx. 400 · aviso "
                                  "< 280 · vigente desde 01/01/2026");
  QTest::newRow("un solo lado") << 4 << QStringLiteral(",")
                                << QStringLiteral(
                                       "Integral · GLUTEN SECO: mín. 8 · vigente desde "
                                       "01/01/2026");
}

void PruebaLimites::describir() {
  QFETCH(int, fila);
  QFETCH(QString, separador);
  QFETCH(QString, texto);
  QCOMPARE(DescribirLimite(Especificacion().at(fila), separador), texto);
}

void PruebaLimites::marcas() {
  QCOMPARE(Marca(Lado::Arriba), QStringLiteral("▲"));
  QCOMPARE(Marca(Lado::Abajo), QStringLiteral("▼"));
  QCOMPARE(Marca(Lado::Ninguno), QString());
}

void PruebaLimites::lineaDeLaBarra() {
  const QDate marzo(2026, 3, 2);
  const auto linea = [&](const char* tipo, const char* campo, const char* valor) {
    return LineaFuera(Juzgar(Especificacion(), QString::fromUtf8(tipo), QString::fromUtf8(campo),
                             marzo, QString::fromUtf8(valor)),
                      QStringLiteral("COLUMNA"), QString::fromUtf8(valor), QStringLiteral(","));
  };
  QCOMPARE(linea("000", "FALLINGNUMBER", "240"),
           QStringLiteral("COLUMNA 240 fuera de especificación (mín. 250) para 000"));
  QCOMPARE(linea(" 0000", "CENIZAS", "0,5"),
           QStringLiteral("COLUMNA 0,5 fuera de especificación (máx. 0,492) para 0000"));
  QCOMPARE(linea("000", "FALLINGNUMBER", "270"), QString());  // a warning only
  QCOMPARE(linea("000", "FALLINGNUMBER", "300"), QString());
  QCOMPARE(linea("Especial", "FALLINGNUMBER", "100"), QString());
}

void PruebaLimites::leidosDeLaBase() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  e.Ejecutar(QStringLiteral(
      "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, "
      "vigente_desde) VALUES ('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2026-01-01'), "
      "('000', 'FALLINGNUMBER', 250, 400, 280, NULL, '2025-07-15'), "
      "('0000', 'CENIZAS', NULL, 0.492, NULL, NULL, '2026-01-01')"));
  const QList<Limite> limites = LeerLimites(LibDatos::Instancia().Conexion());
  QCOMPARE(limites.size(), 3);
  for (const Limite& limite : limites) {
    if (limite.campo == QLatin1String("HUMEDAD")) {
      QCOMPARE(limite.tipoHarina, QStringLiteral("0000"));
      QVERIFY(!limite.minimo && !limite.avisoMinimo);
      QCOMPARE(limite.maximo.value_or(0), 15.0);
      QCOMPARE(limite.avisoMaximo.value_or(0), 14.5);
      QCOMPARE(limite.vigenteDesde, kContrato);
    } else if (limite.campo == QLatin1String("FALLINGNUMBER")) {
      QCOMPARE(limite.minimo.value_or(0), 250.0);
      QCOMPARE(limite.maximo.value_or(0), 400.0);
      QCOMPARE(limite.avisoMinimo.value_or(0), 280.0);
      QVERIFY(!limite.avisoMaximo);
      QCOMPARE(limite.vigenteDesde, QDate(2025, 7, 15));
    } else {
      QCOMPARE(limite.campo, QStringLiteral("CENIZAS"));
      QCOMPARE(limite.maximo.value_or(0), 0.492);
    }
  }
  const Juicio juicio = Juzgar(limites, QStringLiteral("0000"), QStringLiteral("HUMEDAD"),
                               QDate(2026, 3, 2), QStringLiteral("15,3"));
  QCOMPARE(juicio.veredicto, Veredicto::Fuera);
  QCOMPARE(DescribirLimite(*juicio.limite, QStringLiteral(",")),
           QStringLiteral("0000 · HUMEDAD: máx. 15,0 · aviso > 14,5 · vigente desde 01/01/2026"));
}

void PruebaLimites::baseSinTablaNoTieneLimites() {
  EntornoPrueba e;
  REQUIERE_ENTORNO(e);
  QVERIFY(e.Iniciar());
  // As a database of the first version, opened only to be read, has it.
  e.Ejecutar(QStringLiteral("DROP TABLE ta_limites"));
  QVERIFY(LeerLimites(LibDatos::Instancia().Conexion()).isEmpty());
}

namespace {

QVariant Rol(frmHarina& w, int fila, int columna, int rol) {
  Grilla& grilla = *w.MSflexGrid1;
  return grilla.model()->data(grilla.model()->index(fila - grilla.FixedRows(), columna), rol);
}

}  // namespace

void PruebaLimites::planillaMarcaAlCargarYAlGuardar() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  // Moisture of 0000 limited since before the test day; its ash only after it.
  e.Ejecutar(QStringLiteral(
      "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, "
      "vigente_desde) VALUES ('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2004-01-01'), "
      "('0000', 'CENIZAS', NULL, 0.492, NULL, NULL, '2004-04-01')"));
  Sembrar(e, "06:00:00", QStringLiteral("tipo_harina='0000 '"));
  e.Ejecutar(QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 15.3, CENIZAS = 0.6"));
  Sembrar(e, "07:00:00", QStringLiteral("tipo_harina='000'"));
  e.Ejecutar(QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 15.3 WHERE HUMEDAD IS NULL"));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  Grilla& grilla = *w.MSflexGrid1;
  constexpr int kHumedad = 7;
  constexpr int kCenizas = 8;
  constexpr int kColor = 9;

  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Fuera);
  QCOMPARE(grilla.AyudaDeCelda(2, kHumedad),
           QStringLiteral("Fuera de especificación ▲\n0000 · HUMEDAD: máx. 15,0 · aviso > 14,5 · "
                          "vigente desde 01/01/2004"));
  QCOMPARE(Rol(w, 2, kHumedad, Qt::BackgroundRole).value<QColor>(), QColor(255, 190, 190));
  QVERIFY(Rol(w, 2, kHumedad, Qt::FontRole).value<QFont>().bold());
  QVERIFY(Rol(w, 2, kHumedad, Qt::AccessibleTextRole)
              .toString()
              .endsWith(QStringLiteral("15,3, Fuera de especificación ▲")));
  // A limit not yet in force on the day, and a flour type without limits.
  QCOMPARE(grilla.JuicioEn(2, kCenizas), Veredicto::SinJuicio);
  QCOMPARE(grilla.JuicioEn(3, kHumedad), Veredicto::SinJuicio);
  QVERIFY(!Rol(w, 3, kHumedad, Qt::BackgroundRole).isValid());
  QVERIFY(!Rol(w, 3, kHumedad, Qt::FontRole).isValid());

  // A value typed over it is judged the moment it is stored.
  IrA(w, 2, kHumedad);
  Teclear(QStringLiteral("14,7"));
  Tecla(Qt::Key_Return);
  QCOMPARE(grilla.TextMatrix(2, kHumedad), QStringLiteral("14,7"));
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Aviso);
  QCOMPARE(Rol(w, 2, kHumedad, Qt::BackgroundRole).value<QColor>(), QColor(255, 221, 140));
  const QStatusBar* barra = w.findChild<QStatusBar*>(QStringLiteral("barraEstado"));
  QVERIFY(barra);
  QCOMPARE(barra->currentMessage(), PistaDelEstado(true));
  // Stored out of its limits: stored all the same, and the status bar says so.
  IrA(w, 2, kHumedad);
  Teclear(QStringLiteral("15,4"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, Claves(e).at(0), QStringLiteral("HUMEDAD"))),
           QStringLiteral("15.4"));
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Fuera);
  QCOMPARE(barra->currentMessage(),
           QStringLiteral("HUMEDAD 15,4 fuera de especificación (máx. 15,0) para 0000"));
  IrA(w, 2, kHumedad);
  Teclear(QStringLiteral("14.2"));
  Tecla(Qt::Key_Return);
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Dentro);
  QVERIFY(!Rol(w, 2, kHumedad, Qt::BackgroundRole).isValid());
  QVERIFY(grilla.AyudaDeCelda(2, kHumedad).startsWith(QStringLiteral("Dentro de especificación")));
  QCOMPARE(barra->currentMessage(), PistaDelEstado(true));

  // A text stored in the row leaves its verdicts as they were.
  IrA(w, 2, kColor);
  Teclear(QStringLiteral("Crema"));
  Tecla(Qt::Key_Return);
  QCOMPARE(Normalizado(Leer(e, Claves(e).at(0), QStringLiteral("COLOR"))), QStringLiteral("Crema"));
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Dentro);
  QVERIFY(grilla.AyudaDeCelda(2, kHumedad).startsWith(QStringLiteral("Dentro de especificación")));
  // So does another number judged on its own (its limit is not yet in force).
  IrA(w, 2, kCenizas);
  Teclear(QStringLiteral("0,7"));
  Tecla(Qt::Key_Return);
  QCOMPARE(grilla.TextMatrix(2, kCenizas), QStringLiteral("0,7"));
  QCOMPARE(grilla.JuicioEn(2, kCenizas), Veredicto::SinJuicio);
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Dentro);

  // A new flour type judges its whole row.
  IrA(w, 3, 1);
  Teclear(QStringLiteral("0000"));
  Tecla(Qt::Key_Return);
  QCOMPARE(grilla.TextMatrix(3, 1), QStringLiteral("0000"));
  QCOMPARE(grilla.JuicioEn(3, kHumedad), Veredicto::Fuera);
  QCOMPARE(barra->currentMessage(),
           QStringLiteral("HUMEDAD 15,3 fuera de especificación (máx. 15,0) para 0000"));
  QCOMPARE(e.operador().preguntas.size(), 0);
}

QTEST_MAIN(PruebaLimites)
#include "test_limites.moc"
