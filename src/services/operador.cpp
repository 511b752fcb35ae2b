#include "services/operador.h"

#include "services/operador_qt.h"

namespace {

std::unique_ptr<Operador>& Instalado() {
  static std::unique_ptr<Operador> operador;
  return operador;
}

}  // namespace

Operador& ElOperador() {
  auto& operador = Instalado();
  if (!operador) operador = std::make_unique<OperadorQt>();
  return *operador;
}

std::unique_ptr<Operador> InstalarOperador(std::unique_ptr<Operador> operador) {
  std::swap(Instalado(), operador);
  return operador;
}
