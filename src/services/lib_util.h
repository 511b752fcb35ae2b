#pragma once
// LibUtil: the error report, window placing and the small text helpers the
// whole program shares. All text helpers are pure.

#include <QString>
#include <QVariant>

#include "services/falla.h"

class QWidget;

class LibUtil {
 public:
  static LibUtil& Instancia();

  // Shows the failure through the Operador with the procedure's name (or a
  // context word such as "Cfg"); returns the answer: 4 retry the step, 5 go on
  // with the next, anything else (3) leave the procedure.
  int ReportarError(const Falla& falla, const QString& procedimiento);

  // Mode 0: centres the window on the screen's available area, made no larger
  // than that area.
  void PosicionarFormulario(QWidget* ventana, int modo);

  // The folder with a trailing "/".
  static QString RutaConBarra(const QString& carpeta);
  // The text without any c1 nor c2 (each may be several characters long).
  static QString QuitarCaracteres(const QString& texto, const QString& c1,
                                  const QString& c2 = QString());
  static QString Reemplazar(const QString& texto, const QString& viejo, const QString& nuevo);
  // Null as an empty text, anything else as its text.
  static QString SinNulo(const QVariant& valor);
  // The whole number a text begins with (blanks and a sign allowed before it);
  // 0 when it begins with none. "12,5" and "12.5" give 12, "x3" gives 0.
  static qint64 ValorNumerico(const QString& texto);
  // The number a text begins with, decimals included ("1.5x" gives 1.5).
  static double NumeroInicial(const QString& texto);
  // A value read from the database as the operator reads it: numbers with the
  // operator's decimal separator, everything else unchanged. A loop over many
  // values asks for the separator once and passes it.
  static QString FormatearValor(const QString& texto);
  static QString FormatearValor(const QString& texto, const QString& separador);
  // A date typed by the operator (blanks at its ends ignored) as the date
  // literal of a report's selection formula: "5/3/04" gives "Date(2004,03,05)".
  // A text that is not a date throws Falla (kTipoIncompatible) with the message
  // that refuses it, so that no report is asked for with it.
  static QString FechaFormula(const QString& fecha);

  // The date prompt, opened on the date `inicial` names (today when none).
  // The day picked in the date fields' form ("dd/MM/yyyy", 10 characters), or
  // an empty text when the operator cancelled.
  QString ElegirFecha(const QString& inicial = QString());
};
