#pragma once
// The sheet window's status bar, along its bottom edge: it tells the operator
// what to do next in each state (in the idle one, how to open a day's sheet),
// and that F1 shows the keys. The window's resize rules lay the other controls
// out over the height above it.

class QStatusBar;
class QString;
class QWidget;

// Makes the status bar at the bottom of the window and keeps it there.
QStatusBar* InstalarBarraDeEstado(QWidget* ventana);

// The height the status bar takes from the window; 0 when it has none.
int AltoBarraDeEstado(const QWidget* ventana);

// Shows the hint of the state: a sheet loaded or not.
void MostrarPista(QWidget* ventana, bool cargada);

// Shows a line about what just happened in place of the hint, until the
// next hint or line.
void MostrarLinea(QWidget* ventana, const QString& linea);

// The state of the database connection, at the bar's right end while it is
// lost ("Sin conexión: 2 entradas sin guardar"); empty hides it.
void MostrarConexion(QWidget* ventana, const QString& texto);

// The hint of each state.
QString PistaDelEstado(bool cargada);
