#include "services/convenciones.h"

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
  return LibUtil::Instancia().ReportarError(falla, procedimiento);
}

void AvisarEnFrontera(const Falla& falla, const QString& contexto) {
  ElOperador().Avisar(
      Operador::Estilo::Critico, QStringLiteral("Aviso al operador"),
      QStringLiteral("No se pudo completar «%1».\n%2").arg(contexto, falla.Mensaje()));
}

}  // namespace convenciones
