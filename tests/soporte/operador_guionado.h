#pragma once
// OperadorGuionado: the operator of the tests. It records every question the
// program asks and answers from queues the test fills beforehand; a question
// with no answer queued is recorded as unscripted and answered with "no"
// (Anular, No, cancelled), so a test never blocks on a dialog.

#include <QList>
#include <QQueue>
#include <QString>
#include <optional>

#include "services/operador.h"

struct Pregunta {
  QString tipo;  // "error", "confirmar", "avisar", "texto"
  QString titulo;
  QString texto;
  int estilo = 0;
};

class OperadorGuionado : public Operador {
 public:
  QQueue<int> respuestasError;
  QQueue<bool> confirmaciones;
  QQueue<std::optional<QString>> textos;

  QList<Pregunta> preguntas;
  int sinGuion = 0;

  int ReportarError(const QString& titulo, const QString& texto) override;
  bool Confirmar(const QString& titulo, const QString& texto) override;
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
  // a PDF, so that a test can read what the operator would see.
  QString rutaVistaPrevia;

  std::unique_ptr<Progreso> MostrarProgreso(const QString& titulo, const QString& texto,
                                            qint64 total) override;
  void VistaPrevia(const QString& titulo, const QPageLayout& pagina,
                   const std::function<void(QPagedPaintDevice&)>& pintar) override;
};
