#pragma once
// What the operator sees of one action (a key, a click) while the database
// is slow or gone:
//  - at most one message about the connection: once one has been shown, the
//    statements of the same action fail at once with that failure, marked as
//    already told (Falla::Avisada), until the operator's next key or click
//    outside the program's own message boxes, or a Reintentar;
//  - the busy cursor while a statement waits, and the keys typed meanwhile
//    dropped (Espera).

#include <QElapsedTimer>
#include <optional>

#include "services/falla.h"

namespace accion_operador {

// A failure that says the database cannot be reached at all.
bool EsDeConexion(const Falla& falla);

// The connection failure already shown during this action, if any.
std::optional<Falla> Avisada();
// Remembers that the operator has been shown this failure.
void RecordarAvisada(const Falla& falla);
// The operator asked to try again: the next statement really tries.
void Olvidar();

// While one lives, the operator is answering one of the program's own boxes:
// those keys start no new action.
class EnDialogo {
 public:
  EnDialogo();
  ~EnDialogo();
  EnDialogo(const EnDialogo&) = delete;
  EnDialogo& operator=(const EnDialogo&) = delete;
};

// Around a statement: the busy cursor while it runs; when it made the
// operator wait, the keys typed meanwhile are delivered to nobody. Within
// another (a transaction's statements) it does nothing: the outer one spans
// them all.
class Espera {
 public:
  Espera();
  ~Espera();
  Espera(const Espera&) = delete;
  Espera& operator=(const Espera&) = delete;

 private:
  QElapsedTimer reloj_;
  bool cursor_ = false;
  bool exterior_ = false;
};

}  // namespace accion_operador
