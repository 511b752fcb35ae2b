#include "report/ventana_grafico.h"

#include <QChartView>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>

#include "report/lib_reportes.h"
#include "services/convenciones.h"
#include "services/guardar_pdf.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/operador.h"

GraficoControl::GraficoControl(const PedidoControl& pedido, QWidget* padre) : QDialog(padre) {
  setWindowTitle(QStringLiteral("Gráfico de control"));
  setAttribute(Qt::WA_DeleteOnClose);
  datos_.pedido = pedido;

  cmbColumna = new QComboBox(this);
  cmbColumna->setObjectName(QStringLiteral("cmbColumna"));
  for (const ColumnaAnalisis& columna : ColumnasAnalisis())
    if (columna.tipo == TipoCampo::Numero)
      cmbColumna->addItem(columna.tituloReporte, columna.campo);
  cmbColumna->setCurrentIndex(std::max(0, cmbColumna->findData(pedido.campo)));
  cmbTipo = new QComboBox(this);
  cmbTipo->setObjectName(QStringLiteral("cmbTipo"));
  cmbTipo->addItems(LeerTipos(LibDatos::Instancia().Conexion(), pedido.tabla));
  int tipo = cmbTipo->findText(pedido.tipo.trimmed(), Qt::MatchFixedString);
  if (tipo < 0) {
    cmbTipo->addItem(pedido.tipo.trimmed());
    tipo = cmbTipo->count() - 1;
  }
  cmbTipo->setCurrentIndex(tipo);

  auto* etiquetaColumna = new QLabel(QStringLiteral("&Análisis:"), this);
  etiquetaColumna->setBuddy(cmbColumna);
  auto* etiquetaTipo = new QLabel(QStringLiteral("&Tipo de harina:"), this);
  etiquetaTipo->setBuddy(cmbTipo);
  auto* imprimir = new QPushButton(QStringLiteral("Vista &previa (Ctrl+P)"), this);
  imprimir->setAutoDefault(false);
  auto* cerrar = new QPushButton(QStringLiteral("Cerrar (Esc)"), this);
  cerrar->setAutoDefault(false);
  auto* arriba = new QHBoxLayout;
  arriba->addWidget(etiquetaColumna);
  arriba->addWidget(cmbColumna);
  arriba->addSpacing(12);
  arriba->addWidget(etiquetaTipo);
  arriba->addWidget(cmbTipo);
  arriba->addStretch();
  arriba->addWidget(imprimir);
  arriba->addWidget(cerrar);

  subtitulo_ = new QLabel(this);
  individuos_ = new QChartView(this);
  rangos_ = new QChartView(this);
  individuos_->setRenderHint(QPainter::Antialiasing);
  rangos_->setRenderHint(QPainter::Antialiasing);
  for (QChartView* vista : {individuos_, rangos_}) vista->setFocusPolicy(Qt::NoFocus);
  auto* graficos = new QVBoxLayout;
  graficos->addWidget(individuos_, 3);
  graficos->addWidget(rangos_, 2);

  figuras_ = new QFormLayout;
  reglas_ = new QListWidget(this);
  reglas_->setObjectName(QStringLiteral("lstReglas"));
  reglas_->setWordWrap(true);
  reglas_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* tituloReglas = new QLabel(QStringLiteral("&Reglas:"), this);
  tituloReglas->setBuddy(reglas_);
  auto* costado = new QVBoxLayout;
  costado->addLayout(figuras_);
  costado->addSpacing(8);
  costado->addWidget(tituloReglas);
  costado->addWidget(reglas_, 1);
  auto* centro = new QHBoxLayout;
  centro->addLayout(graficos, 3);
  centro->addLayout(costado, 1);

  auto* todo = new QVBoxLayout(this);
  todo->addLayout(arriba);
  todo->addWidget(subtitulo_);
  todo->addLayout(centro, 1);
  resize(1100, 720);

  // A shortcut of the window, so that it reaches past a combo, which would
  // take the letter for a search among its items.
  auto* vistaPrevia = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
  connect(vistaPrevia, &QShortcut::activated, imprimir, &QPushButton::click);
  connect(imprimir, &QPushButton::clicked, this,
          [this] { EnFrontera(QStringLiteral("Gráfico de control"), [&] { VistaPrevia(); }); });
  connect(cerrar, &QPushButton::clicked, this, &QDialog::reject);
  const auto cambiar = [this] {
    datos_.pedido.campo = cmbColumna->currentData().toString();
    datos_.pedido.tipo = cmbTipo->currentText();
    EnFrontera(QStringLiteral("Gráfico de control"), [&] { Leer(); });
  };
  connect(cmbColumna, &QComboBox::activated, this, cambiar);
  connect(cmbTipo, &QComboBox::activated, this, cambiar);
  datos_.pedido.campo = cmbColumna->currentData().toString();
  datos_.pedido.tipo = cmbTipo->currentText();
  Leer();
  cmbColumna->setFocus();
}

GraficoControl::~GraficoControl() = default;

void GraficoControl::Leer() {
  datos_ = LeerGrafico(LibDatos::Instancia().Conexion(), datos_.pedido);
  Mostrar();
}

void GraficoControl::Mostrar() {
  subtitulo_->setText(SubtituloGrafico(datos_));
  // A view lets go of its chart when given another: the old one is deleted here.
  QChart* antes = individuos_->chart();
  individuos_->setChart(GraficoIndividuos(datos_));
  delete antes;
  antes = rangos_->chart();
  rangos_->setChart(GraficoRangos(datos_));
  delete antes;
  while (figuras_->rowCount() > 0) figuras_->removeRow(0);
  for (const auto& [nombre, valor] : FigurasGrafico(datos_, LibCampos::SeparadorDecimal())) {
    auto* texto = new QLabel(valor, this);
    texto->setObjectName(QStringLiteral("figura_") + nombre);
    texto->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    texto->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figuras_->addRow(nombre, texto);
  }
  if (datos_.limite) {
    auto* limite = new QLabel(DescribirLimite(*datos_.limite, LibCampos::SeparadorDecimal()), this);
    limite->setWordWrap(true);
    figuras_->addRow(limite);
  }
  reglas_->clear();
  reglas_->addItems(ReglasGrafico(datos_));
}

QString GraficoControl::Figura(const QString& nombre) const {
  const QLabel* texto = findChild<QLabel*>(QStringLiteral("figura_") + nombre);
  return texto ? texto->text() : QString();
}

QStringList GraficoControl::Reglas() const {
  QStringList reglas;
  for (int i = 0; i < reglas_->count(); ++i) reglas.append(reglas_->item(i)->text());
  return reglas;
}

void GraficoControl::VistaPrevia() {
  ElOperador().VistaPrevia(QStringLiteral("Gráfico de control"), PaginaGrafico(),
                           [this](QPagedPaintDevice& destino) { PintarGrafico(datos_, destino); });
}

GraficoControl* AbrirGraficoControl(const PedidoControl& pedido, QWidget* padre) {
  const QString salida = LibReportes::Instancia().Salida(QStringLiteral("SalidaGrafico"));
  if (salida.isEmpty()) {
    auto* ventana = new GraficoControl(pedido, padre);
    ventana->show();
    ventana->activateWindow();
    return ventana;
  }
  const DatosGrafico datos = LeerGrafico(LibDatos::Instancia().Conexion(), pedido);
  GuardarPdf(salida, PaginaGrafico(), QStringLiteral("Gráfico de control"),
             [&](QPagedPaintDevice& pdf) {
               PintarGrafico(datos, pdf);
               return true;
             });
  ElOperador().Informar(QStringLiteral("Gráfico de control guardado en %1").arg(salida));
  return nullptr;
}
