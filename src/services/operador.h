#pragma once
// Operador: the one way the program asks the operator anything modal. The
// program installs the Qt dialogs; tests install a scripted operator that
// answers from a queue, so no test ever blocks on a real dialog.
//
// ElOperador() never returns null: before anything is installed it is the Qt
// implementation.

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QPageLayout;
class QPagedPaintDevice;

// The progress of a long task shown to the operator, who may cancel it. Gone
// from the screen when the object is destroyed.
class Progreso {
 public:
  virtual ~Progreso() = default;
  // hecho of the total given when it was shown. False once the operator has
  // cancelled: the task stops and leaves nothing half done.
  virtual bool Avanzar(qint64 hecho) = 0;
};

class Operador {
 public:
  // Message box styles, numbered as the operator's old message boxes were.
  enum class Estilo : int { Critico = 16, Pregunta = 32, Exclamacion = 48, Informacion = 64 };
  // Answers of the error report.
  enum Respuesta : int { kAnular = 3, kReintentar = 4, kOmitir = 5 };

  virtual ~Operador() = default;

  // Error report with Anular / Reintentar / Omitir; returns 3, 4 or 5 (any
  // other value, as closing the box gives, counts as leaving).
  virtual int ReportarError(const QString& titulo, const QString& texto) = 0;

  // The button Enter presses in a Yes/No question.
  enum class PorDefecto { Si, No };

  // Yes/No question with the default button given. True for Yes.
  virtual bool Confirmar(const QString& titulo, const QString& texto, PorDefecto porDefecto) = 0;

  // A message with one OK button.
  virtual void Avisar(Estilo estilo, const QString& titulo, const QString& texto) = 0;

  // The input box: the text typed, or nothing when the operator cancelled.
  virtual std::optional<QString> PedirTexto(const QString& titulo, const QString& pregunta,
                                            const QString& inicial) = 0;

  // The progress of a task of total steps (shown only when it lasts).
  virtual std::unique_ptr<Progreso> MostrarProgreso(const QString& titulo, const QString& texto,
                                                    qint64 total) = 0;

  // The print preview of a document: pintar paints it, page after page, on the
  // device it is given (the preview's printer, or the PDF or printer the
  // operator chooses from it), laid out as pagina says. guardar, when given,
  // writes the PDF the operator saves from the preview at its path, laid out as
  // the preview's page then is (as GuardarPdf: false when cancelled, Falla
  // when it cannot be written); without it that PDF is painted with pintar.
  // Returns when the operator closes the preview.
  using GuardarVista = std::function<bool(const QString& ruta, const QPageLayout& pagina)>;
  virtual void VistaPrevia(const QString& titulo, const QPageLayout& pagina,
                           const std::function<void(QPagedPaintDevice&)>& pintar,
                           const GuardarVista& guardar = {}) = 0;
  // The lookup window, loaded and ready: shown modally, this returns once it
  // has hidden itself (accepted or cancelled); its answer is in the window.
  virtual void MostrarConsulta(QDialog& ventana) = 0;

  // The date prompt: a calendar opened on `inicial` (today when it is not a
  // date). The date picked, or nothing when the operator cancelled.
  virtual std::optional<QDate> ElegirFecha(const QString& titulo, const QDate& inicial) = 0;

  // The save dialog of a new file: propuesta is the path offered, filtros the
  // formats offered ("Libro de Excel (*.xlsx)"), the first one chosen at
  // first. A name typed without an extension takes the chosen format's. The
  // path chosen, or nothing when the operator cancelled (as an operator that
  // shows no dialog always does).
  virtual std::optional<QString> ElegirArchivo(const QString& titulo, const QString& propuesta,
                                               const QStringList& filtros) {
    (void)titulo, (void)propuesta, (void)filtros;
    return std::nullopt;
  }

  // A line of news that asks nothing (a report written to a file): shown
  // where the operator sees it without having to answer. Nothing by default.
  virtual void Informar(const QString& texto) { (void)texto; }

  // Another station changed what the operator's screen showed before the
  // operator's own change reached the database: texto shows both values and
  // who changed it and when. Mantener keeps the operator's (written over the
  // other), Tomar takes the other's (the operator's change is dropped).
  // Enter keeps, Escape takes.
  enum class Resolucion { Mantener, Tomar };
  virtual Resolucion ResolverConflicto(const QString& titulo, const QString& texto) = 0;
};

Operador& ElOperador();

// Replaces the installed operator (tests install a scripted one). Returns the
// previous one so that a test can put it back.
std::unique_ptr<Operador> InstalarOperador(std::unique_ptr<Operador> operador);
