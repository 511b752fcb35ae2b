#include "soporte/operador_guionado.h"

#include <QDialog>
#include <QTest>

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

void OperadorGuionado::MostrarConsulta(QDialog& ventana) {
  preguntas.append({QStringLiteral("consulta"), ventana.windowTitle(), QString(), 0});
  ventana.show();
  ventana.activateWindow();
  if (!QTest::qWaitForWindowActive(&ventana)) ++sinGuion;
  if (consultas.isEmpty()) {
    ++sinGuion;
  } else {
    consultas.dequeue()(ventana);
  }
  if (ventana.isVisible()) {
    ++sinGuion;
    ventana.close();
  }
}

std::optional<QDate> OperadorGuionado::ElegirFecha(const QString& titulo, const QDate& inicial) {
  preguntas.append({QStringLiteral("fecha"), titulo, inicial.toString(Qt::ISODate), 0});
  if (fechas.isEmpty()) {
    ++sinGuion;
    return std::nullopt;
  }
  return fechas.dequeue();
}
