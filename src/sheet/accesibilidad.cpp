#include "sheet/accesibilidad.h"

#include <QLabel>
#include <QTabWidget>
#include <QToolButton>

#include "analisis/columnas.h"
#include "sheet/grilla.h"

namespace {

struct Nombre {
  const char* objeto;
  const char* nombre;
  const char* descripcion;
};

constexpr Nombre kControles[] = {
    {"Frame2", "Encabezado", "La barra de comandos, la fecha y el responsable"},
    {"UtilKor1", "Barra de comandos",
     "Nuevo F2, Consultar F3, Borrar F4, Reporte F6, Exportar F10, Cancelar F8, Cerrar F12"},
    {"txtFields_0", "Fecha",
     "La fecha de la planilla, día/mes/año; Enter abre la planilla, F3 abre el calendario"},
    {"txtFields_1", "Responsable", "El operador que carga los análisis; no se puede cambiar"},
    {"txtFields_2", "Fecha desde",
     "El primer día del reporte, día/mes/año; vacío: sin límite; F3 abre el calendario"},
    {"txtFields_3", "Fecha hasta",
     "El último día del reporte, día/mes/año; vacío: sin límite; F3 abre el calendario"},
    {"SSTab1", "Pestañas",
     "La planilla y el reporte; Control+Tab pasa a la pestaña siguiente, Control+Mayúsculas+Tab "
     "a la anterior"},
    {"MSflexGrid1", "Planilla de análisis",
     "Un análisis por fila; escriba sobre una celda para cambiarla, Insert agrega un análisis, "
     "Suprimir borra los seleccionados, F3 consulta los valores ya cargados"},
    {"TxtEdit", "Editor de celda",
     "Enter graba la celda y pasa a la siguiente; Escape descarta lo escrito"},
    {"frmRep", "Reporte de análisis", "El rango de fechas del reporte; F6 lo imprime"},
    {"imgRep", "Imagen decorativa", "Un campo de trigo"},
    {"Label1", "Fecha:", "El título del campo Fecha"},
    {"Label3", "Responsable:", "El título del campo Responsable"},
    {"Label2", "Fecha Desde:", "El título del campo Fecha desde"},
    {"Label4", "Fecha Hasta:", "El título del campo Fecha hasta"},
};

// What each column of the sheet holds, by its header key.
constexpr Nombre kColumnas[] = {
    {"HARINA", "Tipo de harina", "El tipo de harina de la muestra; F3 consulta los ya cargados"},
    {"HORARIO", "Horario", "La hora en que se tomó la muestra, de 00:00:00 a 23:59:59"},
    {"HÚMEDO", "Gluten húmedo", "El gluten húmedo, un número"},
    {"SECO", "Gluten seco", "El gluten seco, un número"},
    {"CARACT.", "Características del gluten",
     "Las características del gluten; F3 consulta las ya cargadas"},
    {"NUMBER", "Falling number", "El falling number, un número"},
    {"HUMEDAD", "Humedad", "La humedad, un número"},
    {"CENIZAS", "Cenizas", "Las cenizas, un número"},
    {"COLOR", "Color", "El color de la harina; F3 consulta los ya cargados"},
    {"PESAJE", "Control de pesaje", "El control de pesaje, un número"},
    {"OBSERVACIONES", "Observaciones", "Observaciones libres"},
};

void Nombrar(QWidget* control, const QString& nombre, const QString& descripcion) {
  control->setAccessibleName(nombre);
  control->setAccessibleDescription(descripcion);
}

}  // namespace

void NombrarControles(QWidget* ventana) {
  Nombrar(ventana, ventana->windowTitle(),
          QStringLiteral("La planilla diaria de análisis de harina del laboratorio"));
  for (const Nombre& control : kControles)
    if (auto* widget = ventana->findChild<QWidget*>(QString::fromLatin1(control.objeto)))
      Nombrar(widget, QString::fromUtf8(control.nombre), QString::fromUtf8(control.descripcion));

  // The captions read as the names of the fields they stand before.
  const char* titulos[][2] = {{"Label1", "txtFields_0"},
                              {"Label3", "txtFields_1"},
                              {"Label2", "txtFields_2"},
                              {"Label4", "txtFields_3"}};
  for (const auto& [titulo, campo] : titulos) {
    auto* etiqueta = ventana->findChild<QLabel*>(QString::fromLatin1(titulo));
    auto* destino = ventana->findChild<QWidget*>(QString::fromLatin1(campo));
    if (etiqueta && destino) etiqueta->setBuddy(destino);
  }

  // The command bar's buttons: their caption, and their tool tip (which names
  // the shortcut).
  if (auto* barra = ventana->findChild<QWidget*>(QStringLiteral("UtilKor1")))
    for (QToolButton* boton : barra->findChildren<QToolButton*>())
      Nombrar(boton, boton->text(), boton->toolTip());

  // The tabs' pages.
  if (auto* pestanas = ventana->findChild<QTabWidget*>(QStringLiteral("SSTab1")))
    for (int i = 0; i < pestanas->count(); ++i)
      Nombrar(pestanas->widget(i), pestanas->tabText(i),
              i == 0 ? QStringLiteral("La planilla de análisis del día")
                     : QStringLiteral("El reporte de análisis de un rango de fechas"));

  if (auto* grilla = ventana->findChild<Grilla*>(QStringLiteral("MSflexGrid1"))) {
    grilla->SetColAccesible(0, QStringLiteral("Clave"), QStringLiteral("La clave del análisis"));
    for (const Nombre& columna : kColumnas)
      if (const ColumnaAnalisis* c = ColumnaPorClave(QString::fromUtf8(columna.objeto)))
        grilla->SetColAccesible(c->indice, QString::fromUtf8(columna.nombre),
                                QString::fromUtf8(columna.descripcion));
  }
}
