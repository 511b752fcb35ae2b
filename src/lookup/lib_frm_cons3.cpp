#include "lookup/lib_frm_cons3.h"

#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "lookup/color_stock.h"
#include "lookup/lista_consulta.h"
#include "services/convenciones.h"
#include "services/distintos.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"
#include "services/operador.h"
#include "services/twips.h"
#include "session/configuracion.h"

namespace {

int Px(double twips) { return twips::APixeles(static_cast<int>(std::lround(twips))); }
int PxAlto(double twips) {
  return twips::APixeles(static_cast<int>(std::lround(twips)), Qt::Vertical);
}
int Tw(int pixeles) { return twips::DePixeles(pixeles); }

// The design's client area and the parts the layout rules read.
constexpr int kAnchoDiseno = 7260;
constexpr int kAltoDiseno = 4530;
constexpr int kAltoFrame1 = 255;
constexpr int kAnchoFrame1 = 7215;
constexpr int kAltoHScroll = 255;
constexpr int kPasoHScroll = 480;
// The widest column, in capital X's.
constexpr int kMaximoLetras = 60;

}  // namespace

Lib_FrmCons3::Lib_FrmCons3(QWidget* padre) : QDialog(padre) {
  setObjectName(QStringLiteral("Lib_FrmCons3"));
  setWindowTitle(QStringLiteral("Consulta..."));
  CrearControles();
  resize(Px(kAnchoDiseno), PxAlto(kAltoDiseno));
}

Lib_FrmCons3::~Lib_FrmCons3() {
  // The list's signals must not reach this window while its controls are
  // being destroyed (the boxes are gone by then).
  ListView1->horizontalHeader()->disconnect(this);
  ListView1->horizontalScrollBar()->disconnect(this);
  ListView1->AlTeclear = nullptr;
}

void Lib_FrmCons3::CrearControles() {
  picFields = new QWidget(this);
  picFields->setObjectName(QStringLiteral("picFields"));
  picFields->setGeometry(0, 0, Px(7200), PxAlto(4215));
  CmbSearch.append(CrearCaja(0));
  ListView1 = new ListaConsulta(picFields);
  ListView1->setObjectName(QStringLiteral("ListView1"));
  ListView1->setAccessibleName(QStringLiteral("Valores ya cargados"));
  ListView1->setAccessibleDescription(
      QStringLiteral("Enter toma la fila seleccionada; Esc no toma nada"));
  ListView1->setGeometry(0, PxAlto(360), Px(7335), PxAlto(3495));
  ListView1->AlTeclear = [this](int codigo, int shift, const QString& texto) {
    bool usada = false;
    EnFrontera(QStringLiteral("ListView1_KeyDown"),
               [&] { usada = ListView1_KeyDown(codigo, shift, texto); });
    return usada;
  };
  connect(ListView1, &QAbstractItemView::doubleClicked, this, [this] {
    EnFrontera(QStringLiteral("CmdAceptar_Click"), [this] { CmdAceptar_Click(); });
  });
  connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int seccion) { ListView1_ColumnClick(seccion); });
  // The boxes stay over their columns however the list scrolls sideways.
  connect(ListView1->horizontalScrollBar(), &QScrollBar::valueChanged, this,
          [this] { ColocarCajas(); });
  connect(ListView1->horizontalHeader(), &QHeaderView::sectionResized, this,
          [this] { ColocarCajas(); });
  connect(ListView1->horizontalHeader(), &QHeaderView::geometriesChanged, this,
          [this] { ColocarCajas(); });

  HScroll1 = new QScrollBar(Qt::Horizontal, this);
  HScroll1->setObjectName(QStringLiteral("HScroll1"));
  HScroll1->setGeometry(0, PxAlto(3840), Px(7215), PxAlto(kAltoHScroll));
  HScroll1->setSingleStep(kPasoHScroll);
  HScroll1->setPageStep(kPasoHScroll);
  HScroll1->setFocusPolicy(Qt::NoFocus);
  connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });

  Frame1 = new QFrame(this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Frame1->setGeometry(0, PxAlto(4200), Px(kAnchoFrame1), PxAlto(kAltoFrame1));
  const auto boton = [this](const char* nombre, const QString& texto, int izquierda) {
    auto* b = new QPushButton(texto, Frame1);
    b->setObjectName(QString::fromLatin1(nombre));
    b->setGeometry(Px(izquierda), 0, Px(1695), PxAlto(kAltoFrame1));
    return b;
  };
  CmdAceptar = boton("CmdAceptar", QStringLiteral("&Aceptar"), 323);
  CmdCancelar = boton("CmdCancelar", QStringLiteral("&Cancelar"), 2723);
  CmdNueva = boton("CmdNueva", QStringLiteral("&Nueva Busqueda"), 5243);
  CmdAceptar->setDefault(true);
  connect(CmdAceptar, &QPushButton::clicked, this, [this] {
    EnFrontera(QStringLiteral("CmdAceptar_Click"), [this] { CmdAceptar_Click(); });
  });
  connect(CmdCancelar, &QPushButton::clicked, this, [this] { reject(); });
  connect(CmdNueva, &QPushButton::clicked, this,
          [this] { EnFrontera(QStringLiteral("CmdNueva_Click"), [this] { CmdNueva_Click(); }); });
}

QComboBox* Lib_FrmCons3::CrearCaja(int indice) {
  auto* caja = new QComboBox(picFields);
  caja->setObjectName(QStringLiteral("CmbSearch_%1").arg(indice));
  caja->setEditable(true);
  caja->setInsertPolicy(QComboBox::NoInsert);
  caja->setToolTip(QStringLiteral("F5 realiza nueva busqueda"));
  caja->setAccessibleDescription(
      QStringLiteral("Escriba para ir a la primera fila que empieza así; F5 busca de nuevo en la "
                     "base; Abajo pasa a la lista"));
  caja->setGeometry(0, 0, Px(1815), PxAlto(315));
  caja->installEventFilter(this);
  connect(caja, &QComboBox::editTextChanged, this, [this, indice] { CmbSearch_Change(indice); });
  connect(caja, &QComboBox::textActivated, this, [this, indice] { CmbSearch_Change(indice); });
  return caja;
}

void Lib_FrmCons3::Form_Load() {
  PasosReportados pasos(QStringLiteral("FORM_LOAD"));
  LibDatos& datos = LibDatos::Instancia();
  if (!pasos.Paso([&] {
        MostrarStock = ValorConfiguracion(QStringLiteral("MostrarStockenConsultas"));
        ColoresStock.clear();
        for (int nivel = 1; nivel <= 4; ++nivel)
          ColoresStock.append(ValorConfiguracion(QStringLiteral("Stk_Nivel%1").arg(nivel)));
      }))
    return;
  if (!pasos.Paso(
          [&] { EsArticulos = Sql.contains(QLatin1String("articulos"), Qt::CaseInsensitive); }))
    return;
  if (!pasos.Paso([&] {
        Valores = QStringList();
        Cantidades = QStringList();
      }))
    return;
  if (!pasos.Paso([&] { ListView1->Modelo().Vaciar(); })) return;
  if (!pasos.Paso([&] {
        if (SqlInicial.isEmpty()) SqlInicial = Sql;
      }))
    return;
  if (!pasos.Paso([&] {
        datos.AbrirConsulta(SentenciaParaElMotor(datos.Conexion(), Sql), RsConsulta, 0, 1, true);
      }))
    return;
  if (!pasos.Paso([&] { ListView1->SetCheckboxes(CheckBoxes); })) return;
  if (!pasos.Paso([&] { Encolumnar(); })) return;
  if (!pasos.Paso([&] { Leer(1, 0); })) return;
  if (!pasos.Paso([&] { Dimensionar(); })) return;
  // The sizes above follow the columns; the window's layout rules then give
  // the list the window's whole width, on every load and not only when the
  // window's own size changes.
  if (!pasos.Paso([&] { Form_Resize(); })) return;
  if (!pasos.Paso([&] {
        if (OrdenarPorLwv) ListView1->SetSorted(true);
      }))
    return;
  // Every load leaves the first row shown selected and current, so that
  // Enter, a double click or "&Aceptar" take it at once.
  if (!pasos.Paso([&] { ListView1->SetSelectedItem(0); })) return;
  if (!pasos.Paso([&] { LibUtil::Instancia().PosicionarFormulario(this, 0); })) return;
  if (!pasos.Paso([&] {
        if (!FiltroInicial.trimmed().isEmpty()) CmbSearch[0]->setEditText(FiltroInicial);
      }))
    return;
  if (!pasos.Paso([&] { datos.CerrarConsulta(RsConsulta); })) return;
  CmbSearch[CajaActiva < CmbSearch.size() ? CajaActiva : 0]->setFocus();
}

void Lib_FrmCons3::Encolumnar() {
  try {
    QStringList nombres;
    tamanos_.clear();
    const int campos = RsConsulta.FieldCount();
    for (int i = 0; i < campos; ++i) {
      const Campo campo = RsConsulta.Fields(i);
      // A box made for an earlier load of this lookup is used again.
      if (i >= CmbSearch.size()) CmbSearch.append(CrearCaja(i));
      CmbSearch[i]->setProperty("Campo", campo.Name);
      CmbSearch[i]->setVisible(true);
      tamanos_.append(campo.DefinedSize < 0 ? -1 : std::min(campo.DefinedSize, kMaximoLetras));
      nombres.append(campo.Name);
    }
    for (int i = campos; i < CmbSearch.size(); ++i) CmbSearch[i]->setVisible(false);
    ListView1->Modelo().Encabezados(nombres);
    const QFontMetrics letras = fontMetrics();
    for (int i = 0; i < campos; ++i)
      if (tamanos_[i] >= 0)
        ListView1->setColumnWidth(i,
                                  letras.horizontalAdvance(QString(tamanos_[i], QLatin1Char('X'))));
  } catch (const Falla& falla) {
    ElOperador().Avisar(Operador::Estilo::Exclamacion, QStringLiteral("Aviso al operador"),
                        falla.Mensaje());
  }
}

void Lib_FrmCons3::Leer(int /*Cdesde*/, int /*Cuantas*/) {
  PasosReportados pasos(QStringLiteral("FORM_LOAD"));
  if (RsConsulta.Bof()) return;
  const int campos = RsConsulta.FieldCount();
  FilasLeidas filas;
  filas.columnas.resize(static_cast<size_t>(campos));

  // The stock columns of an article statement, found once; a statement
  // without them lists its rows uncoloured.
  int pedido = -1;
  int stock = -1;
  for (int i = 0; EsArticulos && i < campos; ++i) {
    const QString nombre = RsConsulta.Fields(i).Name;
    if (nombre.compare(QLatin1String("PUNTOPEDIDO"), Qt::CaseInsensitive) == 0 && pedido < 0)
      pedido = i;
    if (nombre.compare(QLatin1String("Stock"), Qt::CaseInsensitive) == 0 && stock < 0) stock = i;
  }
  const bool colorear =
      EsArticulos && pedido >= 0 && stock >= 0 &&
      MostrarStock.trimmed().compare(QLatin1String("SI"), Qt::CaseInsensitive) == 0;

  const QString separador = LibCampos::SeparadorDecimal();
  while (!RsConsulta.Eof()) {
    if (!pasos.Paso([&] {
          const QString primero = LibUtil::SinNulo(RsConsulta.Valor(0)).trimmed();
          filas.columnas[0].Agregar(primero);
          for (int i = 1; i < campos; ++i)
            filas.columnas[i].Agregar(
                LibUtil::FormatearValor(LibUtil::SinNulo(RsConsulta.Valor(i)), separador));
          if (!colorear) return;
          const int nivel =
              color_stock::Nivel(LibUtil::NumeroInicial(LibUtil::SinNulo(RsConsulta.Valor(pedido))),
                                 LibUtil::NumeroInicial(LibUtil::SinNulo(RsConsulta.Valor(stock))));
          const QString color = ColoresStock.value(nivel).trimmed();
          filas.negritas.push_back(color.isEmpty() ? 0 : 1);
          filas.colores.push_back(
              color.isEmpty() ? QColor() : color_stock::ColorDeWindows(color).value_or(QColor()));
        }))
      break;
    // A row that cannot be passed would be read for ever.
    if (!pasos.Paso([&] { RsConsulta.MoveNext(); })) break;
  }
  // A row given up half read leaves its columns uneven: they are cut to the
  // rows every column holds.
  ItemActual = static_cast<int>(filas.columnas.front().Filas()) - 1;
  for (const ColumnaTextos& columna : filas.columnas)
    if (columna.Filas() != filas.columnas.front().Filas()) return;
  ListView1->Modelo().Reemplazar(std::move(filas));
}

void Lib_FrmCons3::Dimensionar() {
  ModeloConsulta& modelo = ListView1->Modelo();
  const QFontMetrics letras = fontMetrics();
  int total = 0;
  for (int i = 0; i < tamanos_.size(); ++i) {
    if (tamanos_[i] < 0) {
      // No declared size: as wide as the widest value read, or the header.
      const qsizetype letrasColumna = std::max<qsizetype>(
          {modelo.Mayor(i), modelo.Encabezados().value(i).size(), qsizetype(1)});
      ListView1->setColumnWidth(
          i, letras.horizontalAdvance(
                 QString(std::min<qsizetype>(letrasColumna, kMaximoLetras), QLatin1Char('X'))));
    }
    total += ListView1->columnWidth(i);
  }
  ColocarCajas();
  ListView1->resize(total + Px(360), ListView1->height());
  picFields->resize(total + Px(360), picFields->height());
  HScroll1->resize(total, HScroll1->height());
  const int anchoFields = Tw(picFields->width());
  HScroll1->setMaximum(
      anchoFields > 32700 ? 32700 : static_cast<int>(std::lround((anchoFields + 480) * 0.6)));
  const QScreen* pantalla = screen() ? screen() : QGuiApplication::primaryScreen();
  const int anchoPantalla = pantalla ? pantalla->geometry().width() : Px(kAnchoDiseno) * 2;
  int ancho = ListView1->width() + Px(360) < anchoPantalla ? ListView1->width() + Px(280)
                                                           : anchoPantalla - Px(480);
  // Never narrower than designed: the buttons must fit.
  ancho = std::max(ancho, std::min(Px(kAnchoDiseno), anchoPantalla));
  resize(ancho, height());
}

void Lib_FrmCons3::ColocarCajas() {
  QHeaderView* cabecera = ListView1->horizontalHeader();
  for (int i = 0; i < CmbSearch.size() && i < cabecera->count(); ++i) {
    const int izquierda =
        cabecera->mapTo(picFields, QPoint(cabecera->sectionViewportPosition(i), 0)).x();
    CmbSearch[i]->setGeometry(izquierda, 0, std::max(0, cabecera->sectionSize(i) - Px(50)),
                              PxAlto(315));
    // A screen reader names each box after the column it searches.
    const QString columna = ListView1->model()->headerData(i, Qt::Horizontal).toString();
    CmbSearch[i]->setAccessibleName(QStringLiteral("Buscar en %1").arg(columna));
  }
}

void Lib_FrmCons3::resizeEvent(QResizeEvent* evento) {
  QDialog::resizeEvent(evento);
  Form_Resize();
}

void Lib_FrmCons3::showEvent(QShowEvent* evento) {
  QDialog::showEvent(evento);
  // The list's header finds its place inside the list's frame only now.
  Intentar([&] { ColocarCajas(); });
}

void Lib_FrmCons3::Form_Resize() {
  const int alto = height();
  const int ancho = width();
  Intentar(
      [&] { picFields->resize(picFields->width(), alto - PxAlto(kAltoFrame1) - PxAlto(480)); });
  Intentar([&] {
    ListView1->resize(ListView1->width(), picFields->height() - PxAlto(kAltoFrame1) - PxAlto(600));
  });
  Intentar([&] {
    picFields->resize(ancho - Px(120), picFields->height());
    ListView1->resize(picFields->width() - Px(20), ListView1->height());
  });
  Intentar([&] {
    Frame1->move(ancho / 2 - Frame1->width() / 2, alto - PxAlto(kAltoFrame1) - PxAlto(420));
  });
  Intentar([&] {
    HScroll1->setGeometry(HScroll1->x(), picFields->height() - PxAlto(kAltoHScroll) - PxAlto(120),
                          ancho - Px(120), HScroll1->height());
  });
  Intentar([&] { ColocarCajas(); });
}

void Lib_FrmCons3::HScroll1_Change() {
  Intentar([&] { picFields->move(-Px(HScroll1->value()), picFields->y()); });
}

void Lib_FrmCons3::Form_Unload() {
  try {
    ListView1->Modelo().Vaciar();
  } catch (const Falla& falla) {
    ElOperador().Avisar(Operador::Estilo::Critico, QStringLiteral("Aviso al Operador"),
                        falla.Mensaje());
  }
}
