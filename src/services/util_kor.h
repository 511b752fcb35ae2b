#pragma once
// UtilKor: the command bar. Its buttons, each with a key text ("NUEVO",
// "GRABAR", "BORRAR", "CONSULTAR", "PLANILLA", "REPORTE", "GRAFICO", "EXPORTAR",
// "ESPECIFICACIONES", "HISTORIAL", "CANCELAR", "CERRAR"), a Spanish caption, an
// icon and a tool tip naming its shortcut. EXPORTAR follows the flag of REPORTE.
//
// The enabled flags are written by the window and never read back; a disabled
// button cannot be pressed, by mouse or by shortcut. Pressing an enabled one
// emits BotonPulsado with its key text. ProcesaTecla receives every key code
// that reaches the window and treats F2, F3, F4, F6, F7, F8, F9, F10, F11 and F12
// as shortcuts of their buttons; every other key (Insert, Delete, Enter, Esc, the arrows...)
// belongs to the grid and the editor and is ignored here.

#include <QList>
#include <QString>
#include <QWidget>

class QToolButton;

class UtilKor : public QWidget {
  Q_OBJECT

 public:
  explicit UtilKor(QWidget* padre = nullptr);

  void nuevoenabled(bool valor);
  void grabarenabled(bool valor);
  void borrarenabled(bool valor);
  void consultaenabled(bool valor);
  void planillaenabled(bool valor);
  void reporteenabled(bool valor);
  void cancelarenabled(bool valor);
  void cerrarenabled(bool valor);

  // 0: raised buttons; any other value: flat buttons that rise under the mouse.
  void StyleBar(double estilo);

  void ProcesaTecla(int tecla);

  // Enables or disables the button of that key text.
  void Habilitar(const QString& clave, bool valor);

 signals:
  void BotonPulsado(QString& Boton);

 private:
  void Pulsar(const QString& clave);
  QToolButton* Boton(const QString& clave) const;

  QList<QToolButton*> botones_;  // in the order of the bar
};
