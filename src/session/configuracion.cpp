#include "session/configuracion.h"

#include "services/convenciones.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"
#include "services/recordset.h"
#include "session/estado_sesion.h"

void CargarConfiguracion() {
  const bool conClave = LibDatos::Instancia().ExisteCampo(QStringLiteral("ta_configuracion"),
                                                          QStringLiteral("clave"));
  gTablaConfiguracion =
      conClave ? QStringLiteral("ta_configuracion") : QStringLiteral("ta_configuracion2");
}

QString ValorConfiguracion(const QString& clave) {
  PasosReportados pasos(QStringLiteral("Cfg"), /*reintentos=*/false);
  LibDatos& datos = LibDatos::Instancia();
  QString sentencia;
  Recordset filas;
  QString resultado;

  if (!pasos.Paso([&] {
        if (gTablaConfiguracion.trimmed().isEmpty())
          gTablaConfiguracion = QStringLiteral("TA_CONFIGURACION");
      }))
    return {};
  if (!pasos.Paso([&] {
        // The keys are the program's own fixed words, never the operator's.
        sentencia = QStringLiteral("SELECT VALOR FROM ") + gTablaConfiguracion +
                    QStringLiteral(" WHERE CLAVE = '") + clave.trimmed() + QLatin1Char('\'');
      }))
    return {};
  if (!pasos.Paso([&] { datos.AbrirConsulta(sentencia, filas, 0, 1, true); })) return {};
  if (!pasos.Paso([&] {
        resultado = filas.Bof() ? QStringLiteral(" ")
                                : LibUtil::SinNulo(filas.Fields(QStringLiteral("Valor")).Value);
      }))
    return {};
  if (!pasos.Paso([&] { datos.CerrarConsulta(filas); })) return {};
  return resultado;
}
