#include "services/accion_operador.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>

namespace accion_operador {
namespace {

// A wait shorter than this leaves no time to type anything worth dropping.
constexpr qint64 kEsperaNotable = 150;

// Watches the operator's input for the whole application.
class Vigia : public QObject {
 public:
  std::optional<Falla> avisada;
  int dialogos = 0;
  bool descartando = false;

  static Vigia& Instancia() {
    static Vigia* vigia = [] {
      auto* nuevo = new Vigia;
      if (QCoreApplication::instance()) QCoreApplication::instance()->installEventFilter(nuevo);
      return nuevo;
    }();
    return *vigia;
  }

 protected:
  bool eventFilter(QObject* objeto, QEvent* evento) override {
    const QEvent::Type tipo = evento->type();
    const bool tecla =
        tipo == QEvent::KeyPress || tipo == QEvent::KeyRelease || tipo == QEvent::ShortcutOverride;
    if (descartando && tecla) return true;
    if ((tipo == QEvent::KeyPress || tipo == QEvent::MouseButtonPress) && dialogos == 0)
      avisada.reset();
    return QObject::eventFilter(objeto, evento);
  }
};

}  // namespace

bool EsDeConexion(const Falla& falla) {
  return falla.Codigo() == Falla::kConexion || falla.Codigo() == Falla::kArchivoCambiado;
}

std::optional<Falla> Avisada() { return Vigia::Instancia().avisada; }

void RecordarAvisada(const Falla& falla) {
  Falla avisada = falla;
  Vigia::Instancia().avisada = avisada.MarcarAvisada();
}

void Olvidar() { Vigia::Instancia().avisada.reset(); }

EnDialogo::EnDialogo() { ++Vigia::Instancia().dialogos; }
EnDialogo::~EnDialogo() { --Vigia::Instancia().dialogos; }

namespace {
// Esperas open on this thread.
thread_local int esperasAbiertas = 0;
}  // namespace

Espera::Espera() : exterior_(esperasAbiertas++ == 0) {
  if (!exterior_) return;
  Vigia::Instancia();
  if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    cursor_ = true;
  }
  reloj_.start();
}

Espera::~Espera() {
  --esperasAbiertas;
  if (!exterior_) return;
  if (cursor_) QGuiApplication::restoreOverrideCursor();
  if (reloj_.elapsed() < kEsperaNotable || !QCoreApplication::instance()) return;
  // What the operator typed while the window could not answer is in the
  // queue now: deliver it to nobody, before any message box opens.
  Vigia& vigia = Vigia::Instancia();
  vigia.descartando = true;
  QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
  vigia.descartando = false;
}

}  // namespace accion_operador
