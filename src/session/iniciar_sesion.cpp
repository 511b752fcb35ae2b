#include "session/iniciar_sesion.h"

#include <QDir>
#include <QFile>

#include "services/carpetas.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/lib_entorno.h"
#include "services/lib_ini.h"
#include "services/lib_util.h"
#include "session/configuracion.h"
#include "session/estado_sesion.h"
#include "session/linea_de_comandos.h"
#include "session/parametros_inicio.h"

namespace {

// Runs one step of the session start. True: go on with the next step (it
// worked, or it failed only for an invalid argument). False: the session start
// ends here.
template <class Cuerpo>
bool Paso(Cuerpo&& cuerpo) {
  try {
    cuerpo();
    return true;
  } catch (const Falla& falla) {
    return falla.Codigo() == Falla::kArgumentoInvalido;
  } catch (...) {
    return false;
  }
}

}  // namespace

QString CarpetaDeAplicacion() {
  const QString programa = carpetas::DelPrograma();
  if (!carpetas::Instalado() && carpetas::SePuedeEscribir(programa))
    return LibUtil::RutaConBarra(programa);
  const QString datos = carpetas::DeDatos();
  QDir().mkpath(datos);
  return LibUtil::RutaConBarra(datos);
}

bool IniciarSesion() {
  LibDatos& datos = LibDatos::Instancia();
  QString parametros;

  if (!Paso([&] { parametros = ParametrosDeInicio(); })) return true;
  if (!Paso([&] {
        const QString seccion = LibEntorno::PrefijoSeccion().toUpper() + QLatin1Char('|') +
                                LibEntorno::SufijoSeccion().toUpper();
        const QString valor =
            LibIni::Instancia().LeerValor(QStringLiteral("RO000za.INI"), seccion,
                                          QStringLiteral("FlatToolbars"), QStringLiteral("1"));
        gFlatToolbars = LibUtil::NumeroInicial(valor);
      }))
    return true;

  if (!datos.Conectado()) {
    QString servidor;
    QString base;
    QString usuario;
    QString clave;
    if (!Paso([&] {
          servidor = LeerParametro(QStringLiteral("@Server"), parametros);
          base = LeerParametro(QStringLiteral("@DbName"), parametros);
          usuario = LeerParametro(QStringLiteral("@Usuario"), parametros);
          clave = LeerParametro(QStringLiteral("@Password"), parametros);
          gUsuarioLogeado = LeerParametro(QStringLiteral("@UsuarioLogeado"), parametros);
        }))
      return true;
    if (!Paso([&] {
          datos.Usuario = usuario;
          datos.BaseDeDatos = base;
          datos.Password = clave;
          datos.Servidor = QuitarPrefijoServidor(servidor);
        }))
      return true;
    datos.Conectar(servidor.trimmed().isEmpty(), 3, QString());
    if (!datos.Conectado()) return false;
    if (!Paso([&] { datos.Conexion().SetCommandTimeout(360); })) return true;
  }

  Paso([&] {
    if (!datos.BaseDeDatos.isEmpty()) CargarConfiguracion();
  });
  return true;
}
