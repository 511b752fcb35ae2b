#include "lookup/lib_cls_cons3.h"

#include <QFile>
#include <memory>

#include "lookup/lector_mascaras.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/sentencias_consulta.h"
#include "services/convenciones.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "session/configuracion.h"

Lib_ClsCons3& gConsulta() {
  static Lib_ClsCons3 consulta;
  return consulta;
}

void Lib_ClsCons3::ConsultaSearch(QString Sql, std::optional<QStringList>& CmpsDevueltos,
                                  QString& Clave, QString& CampoBusqueda, QString& Where) {
  int limite = 1000;
  Intentar([&] {
    limite = sentencias_consulta::LimiteFilas(ValorConfiguracion(QStringLiteral("TopConsArt")));
  });
  Intentar([&] {
    if (sentencias_consulta::EsSentencia(Sql) || !gUsarMascarasConsultas ||
        !QFile::exists(gRutaMascaraConsultas))
      return;
    const std::optional<RegistroMascara> registro =
        lector_mascaras::BuscarEnArchivo(gRutaMascaraConsultas, Sql);
    if (!registro) return;
    registro_ = *registro;
    Sql = sentencias_consulta::Registrada(LibDatos::Instancia().Conexion().dialecto(), limite,
                                          registro_, CampoBusqueda, Where);
  });

  // The window lives for this one lookup. It is a window of its own, modal
  // over the whole program and centred on the screen.
  auto ventana = std::make_unique<Lib_FrmCons3>();
  ventana->OrdenarPorLwv = !sentencias_consulta::TieneOrden(Sql);
  Intentar([&] {
    ventana->FiltroInicial = Clave;
    ventana->CampoBusqueda = CampoBusqueda;
    ventana->Sql = Sql;
    ventana->CampoDevuelto = CampoDevuelto;
    ventana->UsaCantidades = UsaCantidades;
    ventana->CheckBoxes = Checks;
  });
  Intentar([&] {
    Valores.reset();
    Cantidades.reset();
    ventana->Valores.reset();
    ventana->Cantidades.reset();
    ventana->CmpsDevueltos = CmpsDevueltos;
  });
  Intentar([&] {
    ventana->Form_Load();
    ElOperador().MostrarConsulta(*ventana);
  });
  Intentar([&] {
    Checks = false;
    Valores = ventana->Valores;
    Cantidades = ventana->Cantidades;
    ValorDevuelto = ventana->ValorDevuelto;
    ventana->CampoDevuelto.clear();
    CampoDevuelto.clear();
  });
  Intentar([&] {
    if (CmpsDevueltos) CmpsDevueltos->clear();
    CmpsDevueltos.reset();
  });
  Intentar([&] {
    ventana->Valores.reset();
    ventana->Cantidades.reset();
    ventana->Form_Unload();
  });
}
