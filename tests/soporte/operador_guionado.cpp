#include "soporte/operador_guionado.h"

int OperadorGuionado::ReportarError(const QString& titulo, const QString& texto) {
  preguntas.append({QStringLiteral("error"), titulo, texto, int(Estilo::Critico)});
  if (respuestasError.isEmpty()) {
    ++sinGuion;
    return kAnular;
  }
  return respuestasError.dequeue();
}

bool OperadorGuionado::Confirmar(const QString& titulo, const QString& texto) {
  preguntas.append({QStringLiteral("confirmar"), titulo, texto, int(Estilo::Pregunta)});
  if (confirmaciones.isEmpty()) {
    ++sinGuion;
    return false;
  }
  return confirmaciones.dequeue();
}

void OperadorGuionado::Avisar(Estilo estilo, const QString& titulo, const QString& texto) {
  preguntas.append({QStringLiteral("avisar"), titulo, texto, int(estilo)});
}

std::optional<QString> OperadorGuionado::PedirTexto(const QString& titulo, const QString& pregunta,
                                                    const QString& /*inicial*/) {
  preguntas.append({QStringLiteral("texto"), titulo, pregunta, 0});
  if (textos.isEmpty()) {
    ++sinGuion;
    return std::nullopt;
  }
  return textos.dequeue();
}
