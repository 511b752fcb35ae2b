#include "soporte/operador_guionado.h"

#include <QDialog>
#include <QPdfWriter>
#include <QTest>

#include "services/guardar_pdf.h"

int OperadorGuionado::ReportarError(const QString& titulo, const QString& texto) {
  preguntas.append({QStringLiteral("error"), titulo, texto, int(Estilo::Critico)});
  if (respuestasError.isEmpty()) {
    ++sinGuion;
    return kAnular;
  }
  return respuestasError.dequeue();
}

bool OperadorGuionado::Confirmar(const QString& titulo, const QString& texto,
                                 PorDefecto porDefecto) {
  preguntas.append({QStringLiteral("confirmar"), titulo, texto, int(Estilo::Pregunta),
                    porDefecto == PorDefecto::No});
  if (confirmaciones.isEmpty()) {
    ++sinGuion;
    return false;
  }
  return confirmaciones.dequeue();
}

Operador::Resolucion OperadorGuionado::ResolverConflicto(const QString& titulo,
                                                         const QString& texto) {
  preguntas.append({QStringLiteral("conflicto"), titulo, texto, int(Estilo::Exclamacion)});
  if (resoluciones.isEmpty()) {
    ++sinGuion;
    return Resolucion::Tomar;
  }
  return resoluciones.dequeue();
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

namespace {

class ProgresoGuionado : public Progreso {
 public:
  explicit ProgresoGuionado(OperadorGuionado& operador) : operador_(operador) {}
  bool Avanzar(qint64 hecho) override {
    operador_.avanceMaximo = std::max(operador_.avanceMaximo, hecho);
    return operador_.cancelarEn < 0 || hecho < operador_.cancelarEn;
  }

 private:
  OperadorGuionado& operador_;
};

}  // namespace

std::unique_ptr<Progreso> OperadorGuionado::MostrarProgreso(const QString& /*titulo*/,
                                                            const QString& /*texto*/,
                                                            qint64 /*total*/) {
  ++progresos;
  return std::make_unique<ProgresoGuionado>(*this);
}

void OperadorGuionado::VistaPrevia(const QString& titulo, const QPageLayout& pagina,
                                   const std::function<void(QPagedPaintDevice&)>& pintar,
                                   const GuardarVista& guardar) {
  preguntas.append({QStringLiteral("vista previa"), titulo, QString(), 0});
  if (!rutaVistaPrevia.isEmpty()) {
    QPdfWriter pdf(rutaVistaPrevia);
    pdf.setPageLayout(pagina);
    pintar(pdf);
  }
  if (rutaGuardarPdf.isEmpty()) return;
  const bool guardado =
      guardar ? guardar(rutaGuardarPdf, pagina)
              : GuardarPdf(rutaGuardarPdf, pagina, titulo, [&](QPagedPaintDevice& pdf) {
                  pintar(pdf);
                  return true;
                });
  if (guardado) ++guardados;
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

std::optional<QString> OperadorGuionado::ElegirArchivo(const QString& titulo,
                                                       const QString& propuesta,
                                                       const QStringList& /*filtros*/) {
  preguntas.append({QStringLiteral("archivo"), titulo, propuesta, 0});
  if (archivos.isEmpty()) {
    ++sinGuion;
    return std::nullopt;
  }
  return archivos.dequeue();
}

void OperadorGuionado::Informar(const QString& texto) { informes.append(texto); }
