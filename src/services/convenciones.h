#pragma once
// The three ways a procedure handles the failure of one of its steps. Each
// procedure picks one; none spells out its own retry loop.
//
//  1. Intentar: every step is attempted; a failing step is skipped silently.
//  2. PasosReportados: a failing step is shown to the operator through
//     LibUtil::ReportarError; 4 retries the step, 5 goes on with the next one,
//     any other answer leaves the procedure.
//  3. No handling: the Falla simply propagates to the caller.
//
// EnFrontera is the edge of the event loop: a Qt slot or event handler runs its
// body through it, so that no exception ever reaches Qt.
//
// A failure already told to the operator during the same action
// (Falla::Avisada: the database is out of reach) is not shown again: the
// procedure is left as if the operator had answered Anular.

#include <QString>
#include <exception>
#include <utility>

#include "services/falla.h"

namespace convenciones {

// Turns whatever was thrown into a Falla, so that every report reads alike.
Falla ComoFalla(std::exception_ptr error);

// Shows the failure to the operator; returns the answer (3, 4, 5 or other).
int Preguntar(const Falla& falla, const QString& procedimiento);

// Tells the operator about a failure that reached the event loop.
void AvisarEnFrontera(const Falla& falla, const QString& contexto);

}  // namespace convenciones

// Convention 1.
template <class Cuerpo>
void Intentar(Cuerpo&& paso) noexcept {
  try {
    std::forward<Cuerpo>(paso)();
  } catch (...) {
  }
}

// Convention 2. One object per run of a procedure:
//   PasosReportados pasos("UpdateaCampo");
//   if (!pasos.Paso([&] { ... })) return;
class PasosReportados {
 public:
  // With reintentos false the answer 4 leaves the procedure like any answer
  // other than 5 (configuration reads retry nothing).
  explicit PasosReportados(QString procedimiento, bool reintentos = true)
      : procedimiento_(std::move(procedimiento)), reintentos_(reintentos) {}

  // Runs the step. True: go on with the next step (it worked, or the operator
  // chose to skip it). False: leave the procedure.
  template <class Cuerpo>
  bool Paso(Cuerpo&& paso) {
    for (;;) {
      int respuesta = 0;
      try {
        paso();
        return true;
      } catch (...) {
        respuesta = convenciones::Preguntar(convenciones::ComoFalla(std::current_exception()),
                                            procedimiento_);
      }
      if (respuesta == 4 && reintentos_) continue;
      return respuesta == 5;
    }
  }

 private:
  QString procedimiento_;
  bool reintentos_;
};

// The edge of the event loop.
template <class Cuerpo>
void EnFrontera(const QString& contexto, Cuerpo&& cuerpo) noexcept {
  try {
    std::forward<Cuerpo>(cuerpo)();
  } catch (...) {
    try {
      convenciones::AvisarEnFrontera(convenciones::ComoFalla(std::current_exception()), contexto);
    } catch (...) {
    }
  }
}
