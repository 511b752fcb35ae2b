// The limits editor "Especificaciones": a row of it read and checked (either
// decimal separator, empty for no bound, the refusals naming the column), the
// statements of a save, and the dialog at the real window on both engines:
// F9 opens it, keys type and save limits that read back from the database,
// every refusal writes nothing, a failed save leaves the table as it was, and
// a save judges the loaded day again at once while earlier analyses keep the
// limits they were judged by.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QLocale>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "analisis/especificacion.h"
#include "analisis/lector_limites.h"
#include "services/auditoria.h"
#include "services/lib_datos.h"
#include "services/util_kor.h"
#include "session/estado_sesion.h"
#include "sheet/especificaciones.h"
#include "sheet/grilla.h"
#include "soporte/entorno_prueba.h"
#include "soporte/planilla_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

constexpr int kHumedad = 7;  // the grid column

// The editor's row of a field.
int FilaDe(const char* campo) {
  const QList<const ColumnaAnalisis*> columnas = ColumnasConLimites();
  for (int fila = 0; fila < columnas.size(); ++fila)
    if (columnas[fila]->campo == QLatin1String(campo)) return fila;
  return -1;
}

// Every row of ta_limites as "tipo|campo|mínimo|máximo|aviso mínimo|aviso
// máximo|vigente desde", in order.
// The trail's record of the limits, "field|before|after|operator", oldest
// first; the rows of each save are read and then forgotten.
QStringList Registro(EntornoPrueba& e, qint64& visto) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral("SELECT ID, campo, valor_anterior, valor_nuevo, operador, tabla "
                               "FROM ta_auditoria WHERE accion = 'especificacion' AND ID > %1 "
                               "ORDER BY ID")
                    .arg(visto));
  QStringList filas;
  while (consulta.next()) {
    visto = consulta.value(0).toLongLong();
    filas << QStringList{consulta.value(1).toString(), consulta.value(2).toString(),
                         consulta.value(3).toString(), consulta.value(4).toString(),
                         consulta.value(5).toString()}
                 .join(QLatin1Char('|'));
  }
  return filas;
}

QStringList FilasDeLimites(EntornoPrueba& e) {
  QSqlQuery consulta(e.Otra());
  consulta.exec(QStringLiteral(
      "SELECT tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo, vigente_desde "
      "FROM ta_limites ORDER BY tipo_harina, campo, vigente_desde"));
  QStringList filas;
  while (consulta.next()) {
    QStringList fila;
    for (int c = 0; c < 6; ++c) fila << Normalizado(consulta.value(c));
    const QVariant dia = consulta.value(6);
    fila << (dia.typeId() == QMetaType::QDate ? dia.toDate().toString(Qt::ISODate)
                                              : dia.toString().left(10));
    filas << fila.join(QLatin1Char('|'));
  }
  return filas;
}

void Limitar(EntornoPrueba& e, const QString& valores) {
  e.Ejecutar(QStringLiteral("INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, "
                            "aviso_minimo, aviso_maximo, vigente_desde) VALUES ") +
             valores);
}

QTableWidget& Cotas(QDialog& d) { return *d.findChild<QTableWidget*>(QStringLiteral("Limites")); }

// In the editor, by keys: the flour type chosen in its list, then the focus
// in the table.
void ElegirTipo(QDialog& d, const QString& tipo) {
  auto* tipos = d.findChild<QComboBox*>(QStringLiteral("TipoHarina"));
  tipos->setFocus();
  Tecla(Qt::Key_Home);
  for (int i = 0; i < tipos->count() && tipos->currentText() != tipo; ++i) Tecla(Qt::Key_Down);
  QCOMPARE(tipos->currentText(), tipo);
}

// The table's cursor on the row of a field and a bound (0 mínimo ... 3 aviso
// máximo), moved by keys from the top left cell.
void IrACota(QDialog& d, const char* campo, int cota) {
  QTableWidget& tabla = Cotas(d);
  tabla.setFocus();
  Tecla(Qt::Key_Home, Qt::ControlModifier);
  const int fila = FilaDe(campo);
  QVERIFY(fila >= 0);
  for (int i = 0; i < fila; ++i) Tecla(Qt::Key_Down);
  for (int i = 0; i < cota; ++i) Tecla(Qt::Key_Right);
  QCOMPARE(tabla.currentRow(), fila);
  QCOMPARE(tabla.currentColumn(), cota);
}

// Types a bound over the current cell and confirms it with Tab.
void Escribir(const QString& texto) {
  Teclear(texto);
  Tecla(Qt::Key_Tab);
}

void Guardar() { Tecla(Qt::Key_G, Qt::ControlModifier); }

// F9 on the sheet window: the editor runs its script, and once it is closed
// the window is active again, as the platform gives it back.
void AbrirEditor(frmHarina& w) {
  Tecla(Qt::Key_F9);
  QVERIFY(QTest::qWaitForWindowActive(&w));
}

QString Celda(QDialog& d, const char* campo, int cota) {
  const QTableWidgetItem* celda = Cotas(d).item(FilaDe(campo), cota);
  return celda ? celda->text() : QString();
}

}  // namespace

class PruebaEspecificaciones : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain)); }
  void filaLeida_data();
  void filaLeida();
  void vigenteDesde();
  void filasAGuardar();
  void sentencias();
  void tipos();
  void f9AbreElEditor();
  void tecladoGuardaYSeLee();
  void teclasDeLaTabla();
  void rechazos_data();
  void rechazos();
  void fallaDejaLaTablaComoEstaba();
  void vigenteNuevoJuzgaElDiaCargado();
  void escPreguntaAntesDeDescartar();
};

void PruebaEspecificaciones::filaLeida_data() {
  QTest::addColumn<QString>("campo");
  QTest::addColumn<QStringList>("textos");  // mínimo, máximo, aviso mínimo, aviso máximo
  QTest::addColumn<QString>("leida");       // the bounds read, or the refusal's first line
  const auto fila = [](const char* nombre, const char* campo, QStringList textos,
                       const char* leida) {
    QTest::newRow(nombre) << QString::fromLatin1(campo) << textos << QString::fromUtf8(leida);
  };
  fila("coma", "HUMEDAD", {"", "15,0", "", "14,5"}, "-|15|-|14.5");
  fila("punto", "HUMEDAD", {"", " 15.0 ", "", "14.5"}, "-|15|-|14.5");
  fila("vacía", "CENIZAS", {"", "", "", ""}, "-|-|-|-");
  fila("todas", "FALLINGNUMBER", {"250", "400", "280", "380"}, "250|400|280|380");
  fila("aviso en las cotas", "SECO", {"8", "12", "8", "12"}, "8|12|8|12");
  fila("no es número", "HUMEDAD", {"", "15,x", "", ""},
       "Máximo de HUMEDAD: «15,x» no es un número: la columna HUMEDAD solo admite números, con "
       "coma o punto decimal (por ejemplo 12,5).");
  fila("aviso no es número", "CENIZAS", {"", "", "n/d", ""},
       "Aviso mínimo de CENIZAS: «n/d» no es un número: la columna CENIZAS solo admite números, "
       "con coma o punto decimal (por ejemplo 12,5).");
  fila("mínimo sobre el máximo", "HUMEDO", {"34", "24", "", ""},
       "GLUTEN HÚMEDO: el mínimo (34) es mayor que el máximo (24).");
  fila("aviso bajo el mínimo", "SECO", {"8", "12", "7,5", ""},
       "GLUTEN SECO: el aviso mínimo (7,5) está por debajo del mínimo (8): la banda de aviso "
       "debe quedar dentro de los límites.");
  fila("aviso sobre el máximo", "HUMEDAD", {"", "15", "", "15.5"},
       "HUMEDAD: el aviso máximo (15,5) está por encima del máximo (15): la banda de aviso debe "
       "quedar dentro de los límites.");
  fila("aviso mínimo sobre el máximo", "FALLINGNUMBER", {"", "400", "420", ""},
       "FALLING NUMBER: el aviso mínimo (420) está por encima del máximo (400): la banda de "
       "aviso debe quedar dentro de los límites.");
  fila("aviso máximo bajo el mínimo", "FALLINGNUMBER", {"250", "", "", "200"},
       "FALLING NUMBER: el aviso máximo (200) está por debajo del mínimo (250): la banda de "
       "aviso debe quedar dentro de los límites.");
  fila("avisos cruzados", "CONTROLPESAJE", {"", "", "30", "20"},
       "CONTROL PESAJE: el aviso mínimo (30) es mayor que el aviso máximo (20).");
}

void PruebaEspecificaciones::filaLeida() {
  QFETCH(QString, campo);
  QFETCH(QStringList, textos);
  QFETCH(QString, leida);
  const FilaLeida fila = LeerFilaDeLimites(
      *CampoPorNombre(campo), {textos[0], textos[1], textos[2], textos[3]}, QStringLiteral(","));
  if (!fila.valida) {
    QVERIFY(fila.motivo.endsWith(QStringLiteral("\nNo se guardó nada.")));
    QCOMPARE(fila.motivo.section(QLatin1Char('\n'), 0, 0), leida);
    return;
  }
  const auto cota = [](const std::optional<double>& valor) {
    return valor ? QString::number(*valor, 'g', 15) : QStringLiteral("-");
  };
  QCOMPARE(fila.limite.campo, campo);
  QCOMPARE(QStringList({cota(fila.limite.minimo), cota(fila.limite.maximo),
                        cota(fila.limite.avisoMinimo), cota(fila.limite.avisoMaximo)})
               .join(QLatin1Char('|')),
           leida);
}

void PruebaEspecificaciones::vigenteDesde() {
  QString motivo;
  QCOMPARE(LeerVigenteDesde(QStringLiteral(" 10/03/2004 "), &motivo), QDate(2004, 3, 10));
  QVERIFY(motivo.isEmpty());
  for (const char* texto : {"31/02/2026", "hoy", ""}) {
    QVERIFY(!LeerVigenteDesde(QString::fromUtf8(texto), &motivo));
    QVERIFY2(motivo.startsWith(QStringLiteral("Vigente desde: «%1» no es una fecha válida.")
                                   .arg(QString::fromUtf8(texto))),
             qPrintable(motivo));
  }
}

void PruebaEspecificaciones::filasAGuardar() {
  const QDate enero(2026, 1, 1);
  const QDate marzo(2026, 3, 1);
  const QList<Limite> existentes{
      {QStringLiteral("0000 "), QStringLiteral("HUMEDAD"), {}, 15.0, {}, 14.5, enero},
      {QStringLiteral("0000"), QStringLiteral("CENIZAS"), {}, 0.492, {}, {}, marzo},
      {QStringLiteral("000"), QStringLiteral("SECO"), 8, 12, {}, {}, enero},
  };
  const auto tecleada = [](const char* campo, std::optional<double> maximo) {
    return Limite{{}, QString::fromLatin1(campo), {}, maximo, {}, {}, {}};
  };
  // HUMEDAD emptied (held since January): a row without bounds lifts it.
  // CENIZAS emptied where only a row of the same date held it: that row is
  // replaced, nothing to lift. SECO held for another type only.
  const QList<Limite> filas = FilasAGuardar(existentes, QStringLiteral("0000"), marzo,
                                            {tecleada("HUMEDO", 34), tecleada("SECO", {}),
                                             tecleada("HUMEDAD", {}), tecleada("CENIZAS", {})});
  QCOMPARE(filas.size(), 2);
  QCOMPARE(filas[0].campo, QStringLiteral("HUMEDO"));
  QCOMPARE(filas[0].maximo.value_or(0), 34.0);
  QCOMPARE(filas[0].tipoHarina, QStringLiteral("0000"));
  QCOMPARE(filas[0].vigenteDesde, marzo);
  QCOMPARE(filas[1].campo, QStringLiteral("HUMEDAD"));
  QVERIFY(!filas[1].minimo && !filas[1].maximo && !filas[1].avisoMinimo && !filas[1].avisoMaximo);
  // Such a row judges nothing from its date; before it the old one judges.
  QList<Limite> despues = existentes;
  despues.append(filas[1]);
  QCOMPARE(Juzgar(despues, QStringLiteral("0000"), QStringLiteral("HUMEDAD"), marzo,
                  QStringLiteral("16"))
               .veredicto,
           Veredicto::SinJuicio);
  QCOMPARE(Juzgar(despues, QStringLiteral("0000"), QStringLiteral("HUMEDAD"), marzo.addDays(-1),
                  QStringLiteral("16"))
               .veredicto,
           Veredicto::Fuera);
}

void PruebaEspecificaciones::sentencias() {
  const QList<Limite> filas{{{}, QStringLiteral("HUMEDAD"), {}, 15.3, {}, 14.5, {}}};
  QCOMPARE(SentenciasDeLimites(Dialecto(Motor::Postgresql), QStringLiteral(" O'Brien "),
                               QDate(2026, 3, 1), filas),
           QStringList({QStringLiteral("DELETE FROM ta_limites WHERE "
                                       "UPPER(LTRIM(RTRIM(tipo_harina))) = UPPER('O''Brien') AND "
                                       "vigente_desde >= '2026-03-01' AND vigente_desde < "
                                       "'2026-03-02'"),
                        QStringLiteral("INSERT INTO ta_limites (tipo_harina, campo, minimo, "
                                       "maximo, aviso_minimo, aviso_maximo, vigente_desde) VALUES "
                                       "('O''Brien', 'HUMEDAD', NULL, 15.3, NULL, 14.5, "
                                       "'2026-03-01')")}));
  QVERIFY(
      SentenciasDeLimites(Dialecto(Motor::SqlServer), QStringLiteral("0000"), QDate(2026, 3, 1), {})
          .at(0)
          .startsWith(QStringLiteral("DELETE ta_limites WHERE")));
}

void PruebaEspecificaciones::tipos() {
  QCOMPARE(TiposDeHarina({QStringLiteral("Integral"), QStringLiteral("0000")},
                         {QStringLiteral("0000 "), QStringLiteral("integral"), QStringLiteral("  "),
                          QStringLiteral("000"), QStringLiteral("Especial")}),
           QStringList({QStringLiteral("000"), QStringLiteral("0000"), QStringLiteral("Especial"),
                        QStringLiteral("Integral")}));
}

void PruebaEspecificaciones::f9AbreElEditor() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  const QString hoy = QDate::currentDate().toString(Qt::ISODate);
  // In force today: the latest row on or before today, not a later one.
  Limitar(e, QStringLiteral("('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2004-01-01'), "
                            "('0000', 'HUMEDAD', NULL, 14.8, NULL, NULL, '%1'), "
                            "('0000', 'HUMEDAD', NULL, 13.0, NULL, NULL, '2999-01-01'), "
                            "('0000', 'CENIZAS', NULL, 0.492, NULL, NULL, '2004-01-01')")
                 .arg(hoy));
  Sembrar(e, "06:00:00", QStringLiteral("tipo_harina='Especial'"));
  frmHarina& w = v.ventana;
  QToolButton* boton = w.UtilKor1->findChild<QToolButton*>(QStringLiteral("ESPECIFICACIONES"));
  QVERIFY(boton && boton->isEnabled());
  QCOMPARE(boton->text(), QStringLiteral("Especificaciones"));
  CargarDia(w, kDia);

  QStringList filas, tipos;
  QString vigente, humedad, cenizas;
  e.operador().consultas.enqueue([&](QDialog& d) {
    QCOMPARE(d.windowTitle(), QStringLiteral("Especificaciones"));
    QTableWidget& tabla = Cotas(d);
    for (int f = 0; f < tabla.rowCount(); ++f) filas << tabla.verticalHeaderItem(f)->text();
    auto* lista = d.findChild<QComboBox*>(QStringLiteral("TipoHarina"));
    for (int i = 0; i < lista->count(); ++i) tipos << lista->itemText(i);
    vigente = d.findChild<QLineEdit*>(QStringLiteral("VigenteDesde"))->text();
    ElegirTipo(d, QStringLiteral("0000"));
    humedad = Celda(d, "HUMEDAD", 1) + QLatin1Char('/') + Celda(d, "HUMEDAD", 3);
    cenizas = Celda(d, "CENIZAS", 1);
    Tecla(Qt::Key_Escape);
  });
  AbrirEditor(v.ventana);
  QCOMPARE(Avisos(e.operador(), QStringLiteral("consulta")),
           QStringList{QStringLiteral("Especificaciones: ")});
  // The number columns of the column table, with their units.
  QStringList esperadas;
  for (const ColumnaAnalisis* columna : ColumnasConLimites())
    esperadas << NombreColumna(*columna) + (columna->unidad.isEmpty()
                                                ? QString()
                                                : QStringLiteral(" (%1)").arg(columna->unidad));
  QCOMPARE(filas, esperadas);
  QCOMPARE(filas.size(), 6);
  QCOMPARE(filas.at(1), QStringLiteral("GLUTEN SECO (g/100 g)"));
  // A type of the analyses without limits yet is offered.
  QCOMPARE(tipos, QStringList({QStringLiteral("0000"), QStringLiteral("Especial")}));
  QCOMPARE(vigente, QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  QCOMPARE(humedad, QStringLiteral("14,8/"));
  QCOMPARE(cenizas, QStringLiteral("0,492"));
  QCOMPARE(e.operador().sinGuion, 0);

  // The button opens it as well, from the idle window too.
  Tecla(Qt::Key_F8);
  e.operador().consultas.enqueue([](QDialog&) { Tecla(Qt::Key_Escape); });
  boton->click();
  QVERIFY(QTest::qWaitForWindowActive(&w));
  QCOMPARE(Avisos(e.operador(), QStringLiteral("consulta")).size(), 2);
  QCOMPARE(e.operador().sinGuion, 0);
}

void PruebaEspecificaciones::tecladoGuardaYSeLee() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", QStringLiteral("tipo_harina='0000'"));
  Sembrar(e, "07:00:00", QStringLiteral("tipo_harina='Integral'"));
  // From the idle window: the editor needs no day loaded.
  const auto guardar = [&](const QString& dia, const std::function<void(QDialog&)>& teclas) {
    e.operador().consultas.enqueue([&, dia, teclas](QDialog& d) {
      ElegirTipo(d, QStringLiteral("0000"));
      teclas(d);
      auto* vigente = d.findChild<QLineEdit*>(QStringLiteral("VigenteDesde"));
      vigente->setFocus();
      vigente->selectAll();
      Teclear(dia);
      Guardar();
      QVERIFY(!d.isVisible());
    });
    AbrirEditor(v.ventana);
  };
  guardar(QStringLiteral("01/02/2004"), [](QDialog& d) {
    IrACota(d, "HUMEDAD", 1);
    Escribir(QStringLiteral("15,0"));  // máximo
    Tecla(Qt::Key_Right);
    Escribir(QStringLiteral("14.5"));  // aviso máximo
    IrACota(d, "FALLINGNUMBER", 0);
    Escribir(QStringLiteral("250"));
    Escribir(QStringLiteral("400"));
    Escribir(QStringLiteral("280"));
  });
  QCOMPARE(FilasDeLimites(e),
           QStringList({QStringLiteral("0000|FALLINGNUMBER|250|400|280|NULL|2004-02-01"),
                        QStringLiteral("0000|HUMEDAD|NULL|15|NULL|14.5|2004-02-01")}));
  QCOMPARE(e.operador().preguntas.size(), 1);  // the editor, nothing asked
  // Each bound that changed is in the trail, in the save's transaction,
  // signed as the sheet signs its changes.
  const QString quien = auditoria::Firmante(gUsuarioLogeado);
  qint64 visto = 0;
  QCOMPARE(Registro(e, visto),
           QStringList({"0000 FALLINGNUMBER minimo||250|" + quien + "|ta_limites",
                        "0000 FALLINGNUMBER maximo||400|" + quien + "|ta_limites",
                        "0000 FALLINGNUMBER aviso_minimo||280|" + quien + "|ta_limites",
                        "0000 HUMEDAD maximo||15|" + quien + "|ta_limites",
                        "0000 HUMEDAD aviso_maximo||14.5|" + quien + "|ta_limites"}));

  // The same date again: its rows replaced, the falling number emptied by
  // Delete goes, nothing before it to lift.
  guardar(QStringLiteral("1/2/2004"), [](QDialog& d) {
    IrACota(d, "HUMEDAD", 1);
    Escribir(QStringLiteral("15,2"));
    IrACota(d, "FALLINGNUMBER", 0);
    for (int i = 0; i < 3; ++i) {
      Tecla(Qt::Key_Delete);
      Tecla(Qt::Key_Right);
    }
  });
  QCOMPARE(FilasDeLimites(e),
           QStringList({QStringLiteral("0000|HUMEDAD|NULL|15.2|NULL|14.5|2004-02-01")}));
  // A row only taken away is recorded too; what did not change is not.
  QCOMPARE(Registro(e, visto),
           QStringList({"0000 FALLINGNUMBER minimo|250||" + quien + "|ta_limites",
                        "0000 FALLINGNUMBER maximo|400||" + quien + "|ta_limites",
                        "0000 FALLINGNUMBER aviso_minimo|280||" + quien + "|ta_limites",
                        "0000 HUMEDAD maximo|15|15.2|" + quien + "|ta_limites"}));

  // A later date keeps the earlier rows; a bound emptied from then on is a
  // row without bounds.
  guardar(QStringLiteral("01/03/2004"), [](QDialog& d) {
    IrACota(d, "HUMEDAD", 1);
    Tecla(Qt::Key_Delete);
    Tecla(Qt::Key_Right);
    Tecla(Qt::Key_Right);
    Tecla(Qt::Key_Delete);
    IrACota(d, "CENIZAS", 1);
    Escribir(QStringLiteral(",492"));
  });
  QCOMPARE(FilasDeLimites(e),
           QStringList({QStringLiteral("0000|CENIZAS|NULL|0.492|NULL|NULL|2004-03-01"),
                        QStringLiteral("0000|HUMEDAD|NULL|15.2|NULL|14.5|2004-02-01"),
                        QStringLiteral("0000|HUMEDAD|NULL|NULL|NULL|NULL|2004-03-01")}));
  QCOMPARE(e.operador().sinGuion, 0);
  QCOMPARE(Avisos(e.operador(), QStringLiteral("avisar")), QStringList());
}

void PruebaEspecificaciones::teclasDeLaTabla() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", QStringLiteral("tipo_harina='0000'"));
  QStringList celdas;
  QList<int> cursor;
  e.operador().consultas.enqueue([&](QDialog& d) {
    ElegirTipo(d, QStringLiteral("0000"));
    QTableWidget& tabla = Cotas(d);
    IrACota(d, "HUMEDO", 0);
    Teclear(QStringLiteral("24"));
    Tecla(Qt::Key_Return);  // on to the maximum
    Teclear(QStringLiteral("34"));
    Tecla(Qt::Key_Down);  // the dry gluten's maximum
    Teclear(QStringLiteral("12"));
    Tecla(Qt::Key_Backtab);  // its minimum, not being typed: Right moves
    Tecla(Qt::Key_Right);
    cursor << tabla.currentRow() << tabla.currentColumn();
    // The last cell goes no further.
    IrACota(d, "CONTROLPESAJE", 3);
    Teclear(QStringLiteral("26"));
    Tecla(Qt::Key_Tab);
    cursor << tabla.currentRow() << tabla.currentColumn();
    celdas << Celda(d, "HUMEDO", 0) << Celda(d, "HUMEDO", 1) << Celda(d, "SECO", 1)
           << Celda(d, "CONTROLPESAJE", 3);
    e.operador().confirmaciones.enqueue(true);
    Tecla(Qt::Key_Escape);
  });
  AbrirEditor(v.ventana);
  QCOMPARE(celdas, QStringList({QStringLiteral("24"), QStringLiteral("34"), QStringLiteral("12"),
                                QStringLiteral("26")}));
  QCOMPARE(cursor, QList<int>({FilaDe("SECO"), 1, FilaDe("CONTROLPESAJE"), 3}));
  QCOMPARE(FilasDeLimites(e), QStringList());
  QCOMPARE(e.operador().sinGuion, 0);
}

void PruebaEspecificaciones::rechazos_data() {
  QTest::addColumn<QString>("campo");
  QTest::addColumn<QStringList>("textos");  // mínimo, máximo, aviso mínimo, aviso máximo
  QTest::addColumn<QString>("vigente");
  QTest::addColumn<QString>("motivo");  // the start of the message
  const auto fila = [](const char* nombre, const char* campo, QStringList textos,
                       const char* vigente, const char* motivo) {
    QTest::newRow(nombre) << QString::fromLatin1(campo) << textos << QString::fromUtf8(vigente)
                          << QString::fromUtf8(motivo);
  };
  fila("no es número", "HUMEDAD", {"", "quince", "", ""}, "", "Máximo de HUMEDAD: «quince»");
  fila("mínimo sobre el máximo", "HUMEDO", {"34,5", "24", "", ""}, "",
       "GLUTEN HÚMEDO: el mínimo (34,5) es mayor que el máximo (24).");
  fila("aviso bajo el mínimo", "FALLINGNUMBER", {"250", "", "240", ""}, "",
       "FALLING NUMBER: el aviso mínimo (240) está por debajo del mínimo (250)");
  fila("aviso sobre el máximo", "CENIZAS", {"", "0.492", "", "0.5"}, "",
       "CENIZAS: el aviso máximo (0,5) está por encima del máximo (0,492)");
  fila("avisos cruzados", "SECO", {"", "", "11", "9"}, "",
       "GLUTEN SECO: el aviso mínimo (11) es mayor que el aviso máximo (9).");
  fila("vigente no es fecha", "HUMEDAD", {"", "15", "", ""}, "30/02/2026",
       "Vigente desde: «30/02/2026» no es una fecha válida.");
}

void PruebaEspecificaciones::rechazos() {
  QFETCH(QString, campo);
  QFETCH(QStringList, textos);
  QFETCH(QString, vigente);
  QFETCH(QString, motivo);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Limitar(e, QStringLiteral("('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2004-01-01')"));
  const QStringList antes = FilasDeLimites(e);
  bool abierto = false;
  e.operador().consultas.enqueue([&](QDialog& d) {
    ElegirTipo(d, QStringLiteral("0000"));
    const QByteArray nombre = campo.toLatin1();
    IrACota(d, nombre.constData(), 0);
    for (const QString& texto : textos) {
      if (texto.isEmpty()) {
        Tecla(Qt::Key_Delete);
        Tecla(Qt::Key_Right);
      } else {
        Escribir(texto);
      }
    }
    if (!vigente.isEmpty()) {
      d.findChild<QLineEdit*>(QStringLiteral("VigenteDesde"))->setFocus();
      Tecla(Qt::Key_A, Qt::ControlModifier);
      Teclear(vigente);
    }
    Guardar();
    abierto = d.isVisible();
    // Dropping what was typed is asked first.
    e.operador().confirmaciones.enqueue(true);
    Tecla(Qt::Key_Escape);
  });
  AbrirEditor(v.ventana);
  QVERIFY(abierto);
  const QStringList avisos = Avisos(e.operador(), QStringLiteral("avisar"));
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos[0].startsWith(QStringLiteral("Aviso al operador: ") + motivo),
           qPrintable(avisos[0]));
  QVERIFY(avisos[0].endsWith(QStringLiteral("No se guardó nada.")));
  QCOMPARE(Avisos(e.operador(), QStringLiteral("confirmar")).size(), 1);
  QCOMPARE(FilasDeLimites(e), antes);
  QCOMPARE(e.operador().sinGuion, 0);
}

void PruebaEspecificaciones::fallaDejaLaTablaComoEstaba() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Limitar(e, QStringLiteral("('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2004-01-01'), "
                            "('0000', 'HUMEDAD', NULL, 15.5, NULL, NULL, '%1')")
                 .arg(QDate::currentDate().toString(Qt::ISODate)));
  // The engine refuses the ash's row: the save fails after its first
  // statements ran.
  if (e.EsPostgresql()) {
    e.Ejecutar(QStringLiteral(
        "CREATE FUNCTION negar_cenizas() RETURNS trigger AS $$ BEGIN IF NEW.campo = 'CENIZAS' "
        "THEN RAISE EXCEPTION 'cenizas negadas'; END IF; RETURN NEW; END $$ LANGUAGE plpgsql"));
    e.Ejecutar(
        QStringLiteral("CREATE TRIGGER negar BEFORE INSERT ON ta_limites FOR EACH ROW "
                       "EXECUTE FUNCTION negar_cenizas()"));
  } else {
    e.Ejecutar(
        QStringLiteral("CREATE TRIGGER negar BEFORE INSERT ON ta_limites WHEN "
                       "NEW.campo = 'CENIZAS' BEGIN SELECT RAISE(ABORT, 'cenizas "
                       "negadas'); END"));
  }
  const QStringList antes = FilasDeLimites(e);
  QCOMPARE(antes.size(), 2);
  bool abierto = false;
  QString escrito;
  e.operador().consultas.enqueue([&](QDialog& d) {
    ElegirTipo(d, QStringLiteral("0000"));
    IrACota(d, "HUMEDAD", 1);
    Escribir(QStringLiteral("14,9"));
    IrACota(d, "CENIZAS", 1);
    Escribir(QStringLiteral("0,5"));
    Guardar();
    // Still open with what was typed, to retry or drop.
    abierto = d.isVisible();
    escrito = Celda(d, "HUMEDAD", 1);
    e.operador().confirmaciones.enqueue(true);
    Tecla(Qt::Key_Escape);
  });
  AbrirEditor(v.ventana);
  QVERIFY(abierto);
  QCOMPARE(escrito, QStringLiteral("14,9"));
  const QStringList avisos = Avisos(e.operador(), QStringLiteral("avisar"));
  QCOMPARE(avisos.size(), 1);
  QVERIFY2(avisos[0].contains(QStringLiteral("cenizas negadas")), qPrintable(avisos[0]));
  QVERIFY(avisos[0].endsWith(
      QStringLiteral("No se guardó ningún límite: la tabla de límites quedó como estaba.")));
  // Today's row, which the save deleted first, is back.
  QCOMPARE(FilasDeLimites(e), antes);
  QCOMPARE(e.operador().sinGuion, 0);
}

void PruebaEspecificaciones::vigenteNuevoJuzgaElDiaCargado() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Limitar(e, QStringLiteral("('0000', 'HUMEDAD', NULL, 15.0, NULL, NULL, '2004-01-01')"));
  Sembrar(e, "06:00:00", QStringLiteral("tipo_harina='0000'"));
  Sembrar(e, "06:00:00", QStringLiteral("tipo_harina='0000'"), QStringLiteral("2004-03-05"));
  e.Ejecutar(QStringLiteral("UPDATE v_mv_zentalia SET HUMEDAD = 14.8"));
  frmHarina& w = v.ventana;
  CargarDia(w, kDia);
  Grilla& grilla = *w.MSflexGrid1;
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Dentro);

  // Stricter from the 10th, before the loaded day (the 15th).
  e.operador().consultas.enqueue([&](QDialog& d) {
    ElegirTipo(d, QStringLiteral("0000"));
    IrACota(d, "HUMEDAD", 1);
    Escribir(QStringLiteral("14,5"));
    auto* vigente = d.findChild<QLineEdit*>(QStringLiteral("VigenteDesde"));
    vigente->setFocus();
    vigente->selectAll();
    Teclear(QStringLiteral("10/03/2004"));
    Guardar();
  });
  AbrirEditor(v.ventana);
  QCOMPARE(FilasDeLimites(e).size(), 2);
  // Without loading the day again: red, with the new limit in its tip.
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Fuera);
  QCOMPARE(grilla.AyudaDeCelda(2, kHumedad),
           QStringLiteral("Fuera de especificación ▲\n0000 · HUMEDAD: máx. 14,5 · vigente desde "
                          "10/03/2004"));
  QVERIFY(w.planilla().Cargada());

  // An analysis of the 5th keeps the limit it was judged by.
  Tecla(Qt::Key_F8);
  CargarDia(w, QStringLiteral("05/03/2004"));
  QCOMPARE(grilla.TextMatrix(2, kHumedad), QStringLiteral("14,8"));
  QCOMPARE(grilla.JuicioEn(2, kHumedad), Veredicto::Dentro);
  QCOMPARE(e.operador().sinGuion, 0);
}

void PruebaEspecificaciones::escPreguntaAntesDeDescartar() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  EntornoPrueba& e = v.entorno;
  Sembrar(e, "06:00:00", QStringLiteral("tipo_harina='0000'"));
  Sembrar(e, "07:00:00", QStringLiteral("tipo_harina='000'"));
  bool abiertoTrasNo = false, abiertoTrasSi = true;
  QString tipoTrasNo, celdaTrasNo;
  e.operador().consultas.enqueue([&](QDialog& d) {
    ElegirTipo(d, QStringLiteral("0000"));
    // Nothing typed: Esc would close at once; typed, it asks.
    IrACota(d, "SECO", 0);
    Teclear(QStringLiteral("8"));  // still in the cell's editor
    // Another type asked first; No keeps the type and what was typed.
    e.operador().confirmaciones.enqueue(false);
    auto* tipos = d.findChild<QComboBox*>(QStringLiteral("TipoHarina"));
    tipos->setFocus();
    Tecla(Qt::Key_Up);
    tipoTrasNo = tipos->currentText();
    e.operador().confirmaciones.enqueue(false);
    Tecla(Qt::Key_Escape);
    abiertoTrasNo = d.isVisible();
    celdaTrasNo = Celda(d, "SECO", 0);
    e.operador().confirmaciones.enqueue(true);
    Tecla(Qt::Key_Escape);
    abiertoTrasSi = d.isVisible();
  });
  AbrirEditor(v.ventana);
  QCOMPARE(tipoTrasNo, QStringLiteral("0000"));
  QVERIFY(abiertoTrasNo);
  QCOMPARE(celdaTrasNo, QStringLiteral("8"));
  QVERIFY(!abiertoTrasSi);
  const QStringList preguntas = Avisos(e.operador(), QStringLiteral("confirmar"));
  QCOMPARE(preguntas.size(), 3);
  QVERIFY(
      preguntas[0].contains(QStringLiteral("descarta los límites escritos y no guardados de "
                                           "0000")));
  QCOMPARE(FilasDeLimites(e), QStringList());

  // Opened and left untouched: Esc asks nothing.
  e.operador().consultas.enqueue([](QDialog&) { Tecla(Qt::Key_Escape); });
  AbrirEditor(v.ventana);
  QCOMPARE(Avisos(e.operador(), QStringLiteral("confirmar")).size(), 3);
  QCOMPARE(e.operador().sinGuion, 0);
}

QTEST_MAIN(PruebaEspecificaciones)
#include "test_especificaciones.moc"
