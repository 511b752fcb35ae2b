#include "sheet/inicio_planilla.h"

#include <QFile>

#include "lookup/lib_cls_cons3.h"
#include "lookup/mascaras_consultas.h"
#include "report/lib_reportes.h"
#include "services/convenciones.h"
#include "session/iniciar_sesion.h"

void PrepararConsultasYReportes() {
  QString aplicacion;
  Intentar([&] { aplicacion = CarpetaDeAplicacion(); });
  LibReportes::Instancia().RutaAplicacion = aplicacion;
  Lib_ClsCons3& consulta = gConsulta();
  consulta.gUsarMascarasConsultas = true;
  consulta.gRutaMascaraConsultas = aplicacion + QStringLiteral("consultas.qvx");
  Intentar([&] {
    if (!QFile::exists(consulta.gRutaMascaraConsultas))
      CrearMascarasConsultas(consulta.gRutaMascaraConsultas);
  });
}
