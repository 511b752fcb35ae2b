// The certificate of analysis: what ArmarCertificado says of each value, and
// Shift+F6 at the real window writing it through [Reportes]
// SalidaCertificado, read back with pdftotext (a lot out of its limits and
// a conforming one); Shift+F6 where there is nothing to certify, and plain F6
// still printing the report. Runs on SQLite and on PostgreSQL.

#include <QFile>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTest>

#include "analisis/columnas.h"
#include "report/certificado.h"
#include "sheet/barra_estado.h"
#include "soporte/planilla_prueba.h"
#include "soporte/reporte_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

// 0000 from the start of the year: moisture at most 15.0 (warning above
// 14.5), ash at most 0.492, wet gluten 24 to 34, falling number 250 to 400.
const QString kLimites = QStringLiteral(
    "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, "
    "vigente_desde) VALUES ('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2004-01-01'), "
    "('0000', 'CENIZAS', NULL, 0.492, NULL, NULL, '2004-01-01'), "
    "('0000', 'HUMEDO', 24, 34, NULL, NULL, '2004-01-01'), "
    "('0000', 'FALLINGNUMBER', 250, 400, NULL, NULL, '2004-01-01')");

// An analysis of the test day with those values (one "COLUMN = value, ..."
// text); its key.
qint64 Analisis(EntornoPrueba& e, const QString& horario, const QString& valores) {
  const qint64 id = Sembrar(e, horario);
  e.Ejecutar(QStringLiteral("UPDATE v_mv_zentalia SET %1 WHERE ID = %2").arg(valores).arg(id));
  return id;
}

bool Hay(const QString& texto, const QString& patron) {
  return QRegularExpression(patron).match(texto).hasMatch();
}

QString Barra(frmHarina& w) {
  const auto* barra = w.findChild<QStatusBar*>(QStringLiteral("barraEstado"));
  return barra ? barra->currentMessage() : QStringLiteral("<sin barra>");
}

// A started window whose certificates go to certificado.pdf.
struct VentanaCertificado : VentanaIniciada {
  QString salida;
  VentanaCertificado() {
    salida = entorno.Carpeta() + QStringLiteral("/certificados/certificado.pdf");
    entorno.EscribirIni(QStringLiteral("[Reportes]\nSalidaCertificado=") + salida +
                        QLatin1Char('\n'));
  }
};

}  // namespace

class PruebaCertificado : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void dictamenes_data();
  void dictamenes();
  void loteFueraDeEspecificacion();
  void loteConforme();
  void nadaQueCertificar_data();
  void nadaQueCertificar();
};

void PruebaCertificado::dictamenes_data() {
  QTest::addColumn<QString>("tipo");
  QTest::addColumn<QString>("campo");
  QTest::addColumn<QString>("valor");
  QTest::addColumn<QString>("especificacion");
  QTest::addColumn<QString>("dictamen");
  QTest::addColumn<QString>("veredicto");
  const auto fila = [](const char* nombre, const char* tipo, const char* campo, const char* valor,
                       const char* especificacion, const char* dictamen, const char* veredicto) {
    QTest::newRow(nombre) << QString::fromUtf8(tipo) << QString::fromUtf8(campo)
                          << QString::fromUtf8(valor) << QString::fromUtf8(especificacion)
                          << QString::fromUtf8(dictamen) << QString::fromUtf8(veredicto);
  };
  fila("encima", "0000", "HUMEDAD", "15,3", "máx. 15,0", "No conforme",
       "No cumple: HUMEDAD 15,3 (máx. 15,0)");
  fila("debajo", "0000", "FALLINGNUMBER", "240", "250 – 400", "No conforme",
       "No cumple: FALLING NUMBER 240 (mín. 250)");
  fila("aviso", "0000", "HUMEDAD", "14,8", "máx. 15,0", "Conforme",
       "El lote cumple la especificación");
  fila("enLaCota", "0000", "HUMEDO", "34", "24 – 34", "Conforme",
       "El lote cumple la especificación");
  fila("vacio", "0000", "HUMEDAD", "", "máx. 15,0", "",
       "Sin especificación vigente para 0000: ningún valor fue juzgado");
  fila("sinLimite", "0000", "SECO", "10", "", "Sin especificación",
       "Sin especificación vigente para 0000: ningún valor fue juzgado");
  fila("texto", "0000", "COLOR", "Blanco", "", "Sin especificación",
       "Sin especificación vigente para 0000: ningún valor fue juzgado");
  fila("otroTipo", "Integral", "HUMEDAD", "15,3", "", "Sin especificación",
       "Sin especificación vigente para Integral: ningún valor fue juzgado");
}

void PruebaCertificado::dictamenes() {
  QFETCH(QString, tipo);
  QFETCH(QString, campo);
  QFETCH(QString, valor);
  QFETCH(QString, especificacion);
  QFETCH(QString, dictamen);
  QFETCH(QString, veredicto);
  const QDate dia(2004, 3, 15);
  const QList<Limite> limites = {
      {"0000", "HUMEDAD", {}, 15.0, {}, 14.5, QDate(2004, 1, 1)},
      {"0000", "HUMEDO", 24, 34, {}, {}, QDate(2004, 1, 1)},
      {"0000", "FALLINGNUMBER", 250, 400, {}, {}, QDate(2004, 1, 1)},
      // Not yet in force on the day.
      {"0000", "SECO", 8, 12, {}, {}, QDate(2004, 4, 1)},
  };
  AnalisisCertificado analisis{QStringLiteral("Molino"), dia, QStringLiteral("ana"),
                               QStringList(11, QString())};
  analisis.celdas[0] = tipo;
  analisis.celdas[CampoPorNombre(QStringLiteral("HORARIO"))->indice - 1] = "08:30:00";
  const ColumnaAnalisis* columna = CampoPorNombre(campo);
  analisis.celdas[columna->indice - 1] = valor;
  const Certificado c = ArmarCertificado(analisis, limites, QStringLiteral(","));

  QCOMPARE(c.tipoHarina, tipo);
  QCOMPARE(c.fecha, QStringLiteral("15/03/2004"));
  QCOMPARE(c.horario, QStringLiteral("08:30:00"));
  // Every analysis column but the flour type, the time and the remarks.
  QStringList filas;
  for (const RenglonCertificado& r : c.renglones) filas << r.analisis;
  QCOMPARE(filas,
           QStringList({"Gluten húmedo", "Gluten seco", "Caract. del gluten", "Falling number",
                        "Humedad", "Cenizas", "Color", "Control de pesaje"}));
  const RenglonCertificado& renglon = c.renglones.at(filas.indexOf(columna->tituloReporte));
  QCOMPARE(renglon.valor, valor);
  QCOMPARE(renglon.unidad, columna->unidad);
  QCOMPARE(renglon.especificacion, especificacion);
  QCOMPARE(renglon.dictamen, dictamen);
  QCOMPARE(c.veredicto, veredicto);
  QCOMPARE(c.cumple, veredicto == QStringLiteral("El lote cumple la especificación"));
  // The other rows: nothing measured, nothing judged.
  for (const RenglonCertificado& otro : c.renglones)
    if (&otro != &renglon) QCOMPARE(otro.dictamen, QString());
}

void PruebaCertificado::loteFueraDeEspecificacion() {
  VentanaCertificado v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  FijarEmpresa(e, QStringLiteral("Molino Harinero La Espiga S.A."));
  e.Ejecutar(kLimites);
  Analisis(e, QStringLiteral("06:00:00"),
           QStringLiteral("tipo_harina = '0000', HUMEDO = 28, FALLINGNUMBER = 300, "
                          "HUMEDAD = 15.3, CENIZAS = 0.6, OBSERVACIONES = 'Lote 118'"));
  Analisis(e, QStringLiteral("07:00:00"), QStringLiteral("tipo_harina = '0000', HUMEDAD = 14.2"));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 2, 3);
  Tecla(Qt::Key_F6, Qt::ShiftModifier);

  QCOMPARE(e.operador().preguntas.size(), 0);
  QCOMPARE(e.operador().informes, QStringList({"Certificado guardado en " + v.salida}));
  const QString texto = TextoPdf(v.salida);
  QCOMPARE(texto.count(QLatin1Char('\f')), 1);  // one page
  QVERIFY2(texto.contains(QStringLiteral("Molino Harinero La Espiga S.A.")), qPrintable(texto));
  QVERIFY(texto.contains(QStringLiteral("Certificado de Análisis")));
  QVERIFY(Hay(texto, "Tipo de harina:\\s+0000"));
  QVERIFY(Hay(texto, "Fecha de la muestra:\\s+15/03/2004"));
  QVERIFY(Hay(texto, "Hora de la muestra:\\s+06:00:00"));
  QVERIFY(Hay(texto, "Responsable:\\s+lab"));
  QVERIFY(Hay(texto, "Análisis\\s+Valor\\s+Unidad\\s+Especificación\\s+Dictamen"));
  QVERIFY(Hay(texto, "Gluten húmedo\\s+28\\s+g/100 g\\s+24 – 34\\s+Conforme"));
  QVERIFY(Hay(texto, "Gluten seco\\s+g/100 g\\s*\\n"));
  QVERIFY(Hay(texto, "Falling number\\s+300\\s+s\\s+250 – 400\\s+Conforme"));
  QVERIFY(Hay(texto, "Humedad\\s+15,3 ▲\\s+g/100 g\\s+máx\\. 15,0\\s+No conforme"));
  QVERIFY(Hay(texto, "Cenizas\\s+0,6 ▲\\s+g/100 g\\s+máx\\. 0,492\\s+No conforme"));
  QVERIFY(Hay(texto, "No cumple: HUMEDAD 15,3 \\(máx\\. 15,0\\); CENIZAS 0,6 \\(máx\\. 0,492\\)"));
  QVERIFY(!texto.contains(QStringLiteral("El lote cumple")));
  QVERIFY(Hay(texto, "Observaciones:\\s+Lote 118"));
  QVERIFY(texto.contains(QStringLiteral("Firma y aclaración")));
  QVERIFY2(Barra(w).startsWith(QStringLiteral("Certificado de 0000 06:00:00: No cumple: HUMEDAD")),
           qPrintable(Barra(w)));
  // Nothing was stored by it.
  QCOMPARE(Normalizado(Leer(e, Claves(e).at(0), QStringLiteral("HUMEDAD"))),
           QStringLiteral("15.3"));
}

void PruebaCertificado::loteConforme() {
  VentanaCertificado v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  e.Ejecutar(kLimites);
  Analisis(e, QStringLiteral("06:00:00"), QStringLiteral("tipo_harina = '0000', HUMEDAD = 15.3"));
  // Moisture in the warning band conforms.
  Analisis(e, QStringLiteral("07:00:00"),
           QStringLiteral("tipo_harina = '0000', HUMEDO = 24, HUMEDAD = 14.8, CENIZAS = 0.45, "
                          "COLOR = 'Blanco'"));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  IrA(w, 3, 1);
  Tecla(Qt::Key_F6, Qt::ShiftModifier);

  QCOMPARE(e.operador().preguntas.size(), 0);
  const QString texto = TextoPdf(v.salida);
  QVERIFY2(Hay(texto, "Hora de la muestra:\\s+07:00:00"), qPrintable(texto));
  QVERIFY(Hay(texto, "Humedad\\s+14,8\\s+g/100 g\\s+máx\\. 15,0\\s+Conforme"));
  QVERIFY(Hay(texto, "Cenizas\\s+0,45\\s+g/100 g\\s+máx\\. 0,492\\s+Conforme"));
  QVERIFY(Hay(texto, "Color\\s+Blanco\\s+Sin especificación"));
  QVERIFY(texto.contains(QStringLiteral("El lote cumple la especificación")));
  QVERIFY(!texto.contains(QStringLiteral("No conforme")));
  QVERIFY(!texto.contains(QStringLiteral("▲")));

  // Plain F6 still prints the day's report.
  Tecla(Qt::Key_F6);
  QCOMPARE(Avisos(e.operador(), QStringLiteral("vista previa")),
           QStringList({"Análisis de Harina: "}));
}

void PruebaCertificado::nadaQueCertificar_data() {
  QTest::addColumn<QString>("donde");
  QTest::addColumn<QString>("linea");
  QTest::newRow("sinPlanilla") << "sinPlanilla"
                               << "Sin planilla cargada no hay análisis que certificar: cargue un "
                                  "día y elija una fila.";
  QTest::newRow("filaNueva") << "filaNueva"
                             << "Esta fila no tiene valores: no hay nada que certificar.";
  QTest::newRow("sinTipo") << "sinTipo"
                           << "El análisis no tiene tipo de harina: escríbalo para certificarlo.";
}

void PruebaCertificado::nadaQueCertificar() {
  QFETCH(QString, donde);
  QFETCH(QString, linea);
  VentanaCertificado v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  e.Ejecutar(kLimites);
  Analisis(e, QStringLiteral("06:00:00"), QStringLiteral("HUMEDAD = 15.3"));
  frmHarina& w = v.ventana;
  if (donde != QLatin1String("sinPlanilla")) {
    CargarDia(w, kDia);
    IrA(w, 2, 3);
  }
  if (donde == QLatin1String("filaNueva")) Tecla(Qt::Key_Insert);
  const QStringList antes = Tabla(e);
  Tecla(Qt::Key_F6, Qt::ShiftModifier);

  QCOMPARE(Barra(w), linea);
  QVERIFY(!QFile::exists(v.salida));
  // Neither a certificate nor the report, and nothing asked or stored.
  QCOMPARE(e.operador().preguntas.size(), 0);
  QCOMPARE(e.operador().informes, QStringList());
  QCOMPARE(Tabla(e), antes);
}

QTEST_MAIN(PruebaCertificado)
#include "test_certificado.moc"
