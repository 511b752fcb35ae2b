#include "services/convenciones.h"

#include "services/accion_operador.h"
#include "services/lib_util.h"
#include "services/operador.h"

namespace convenciones {

Falla ComoFalla(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const Falla& falla) {
    return falla;
  } catch (const std::exception& otra) {
    return Falla(0, QString::fromLocal8Bit(otra.what()));
  } catch (...) {
  }
  return Falla(0, QStringLiteral("Error desconocido."));
}

int Preguntar(const Falla& falla, const QString& procedimiento) {
  // Told once already during this action: the procedure is left quietly.
  if (falla.Avisada()) return Operador::kAnular;
  const int respuesta = LibUtil::Instancia().ReportarError(falla, procedimiento);
  if (respuesta == Operador::kReintentar)
    accion_operador::Olvidar();
  else if (accion_operador::EsDeConexion(falla))
    accion_operador::RecordarAvisada(falla);
  return respuesta;
}

void AvisarEnFrontera(const Falla& falla, const QString& contexto) {
  if (falla.Avisada()) return;
  ElOperador().Avisar(
      Operador::Estilo::Critico, QStringLiteral("Aviso al operador"),
      QStringLiteral("No se pudo completar «%1».\n%2").arg(contexto, falla.Mensaje()));
  if (accion_operador::EsDeConexion(falla)) accion_operador::RecordarAvisada(falla);
}

}  // namespace convenciones
