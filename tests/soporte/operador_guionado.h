#pragma once
// OperadorGuionado: the operator of the tests. It records every question the
// program asks and answers from queues the test fills beforehand; a question
// with no answer queued is recorded as unscripted and answered with "no"
// (Anular, No, cancelled), so a test never blocks on a dialog.
//
// The lookup window is real: MostrarConsulta shows it non-modally, active,
// and runs the next script queued in `consultas`, which drives it with keys
// and clicks as an operator would. A window the script leaves open is closed
// by its close box and recorded as unscripted; with no script it is closed at
// once, the same way.

#include <QDate>
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "services/operador.h"

struct Pregunta {
  QString tipo;  // "error", "confirmar", "avisar", "texto", "consulta", "fecha",
                 // "archivo", "conflicto"
  QString titulo;
  QString texto;
  int estilo = 0;
  // Of a Yes/No question: No is the answer Enter gives.
  bool noPorDefecto = false;
};

class OperadorGuionado : public Operador {
 public:
  QQueue<int> respuestasError;
  QQueue<bool> confirmaciones;
  QQueue<std::optional<QString>> textos;
  QQueue<std::function<void(QDialog&)>> consultas;
  QQueue<std::optional<QDate>> fechas;
  QQueue<std::optional<QString>> archivos;

  QList<Pregunta> preguntas;
  int sinGuion = 0;

  int ReportarError(const QString& titulo, const QString& texto) override;
  bool Confirmar(const QString& titulo, const QString& texto, PorDefecto porDefecto) override;
  void Avisar(Estilo estilo, const QString& titulo, const QString& texto) override;
  std::optional<QString> PedirTexto(const QString& titulo, const QString& pregunta,
                                    const QString& inicial) override;

  // Progress: how many were shown, and the highest value told; the operator
  // cancels once the value reaches cancelarEn (never when negative).
  qint64 cancelarEn = -1;
  int progresos = 0;
  qint64 avanceMaximo = 0;
  // Print previews are recorded as questions of type "vista previa" (the
  // title); with rutaVistaPrevia set, the preview's pages are written there as
  // a PDF, so that a test can read what the operator would see; with
  // rutaGuardarPdf set, the operator then saves it from the preview there
  // ("Guardar PDF…"), and guardados counts the PDFs saved.
  QString rutaVistaPrevia;
  QString rutaGuardarPdf;
  int guardados = 0;

  std::unique_ptr<Progreso> MostrarProgreso(const QString& titulo, const QString& texto,
                                            qint64 total) override;
  void VistaPrevia(const QString& titulo, const QPageLayout& pagina,
                   const std::function<void(QPagedPaintDevice&)>& pintar,
                   const GuardarVista& guardar) override;

  void MostrarConsulta(QDialog& ventana) override;
  std::optional<QDate> ElegirFecha(const QString& titulo, const QDate& inicial) override;
  // The save dialog: recorded as a question of type "archivo" (the path
  // offered as its text), answered from archivos.
  std::optional<QString> ElegirArchivo(const QString& titulo, const QString& propuesta,
                                       const QStringList& filtros) override;
  // News that asks nothing: recorded in informes, not among the questions.
  QStringList informes;
  void Informar(const QString& texto) override;
  // A conflict between two stations: recorded as a question of type
  // "conflicto", answered from resoluciones (Tomar when none is queued).
  QQueue<Resolucion> resoluciones;
  Resolucion ResolverConflicto(const QString& titulo, const QString& texto) override;
};
