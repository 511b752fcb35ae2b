// The window every operator can use: accessible names and descriptions in
// Spanish read through QAccessible, a grid cell read as its column and value,
// the status bar's hint, F1's help window (the same key tables as the README),
// tool tips for cut cells, one vertical alignment, and captions never clipped
// (run again with QT_SCALE_FACTOR=2).

#include <QAccessible>
#include <QDialog>
#include <QFile>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <QToolTip>

#include "services/util_kor.h"
#include "sheet/ayuda.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"
#include "soporte/entorno_prueba.h"
#include "soporte/ventana_prueba.h"

namespace {

QAccessibleInterface* Accesible(QObject* objeto) {
  return QAccessible::queryAccessibleInterface(objeto);
}

// The tables of a Markdown text: each run of lines starting with "|".
QStringList Tablas(const QString& texto) {
  QStringList tablas;
  QString actual;
  for (const QString& linea : texto.split(QLatin1Char('\n'))) {
    if (linea.startsWith(QLatin1Char('|'))) {
      actual += linea + QLatin1Char('\n');
    } else if (!actual.isEmpty()) {
      tablas.append(actual);
      actual.clear();
    }
  }
  if (!actual.isEmpty()) tablas.append(actual);
  return tablas;
}

QString LeerFuente(const QString& ruta) {
  QFile archivo(QStringLiteral(HARINA_FUENTES "/") + ruta);
  if (!archivo.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(archivo.readAll());
}

// A day with one analysis whose remarks and colour are wider than their
// columns; the window is left on it.
void CargarDiaLargo(VentanaIniciada& v) {
  v.entorno.Ejecutar(QStringLiteral(
      "INSERT INTO v_mv_zentalia (Fecha, responsable, tipo_harina, HORARIO, COLOR, "
      "OBSERVACIONES, FALLINGNUMBER) VALUES ('2024-03-15 00:00:00', 'ana', '000', '08:30:00', "
      "'Blanco cremoso con puntos pardos', 'Repetir gluten: la muestra llegó húmeda y con "
      "grumos', 320)"));
  CargarDia(v.ventana, QStringLiteral("15/03/2024"));
}

}  // namespace

class PruebaAccesibilidad : public QObject {
  Q_OBJECT

 private slots:
  void nombresDeLosControles_data();
  void nombresDeLosControles();
  void todoControlTieneNombre();
  void celdaDiceColumnaYValor();
  void pistaDeLaBarraDeEstado();
  void f1AbreLaAyuda();
  void readmeTieneLasMismasTablas();
  void textoCortadoEnLaAyudaEmergente();
  void unaAlineacionVertical();
  void titulosSinCortar();
};

void PruebaAccesibilidad::nombresDeLosControles_data() {
  QTest::addColumn<QString>("objeto");
  QTest::addColumn<QString>("nombre");
  const char* filas[][2] = {
      {"txtFields_0", "Fecha"},
      {"txtFields_1", "Responsable"},
      {"txtFields_2", "Fecha desde"},
      {"txtFields_3", "Fecha hasta"},
      {"MSflexGrid1", "Planilla de análisis"},
      {"TxtEdit", "Editor de celda"},
      {"SSTab1", "Pestañas"},
      {"UtilKor1", "Barra de comandos"},
      {"NUEVO", "Nuevo"},
      {"GRABAR", "Grabar"},
      {"BORRAR", "Borrar"},
      {"CONSULTAR", "Consultar"},
      {"PLANILLA", "Planilla"},
      {"REPORTE", "Reporte"},
      {"CANCELAR", "Cancelar"},
      {"CERRAR", "Cerrar"},
      {"frmRep", "Reporte de análisis"},
      {"barraEstado", "Barra de estado"},
  };
  for (const auto& [objeto, nombre] : filas)
    QTest::newRow(objeto) << QString::fromLatin1(objeto) << QString::fromUtf8(nombre);
}

void PruebaAccesibilidad::nombresDeLosControles() {
  QFETCH(QString, objeto);
  QFETCH(QString, nombre);
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  auto* control = v.ventana.findChild<QWidget*>(objeto);
  QVERIFY(control);
  QAccessibleInterface* accesible = Accesible(control);
  QVERIFY(accesible);
  QCOMPARE(accesible->text(QAccessible::Name), nombre);
  QVERIFY(!accesible->text(QAccessible::Description).isEmpty());
}

void PruebaAccesibilidad::todoControlTieneNombre() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  // Walk the window's tree as a screen reader does: every control an operator
  // can act on (or read) has a name.
  const QList<QAccessible::Role> roles = {
      QAccessible::EditableText, QAccessible::Button,    QAccessible::PushButton,
      QAccessible::Table,        QAccessible::PageTab,   QAccessible::PageTabList,
      QAccessible::ToolBar,      QAccessible::StatusBar, QAccessible::ColumnHeader,
      QAccessible::Grouping,     QAccessible::StaticText};
  QList<QAccessibleInterface*> pendientes = {Accesible(&v.ventana)};
  int vistos = 0;
  QStringList sinNombre;
  while (!pendientes.isEmpty()) {
    QAccessibleInterface* nodo = pendientes.takeFirst();
    if (!nodo) continue;
    if (nodo->role() != QAccessible::Cell && nodo->role() != QAccessible::Row)
      for (int i = 0; i < nodo->childCount(); ++i) pendientes.append(nodo->child(i));
    if (!roles.contains(nodo->role()) || nodo->state().invisible) continue;
    ++vistos;
    if (nodo->text(QAccessible::Name).trimmed().isEmpty())
      sinNombre << QStringLiteral("%1 (%2)")
                       .arg(nodo->object() ? nodo->object()->objectName() : QString())
                       .arg(nodo->role());
  }
  QVERIFY(vistos > 15);
  QVERIFY2(sinNombre.isEmpty(), qPrintable(sinNombre.join(QStringLiteral(", "))));
}

void PruebaAccesibilidad::celdaDiceColumnaYValor() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  CargarDiaLargo(v);
  QAccessibleInterface* grilla = Accesible(v.ventana.MSflexGrid1);
  QAccessibleTableInterface* tabla = grilla->tableInterface();
  QVERIFY(tabla);
  const struct {
    int columna;
    const char* nombre;
  } casos[] = {
      {1, "Tipo de harina: 000"},
      {2, "Horario: 08:30:00"},
      {3, "Gluten húmedo: vacía"},
      {6, "Falling number: 320"},
      {9, "Color: Blanco cremoso con puntos pardos"},
  };
  for (const auto& caso : casos) {
    QAccessibleInterface* celda = tabla->cellAt(0, caso.columna);
    QVERIFY(celda);
    QCOMPARE(celda->text(QAccessible::Name), QString::fromUtf8(caso.nombre));
    QVERIFY(!celda->text(QAccessible::Description).isEmpty());
  }
  // Each column's header reads as the column's name.
  QAccessibleTableCellInterface* celda = tabla->cellAt(0, 6)->tableCellInterface();
  const QList<QAccessibleInterface*> encabezados = celda->columnHeaderCells();
  QCOMPARE(encabezados.size(), 1);
  QCOMPARE(encabezados.first()->text(QAccessible::Name), QStringLiteral("Falling number"));
}

void PruebaAccesibilidad::pistaDeLaBarraDeEstado() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  auto* barra = v.ventana.findChild<QStatusBar*>(QStringLiteral("barraEstado"));
  QVERIFY(barra);
  QVERIFY(barra->isVisible());
  const QString ociosa = QStringLiteral(
      "Escriba una fecha y presione Enter para abrir la planilla del día; F3 abre el calendario");
  QCOMPARE(barra->currentMessage(), ociosa);
  // Along the bottom edge, below the tabs.
  QCOMPARE(barra->geometry().bottom(), v.ventana.rect().bottom());
  QVERIFY(v.ventana.SSTab1->geometry().bottom() < barra->geometry().top());

  CargarDia(v.ventana, QStringLiteral("15/03/2024"));
  QCOMPARE(barra->currentMessage(), PistaDelEstado(true));
  QVERIFY(barra->currentMessage().contains(QStringLiteral("Insert")));
  Tecla(Qt::Key_F8);  // CANCELAR
  QCOMPARE(barra->currentMessage(), ociosa);
}

void PruebaAccesibilidad::f1AbreLaAyuda() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  QTRY_VERIFY(v.ventana.txtFields[0]->hasFocus());
  Tecla(Qt::Key_F1);
  auto* ayuda = v.ventana.findChild<QDialog*>(QStringLiteral("VentanaAyuda"));
  QVERIFY(ayuda);
  QVERIFY(ayuda->isVisible());
  QVERIFY(!ayuda->isModal());
  // The tables the program carries are the ones in the sources.
  const QString fuente = LeerFuente(QStringLiteral("doc/teclas.md"));
  QVERIFY(!fuente.isEmpty());
  QCOMPARE(TextoDeTeclas(), fuente);
  const QString mostrado = ayuda->findChild<QTextBrowser*>()->toPlainText();
  for (const char* texto : {"Ctrl+Tab", "F12", "Nueva Busqueda", "el separador decimal",
                            "borra los análisis seleccionados"})
    QVERIFY2(mostrado.contains(QString::fromUtf8(texto)), texto);
  // Again from the grid, with a sheet loaded: the same window, not a second.
  ayuda->close();
  CargarDia(v.ventana, QStringLiteral("15/03/2024"));
  QVERIFY(v.ventana.MSflexGrid1->hasFocus());
  Tecla(Qt::Key_F1);
  QVERIFY(ayuda->isVisible());
  QCOMPARE(v.ventana.findChildren<QDialog*>(QStringLiteral("VentanaAyuda")).size(), 1);
  QCOMPARE(v.entorno.operador().preguntas.size(), 0);
}

void PruebaAccesibilidad::readmeTieneLasMismasTablas() {
  const QStringList tablas = Tablas(LeerFuente(QStringLiteral("doc/teclas.md")));
  QCOMPARE(tablas.size(), 4);
  const QString readme = LeerFuente(QStringLiteral("README.md"));
  for (const QString& tabla : tablas)
    QVERIFY2(readme.contains(tabla), qPrintable(QStringLiteral("README.md sin:\n") + tabla));
}

void PruebaAccesibilidad::textoCortadoEnLaAyudaEmergente() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  CargarDiaLargo(v);
  Grilla* grilla = v.ventana.MSflexGrid1;
  const auto preguntar = [&](int columna) {
    const QRect celda = grilla->visualRect(grilla->model()->index(0, columna));
    QHelpEvent evento(QEvent::ToolTip, celda.center(),
                      grilla->viewport()->mapToGlobal(celda.center()));
    QApplication::sendEvent(grilla->viewport(), &evento);
  };
  // A text that fits shows no tool tip.
  preguntar(2);
  QVERIFY(!QToolTip::isVisible());
  preguntar(11);
  QVERIFY(QToolTip::isVisible());
  QCOMPARE(QToolTip::text(),
           QStringLiteral("Repetir gluten: la muestra llegó húmeda y con grumos"));
  preguntar(9);
  QCOMPARE(QToolTip::text(), QStringLiteral("Blanco cremoso con puntos pardos"));
}

void PruebaAccesibilidad::unaAlineacionVertical() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  CargarDiaLargo(v);
  const QAbstractItemModel* modelo = v.ventana.MSflexGrid1->model();
  for (int c = 1; c <= 11; ++c) {
    const auto alineacion = modelo->index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    QCOMPARE(alineacion & Qt::AlignVertical_Mask, Qt::AlignVCenter);
  }
}

void PruebaAccesibilidad::titulosSinCortar() {
  VentanaIniciada v;
  REQUIERE_ENTORNO(v.entorno);
  frmHarina& w = v.ventana;
  // Captions, fields and buttons get at least the room their text asks for.
  for (QLabel* etiqueta : {w.Label1, w.Label3, w.Label2, w.Label4})
    QVERIFY2(etiqueta->width() >= etiqueta->sizeHint().width() &&
                 etiqueta->height() >= etiqueta->fontMetrics().height(),
             qPrintable(etiqueta->text()));
  for (QToolButton* boton : w.UtilKor1->findChildren<QToolButton*>())
    QVERIFY2(boton->width() >= boton->sizeHint().width(), qPrintable(boton->text()));
  QVERIFY(w.txtFields[0]->width() >=
          w.txtFields[0]->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000")));
  QTabBar* pestanas = w.SSTab1->tabBar();
  for (int i = 0; i < pestanas->count(); ++i)
    QVERIFY2(pestanas->tabRect(i).width() >=
                 pestanas->fontMetrics().horizontalAdvance(pestanas->tabText(i)),
             qPrintable(pestanas->tabText(i)));

  // Every header line of the loaded sheet is whole, "FALLING NUMBER" too.
  CargarDiaLargo(v);
  Grilla* grilla = w.MSflexGrid1;
  QHeaderView* encabezado = grilla->horizontalHeader();
  const int margen = 2 * encabezado->style()->pixelMetric(QStyle::PM_HeaderMargin);
  for (int c = 1; c <= 11; ++c)
    for (int linea = 0; linea < 2; ++linea) {
      const QString texto = grilla->TextMatrix(linea, c);
      QVERIFY2(
          encabezado->fontMetrics().horizontalAdvance(texto) + margen <= grilla->columnWidth(c),
          qPrintable(texto));
    }
  QVERIFY(encabezado->height() >= 2 * encabezado->fontMetrics().height());
}

QTEST_MAIN(PruebaAccesibilidad)
#include "test_accesibilidad.moc"
