#include "soporte/entorno_prueba.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include "lookup/lib_cls_cons3.h"
#include "report/lib_reportes.h"
#include "services/carpetas.h"
#include "services/esquema.h"
#include "services/lib_datos.h"
#include "session/estado_sesion.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/inicio_planilla.h"

namespace {

const QString kAdministracion = QStringLiteral("prueba_admin");

QString PuertoPg() { return qEnvironmentVariable("PRUEBA_PG_PUERTO"); }
QString UsuarioPg() {
  const QString usuario = qEnvironmentVariable("PRUEBA_PG_USUARIO");
  return usuario.isEmpty() ? QStringLiteral("postgres") : usuario;
}

QSqlDatabase AbrirPg(const QString& nombreConexion, const QString& base) {
  QSqlDatabase db = QSqlDatabase::contains(nombreConexion)
                        ? QSqlDatabase::database(nombreConexion, false)
                        : QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombreConexion);
  db.setHostName(QStringLiteral("127.0.0.1"));
  db.setPort(PuertoPg().toInt());
  db.setUserName(UsuarioPg());
  db.setDatabaseName(base);
  db.setConnectOptions(QStringLiteral("connect_timeout=5"));
  db.open();
  return db;
}

}  // namespace

EntornoPrueba::EntornoPrueba() {
  qputenv("XDG_DATA_HOME", QFile::encodeName(temporal_.filePath(QStringLiteral("datos"))));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(temporal_.filePath(QStringLiteral("config"))));
  QDir().mkpath(CarpetaPrograma());
  carpetas::FijarCarpetaDelPrograma(CarpetaPrograma());
  FijarParametros(QString());

  LibDatos& datos = LibDatos::Instancia();
  datos.Desconectar();
  datos.Servidor.clear();
  datos.BaseDeDatos.clear();
  datos.Usuario.clear();
  datos.Password.clear();
  gFlatToolbars = 0;
  gUsuarioLogeado.clear();
  gTablaConfiguracion.clear();
  gConsulta() = Lib_ClsCons3();
  LibReportes::Instancia() = LibReportes();

  auto operador = std::make_unique<OperadorGuionado>();
  operador_ = operador.get();
  anterior_ = InstalarOperador(std::move(operador));

  if (qEnvironmentVariable("PRUEBA_MOTOR")
          .compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0) {
    motor_ = Motor::Postgresql;
    PrepararPostgresql();
  }
}

void EntornoPrueba::PrepararPostgresql() {
  if (PuertoPg().isEmpty()) {
    listo_ = false;
    motivo_ = QStringLiteral(
        "PRUEBA_PG_PUERTO no está definido: no hay servidor PostgreSQL de "
        "prueba (scripts/probar.sh lo inicia).");
    return;
  }
  static int numero = 0;
  basePg_ = QStringLiteral("prueba_%1_%2").arg(QCoreApplication::applicationPid()).arg(++numero);
  {
    QSqlDatabase admin = AbrirPg(kAdministracion, QStringLiteral("postgres"));
    QSqlQuery crear(admin);
    if (!admin.isOpen() || !crear.exec(QStringLiteral("CREATE DATABASE ") + basePg_)) {
      listo_ = false;
      motivo_ = QStringLiteral("No se pudo crear la base de prueba en PostgreSQL: ") +
                (admin.isOpen() ? crear.lastError().text() : admin.lastError().text());
      return;
    }
  }
  esquema::Crear(Otra(), Motor::Postgresql);
  // The engine's keys go to the configuration folder's INI, which is read
  // after the program folder's: every test that writes its own INI, or moves
  // the program folder, still reaches the server.
  EscribirArchivo(
      temporal_.filePath(QStringLiteral("config/analisis-harina/RO000za.INI")),
      QStringLiteral("[Datos]\nMotor=postgresql\nPuerto=%1\n").arg(PuertoPg()).toUtf8());
}

EntornoPrueba::~EntornoPrueba() {
  LibDatos::Instancia().Desconectar();
  if (!conexionOtra_.isEmpty()) {
    QSqlDatabase::database(conexionOtra_, false).close();
    QSqlDatabase::removeDatabase(conexionOtra_);
  }
  if (!basePg_.isEmpty() && listo_) {
    QSqlDatabase admin = QSqlDatabase::database(kAdministracion, false);
    QSqlQuery(admin).exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(basePg_));
  }
  InstalarOperador(std::move(anterior_));
  carpetas::FijarCarpetaDelPrograma(QString());
}

QString EntornoPrueba::CarpetaPrograma() const {
  return temporal_.filePath(QStringLiteral("programa"));
}

QString EntornoPrueba::Parametros(const QString& usuarioLogeado) const {
  if (EsPostgresql()) {
    return QStringLiteral("@Server=127.0.0.1;@DbName=%1;@Usuario=%2;@Password=;@UsuarioLogeado=%3;")
        .arg(basePg_, UsuarioPg(), usuarioLogeado);
  }
  return QStringLiteral("@DbName=%1;@UsuarioLogeado=%2;")
      .arg(temporal_.filePath(QStringLiteral("lab.sqlite")), usuarioLogeado);
}

bool EntornoPrueba::Iniciar(const QString& usuarioLogeado) {
  FijarParametros(Parametros(usuarioLogeado));
  // As the sheet window starts: the session, then the lookups and the report.
  if (!IniciarSesion()) return false;
  PrepararConsultasYReportes();
  return true;
}

bool EntornoPrueba::EscribirArchivo(const QString& ruta, const QByteArray& contenido) {
  QDir().mkpath(QFileInfo(ruta).absolutePath());
  QFile archivo(ruta);
  return archivo.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
         archivo.write(contenido) == contenido.size();
}

void EntornoPrueba::EscribirIni(const QString& contenido) const {
  EscribirArchivo(CarpetaPrograma() + QStringLiteral("/RO000za.INI"), contenido.toUtf8());
}

QSqlDatabase EntornoPrueba::Otra() {
  if (conexionOtra_.isEmpty()) {
    conexionOtra_ = QStringLiteral("prueba_otra");
    return Abrir(conexionOtra_);
  }
  return QSqlDatabase::database(conexionOtra_);
}

QSqlDatabase EntornoPrueba::Abrir(const QString& nombre) const {
  if (EsPostgresql()) return AbrirPg(nombre, basePg_);
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), nombre);
  db.setDatabaseName(temporal_.filePath(QStringLiteral("lab.sqlite")));
  db.open();
  return db;
}

void EntornoPrueba::Ejecutar(const QString& sql) {
  QSqlQuery consulta(Otra());
  if (!consulta.exec(sql))
    QTest::qFail(qPrintable(QStringLiteral("«%1»: %2").arg(sql, consulta.lastError().text())),
                 __FILE__, __LINE__);
}
