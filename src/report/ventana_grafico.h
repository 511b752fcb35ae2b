#pragma once
// GraficoControl: the window "Gráfico de control". The individuals chart over
// the moving-range chart, the figures and the broken rules beside them; a
// combo for the analysis column (any number column) and one for the flour
// type (any recorded), each of which reads and draws the chart again.
// Keyboard first: the column combo has the focus, Tab moves, Ctrl+P opens the
// print preview (from which the operator prints or saves the PDF), Esc
// closes.
//
// AbrirGraficoControl is the way in: with [Reportes] SalidaGrafico set in
// RO000za.INI it writes the chart's PDF there, unattended, instead of showing
// the window. Failures of the database pass to the caller.

#include <QDialog>
#include <QString>

#include "report/grafico_control.h"

class QChartView;
class QComboBox;
class QFormLayout;
class QLabel;
class QListWidget;

class GraficoControl : public QDialog {
  Q_OBJECT

 public:
  GraficoControl(const PedidoControl& pedido, QWidget* padre = nullptr);
  ~GraficoControl() override;

  const DatosGrafico& datos() const { return datos_; }
  // The text a figure shows ("0,55"); empty for a figure not shown.
  QString Figura(const QString& nombre) const;
  // The broken rules as listed.
  QStringList Reglas() const;

  // The print preview of the chart, through the operator.
  void VistaPrevia();

  QComboBox* cmbColumna = nullptr;
  QComboBox* cmbTipo = nullptr;

 private:
  void Leer();
  void Mostrar();

  DatosGrafico datos_;
  QLabel* subtitulo_ = nullptr;
  QChartView* individuos_ = nullptr;
  QChartView* rangos_ = nullptr;
  QFormLayout* figuras_ = nullptr;
  QListWidget* reglas_ = nullptr;
};

// Opens the chart window (non-modal, over padre) for the request, or with
// SalidaGrafico set (LibReportes::Salida) writes its PDF and tells the
// operator where (null then).
GraficoControl* AbrirGraficoControl(const PedidoControl& pedido, QWidget* padre);
