#pragma once
// The program's operator: the Qt message boxes and input dialog, in Spanish,
// parented to the active window. The date prompt is a calendar: Enter or a
// double click picks the day shown, Esc cancels.

#include "services/operador.h"

class OperadorQt : public Operador {
 public:
  int ReportarError(const QString& titulo, const QString& texto) override;
  bool Confirmar(const QString& titulo, const QString& texto, PorDefecto porDefecto) override;
  Resolucion ResolverConflicto(const QString& titulo, const QString& texto) override;
  void Avisar(Estilo estilo, const QString& titulo, const QString& texto) override;
  std::optional<QString> PedirTexto(const QString& titulo, const QString& pregunta,
                                    const QString& inicial) override;
  // A QProgressDialog, window-modal, shown after half a second
  // (operador_qt_reporte.cpp).
  std::unique_ptr<Progreso> MostrarProgreso(const QString& titulo, const QString& texto,
                                            qint64 total) override;
  // A QPrintPreviewDialog with a "Guardar PDF" button beside its print button;
  // a PDF that cannot be written is reported, and one written is announced.
  void VistaPrevia(const QString& titulo, const QPageLayout& pagina,
                   const std::function<void(QPagedPaintDevice&)>& pintar,
                   const GuardarVista& guardar) override;
  void MostrarConsulta(QDialog& ventana) override;
  // The active window's status bar, or a note over its lower edge.
  void Informar(const QString& texto) override;
  std::optional<QDate> ElegirFecha(const QString& titulo, const QDate& inicial) override;
  // A QFileDialog for saving, which asks before replacing a file
  // (operador_qt_archivo.cpp).
  std::optional<QString> ElegirArchivo(const QString& titulo, const QString& propuesta,
                                       const QStringList& filtros) override;
};
