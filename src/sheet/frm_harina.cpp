#include "sheet/frm_harina.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "services/caja_texto.h"
#include "services/convenciones.h"
#include "services/lib_campos.h"
#include "services/lib_util.h"
#include "services/teclas.h"
#include "services/util_kor.h"
#include "session/aspecto.h"
#include "session/estado_sesion.h"
#include "session/iniciar_sesion.h"
#include "sheet/accesibilidad.h"
#include "sheet/ayuda.h"
#include "sheet/barra_estado.h"
#include "sheet/grilla.h"
#include "sheet/inicio_planilla.h"

namespace {

struct DefinicionCampo {
  const char* dataField;
  const char* tag;
  int maximo;  // 0: no limit
};

// Index, data field, tag and maximum length of the header fields.
constexpr DefinicionCampo kCampos[] = {
    {"Fecha", "Fecha", 10},
    {"Responsable", "", 0},
    {"FechaDesde", "Fecha", 10},
    {"FechaHasta", "Fecha", 10},
};

}  // namespace

frmHarina::frmHarina(QWidget* padre) : QWidget(padre), disposicion_(DisposicionDeDiseno()) {
  setObjectName(QStringLiteral("frmHarina"));
  setWindowTitle(QStringLiteral("ANÁLISIS DE HARINA"));
  setWindowIcon(QIcon(QStringLiteral(":/iconos/HARINA.png")));
  CrearControles();
  // Key preview: the window sees every key before the focused control does.
  qApp->installEventFilter(this);
}

frmHarina::~frmHarina() { qApp->removeEventFilter(this); }

void frmHarina::CrearControles() {
  Frame2 = new QFrame(this);
  Frame2->setObjectName(QStringLiteral("Frame2"));
  Frame2->setFrameShape(QFrame::StyledPanel);
  UtilKor1 = new UtilKor(Frame2);
  UtilKor1->setObjectName(QStringLiteral("UtilKor1"));
  connect(UtilKor1, &UtilKor::BotonPulsado, this, &frmHarina::UtilKor1_BotonPulsado);
  Label1 = new QLabel(QStringLiteral("Fecha:"), Frame2);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label3 = new QLabel(QStringLiteral("Responsable:"), Frame2);
  Label3->setObjectName(QStringLiteral("Label3"));
  CrearCamposEncabezado();
  CrearPestanas();

  // Tab order: the header fields, then the tabs and the grid. The frames and
  // the command bar take no focus; the cell editor is outside the tab order.
  setTabOrder(txtFields[0], txtFields[1]);
  setTabOrder(txtFields[1], txtFields[2]);
  setTabOrder(txtFields[2], txtFields[3]);
  setTabOrder(txtFields[3], SSTab1);
  setTabOrder(SSTab1, MSflexGrid1);
  InstalarBarraDeEstado(this);
  InstalarAyuda(this);
  NombrarControles(this);
  AplicarDisposicion();
}

void frmHarina::CrearCamposEncabezado() {
  for (int i = 0; i < 4; ++i) {
    auto* campo = new CajaTexto;
    campo->setObjectName(QStringLiteral("txtFields_%1").arg(i));
    campo->setProperty("DataField", QString::fromLatin1(kCampos[i].dataField));
    campo->setProperty("Tag", QString::fromLatin1(kCampos[i].tag));
    if (kCampos[i].maximo > 0) campo->setMaxLength(kCampos[i].maximo);
    txtFields.append(campo);
  }
  txtFields[0]->setParent(Frame2);
  txtFields[1]->setParent(Frame2);
  // The responsible person only shows the logged-in operator.
  txtFields[1]->setEnabled(false);
}

void frmHarina::CrearPestanas() {
  SSTab1 = new QTabWidget(this);
  SSTab1->setObjectName(QStringLiteral("SSTab1"));
  SSTab1->setTabPosition(QTabWidget::South);
  auto* hoja = new QWidget;
  auto* reporte = new QWidget;
  SSTab1->addTab(hoja, QStringLiteral("Análisis de Harina"));
  SSTab1->addTab(reporte, QStringLiteral("Reporte de Análisis de Harina"));

  MSflexGrid1 = new Grilla(hoja);
  MSflexGrid1->setObjectName(QStringLiteral("MSflexGrid1"));
  TxtEdit = new CajaTexto(hoja);
  TxtEdit->setObjectName(QStringLiteral("TxtEdit"));
  TxtEdit->setFocusPolicy(Qt::ClickFocus);
  TxtEdit->setFrame(false);
  TxtEdit->hide();
  // Every move of the current cell: an open editor is stored into the cell it
  // covered, then the editor follows the new column.
  connect(MSflexGrid1, &Grilla::CeldaCambiada, this, [this] {
    EnFrontera(QStringLiteral("Planilla"), [this] { MSflexGrid1_RowColChange(); });
  });

  connect(SSTab1, &QTabWidget::currentChanged, this, [this](int pestana) {
    // The report tab's picture is read the first time the tab is shown: the
    // window starts on the sheet, and reading it took its share of the start.
    if (pestana == 1 && imgRep->pixmap().isNull())
      imgRep->setPixmap(QPixmap(QStringLiteral(":/imagenes/reporte.png")));
    EnFrontera(QStringLiteral("Pestañas"), [this] { SSTab1_Click(); });
  });

  frmRep = new QFrame(reporte);
  frmRep->setObjectName(QStringLiteral("frmRep"));
  imgRep = new QLabel(frmRep);
  imgRep->setObjectName(QStringLiteral("imgRep"));
  imgRep->setScaledContents(true);
  Label2 = new QLabel(QStringLiteral("Fecha Desde:"), frmRep);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label4 = new QLabel(QStringLiteral("Fecha Hasta:"), frmRep);
  Label4->setObjectName(QStringLiteral("Label4"));
  for (QLabel* etiqueta : {Label2, Label4}) {
    QFont negrita = etiqueta->font();
    negrita.setBold(true);
    etiqueta->setFont(negrita);
  }
  txtFields[2]->setParent(frmRep);
  txtFields[3]->setParent(frmRep);
}

bool frmHarina::Form_Load() {
  if (!IniciarSesion()) return false;
  PrepararConsultasYReportes();
  // The steps after the session start have no recovery of their own: a failure
  // stops the start-up there; the operator is told and the window opens as far
  // as it got.
  EnFrontera(QStringLiteral("Inicio"), [this] {
    LibUtil::Instancia().PosicionarFormulario(this, 0);
    AplicarAspecto(this);
    InicializaPantalla();
    Campo(QStringLiteral("responsable"))->setText(gUsuarioLogeado);
    SSTab1->setCurrentIndex(0);
  });
  connect(&vigia_, &Vigia::Cambio, this, &frmHarina::VerCambiosDeOtros, Qt::UniqueConnection);
  // An analysis deleted elsewhere while an entry was open here leaves once the
  // entry is closed.
  connect(&vigia_, &Vigia::Pulso, this, &frmHarina::QuitarBorradas, Qt::UniqueConnection);
  connect(&vigia_, &Vigia::SinConexion, this, &frmHarina::ConexionPerdida, Qt::UniqueConnection);
  connect(&reconexion_, &Reconexion::Recuperada, this, &frmHarina::ConexionRecuperada,
          Qt::UniqueConnection);
  vigia_.Vigilar();
  return true;
}

QLineEdit* frmHarina::Campo(const QString& nombre) const {
  return txtFields[LibCampos::PrepararCampo(nombre, txtFields)];
}

bool frmHarina::eventFilter(QObject* objeto, QEvent* evento) {
  // The keys that confirm the editor's entry are the editor's own, never a
  // shortcut's: claimed at once, before the line edit weighs every standard
  // key binding against them.
  if (evento->type() == QEvent::ShortcutOverride && objeto == TxtEdit) {
    auto* tecla = static_cast<QKeyEvent*>(evento);
    if (tecla->modifiers() == Qt::NoModifier &&
        LibCampos::EsTeclaAvance(teclas::CodigoVirtual(tecla->key()))) {
      tecla->accept();
      return true;
    }
  }
  if (evento->type() == QEvent::KeyPress && objeto->isWidgetType()) {
    auto* widget = static_cast<QWidget*>(objeto);
    // A key the focused control ignores travels on to its parents; forward it
    // once, on its first delivery.
    QWidget* destino = QApplication::focusWidget() ? QApplication::focusWidget() : this;
    if (widget == destino && widget->window() == this) {
      const auto* tecla = static_cast<QKeyEvent*>(evento);
      const int codigo = teclas::CodigoVirtual(tecla->key());
      const int shift = teclas::Modificadores(tecla->modifiers());
      bool pestanaCambiada = false;
      EnFrontera(QStringLiteral("Pestañas"),
                 [&] { pestanaCambiada = CambiarPestana(codigo, shift); });
      if (pestanaCambiada) return true;
      Form_KeyDown(codigo, shift);
      // A command that took the focus elsewhere (CANCELAR back to the date
      // field) used the key up: it no longer belongs to the control.
      if (QApplication::focusWidget() != widget) return true;
    }
  }
  // Then the control's own handling, which may use the event up.
  bool usado = false;
  EnFrontera(QStringLiteral("Teclado"), [&] { usado = FiltrarEvento(objeto, evento); });
  return usado;
}

bool frmHarina::FiltrarEvento(QObject* objeto, QEvent* evento) {
  const QEvent::Type tipo = evento->type();
  if (tipo != QEvent::KeyPress && tipo != QEvent::FocusIn && tipo != QEvent::FocusOut &&
      tipo != QEvent::MouseButtonDblClick)
    return false;
  if (objeto == MSflexGrid1->viewport()) {
    if (tipo == QEvent::MouseButtonDblClick) MSflexGrid1_DblClick();
    return false;
  }
  const auto* tecla = tipo == QEvent::KeyPress ? static_cast<QKeyEvent*>(evento) : nullptr;
  const int codigo = tecla ? teclas::CodigoVirtual(tecla->key()) : 0;
  const int shift = tecla ? teclas::Modificadores(tecla->modifiers()) : 0;
  // The character a key types; none for a key typed with Ctrl or Alt, and for
  // the keys the focus and the grid's commands use.
  QString texto;
  if (tecla && !(shift & (teclas::kCtrl | teclas::kAlt)) && codigo != teclas::kTab &&
      codigo != teclas::kSuprimir)
    texto = tecla->text();

  if (objeto == MSflexGrid1) {
    if (tipo == QEvent::FocusIn) MSflexGrid1_GotFocus();
    if (!tecla) return false;
    if (MSflexGrid1_KeyDown(codigo, shift)) return true;
    if (texto.isEmpty()) return false;
    return MSflexGrid1_KeyPress(static_cast<int>(texto.toUcs4().value(0)));
  }
  if (objeto == TxtEdit) {
    if (tipo == QEvent::FocusIn) TxtEdit_GotFocus();
    if (tipo == QEvent::FocusOut) TxtEdit_LostFocus(static_cast<QFocusEvent*>(evento)->reason());
    if (!tecla) return false;
    if (TxtEdit_KeyDown(codigo, shift)) return true;
    return !texto.isEmpty() && TxtEdit_KeyPress(texto);
  }
  const qsizetype indice = txtFields.indexOf(qobject_cast<QLineEdit*>(objeto));
  if (indice < 0) return false;
  const int i = static_cast<int>(indice);
  if (tipo == QEvent::FocusIn) txtFields_GotFocus(i);
  if (tipo == QEvent::FocusOut) txtFields_LostFocus(i);
  if (!tecla) return false;
  if (txtFields_KeyDown(i, codigo, shift)) return true;
  return txtFields_KeyPress(i, texto);
}

bool frmHarina::CambiarPestana(int KeyCode, int Shift) {
  if ((Shift & (teclas::kCtrl | teclas::kAlt)) != teclas::kCtrl) return false;
  int paso = 0;
  if (KeyCode == teclas::kTab) paso = (Shift & teclas::kShift) ? -1 : 1;
  if (KeyCode == teclas::kAvPag) paso = 1;
  if (KeyCode == teclas::kRePag) paso = -1;
  if (paso == 0) return false;
  // The next tab that can be shown, as a click on it would show it: a
  // disabled tab is passed over.
  const int cuantas = SSTab1->count();
  for (int i = 1; i < cuantas; ++i) {
    const int pestana = ((SSTab1->currentIndex() + paso * i) % cuantas + cuantas) % cuantas;
    if (!SSTab1->isTabEnabled(pestana)) continue;
    // The open entry is stored first, as a click elsewhere would store it.
    if (!GuardarEntrada(0)) return true;
    SSTab1->setCurrentIndex(pestana);
    return true;
  }
  return true;
}

void frmHarina::Form_KeyDown(int KeyCode, int Shift) {
  // The command bar knows keys without modifiers: Shift+F6 is the
  // certificate's, and must not print the report as F6 does.
  if (KeyCode == teclas::kF6 && Shift == teclas::kShift) {
    EnFrontera(QStringLiteral("Certificado"), [&] { ImprimeCertificado(); });
    return;
  }
  EnFrontera(QStringLiteral("Teclado"), [&] { UtilKor1->ProcesaTecla(KeyCode); });
}

void frmHarina::closeEvent(QCloseEvent* evento) {
  // Every cell was stored when it was confirmed; an entry still open in the
  // editor is stored now, and the blank analyses this station left go.
  // Entries that wait for the database are never dropped unasked.
  EnFrontera(QStringLiteral("Cerrar"), [this] { GuardarEditorAbierto(); });
  bool sinConexion = false;
  if (!CerrarConPendientes(sinConexion)) {
    evento->ignore();
    return;
  }
  reconexion_.Detener();
  // Out of reach, the blank analyses stay: the operator has heard enough.
  if (sinConexion)
    Intentar([this] { planilla_.Dejar(); });
  else
    EnFrontera(QStringLiteral("Cerrar"), [this] { planilla_.Dejar(); });
  evento->accept();
  QCoreApplication::quit();
}
