#include "soporte/servidor_propio.h"

#include <signal.h>

#include <QFile>
#include <QSqlDatabase>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include <QCollator>
#include <QDir>
#include <QProcess>

#include "services/esquema.h"
#include "session/linea_de_comandos.h"
#include "soporte/entorno_prueba.h"

namespace {

bool EsRoot() { return ::geteuid() == 0; }

// A port nobody listens on now: the one the system gives a socket bound to 0.
int PuertoLibre() {
  const int conector = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in direccion{};
  direccion.sin_family = AF_INET;
  direccion.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t largo = sizeof direccion;
  int puerto = 0;
  if (::bind(conector, reinterpret_cast<sockaddr*>(&direccion), sizeof direccion) == 0 &&
      ::getsockname(conector, reinterpret_cast<sockaddr*>(&direccion), &largo) == 0)
    puerto = ntohs(direccion.sin_port);
  ::close(conector);
  return puerto;
}

}  // namespace

ServidorPropio::ServidorPropio() {
  QStringList versiones =
      QDir(QStringLiteral("/usr/lib/postgresql")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
  QCollator orden;
  orden.setNumericMode(true);
  std::sort(versiones.begin(), versiones.end(), orden);
  if (versiones.isEmpty()) {
    motivo_ = QStringLiteral("No hay PostgreSQL instalado en /usr/lib/postgresql.");
    return;
  }
  binarios_ = QStringLiteral("/usr/lib/postgresql/%1/bin/").arg(versiones.last());
  puerto_ = PuertoLibre();
  if (EsRoot()) {
    QProcess::execute(QStringLiteral("chown"),
                      {QStringLiteral("-R"), QStringLiteral("postgres:"), carpeta_.path()});
    QProcess::execute(QStringLiteral("chmod"), {QStringLiteral("755"), carpeta_.path()});
  }
  if (!Correr({binarios_ + QStringLiteral("initdb"), QStringLiteral("-D"),
               carpeta_.filePath(QStringLiteral("datos")), QStringLiteral("-U"),
               QStringLiteral("postgres"), QStringLiteral("-A"), QStringLiteral("trust"),
               QStringLiteral("-E"), QStringLiteral("UTF8"), QStringLiteral("--no-locale")})) {
    motivo_ = QStringLiteral("initdb falló.");
    return;
  }
  listo_ = Arrancar();
  if (!listo_) motivo_ = QStringLiteral("El servidor propio no arrancó.");
}

ServidorPropio::~ServidorPropio() {
  if (listo_) Detener();
}

bool ServidorPropio::Correr(const QStringList& argumentos, int esperaMs) {
  QStringList todo = argumentos;
  if (EsRoot())
    todo =
        QStringList{QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--")} + todo;
  const QString programa = EsRoot() ? QStringLiteral("runuser") : todo.takeFirst();
  QProcess proceso;
  proceso.start(programa, todo);
  return proceso.waitForFinished(esperaMs) && proceso.exitStatus() == QProcess::NormalExit &&
         proceso.exitCode() == 0;
}

bool ServidorPropio::Arrancar() {
  return Correr({binarios_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"),
                 carpeta_.filePath(QStringLiteral("datos")), QStringLiteral("-l"),
                 carpeta_.filePath(QStringLiteral("registro.txt")), QStringLiteral("-w"),
                 QStringLiteral("-o"),
                 QStringLiteral("-c listen_addresses=127.0.0.1 -p %1 -k %2 -c fsync=off")
                     .arg(puerto_)
                     .arg(carpeta_.path()),
                 QStringLiteral("start")});
}

bool ServidorPropio::Preparar(EntornoPrueba& e, const QString& extra) {
  {
    QSqlDatabase propia =
        QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("propia"));
    propia.setHostName(QStringLiteral("127.0.0.1"));
    propia.setPort(puerto_);
    propia.setUserName(QStringLiteral("postgres"));
    propia.setDatabaseName(QStringLiteral("postgres"));
    if (!propia.open()) return false;
    esquema::Crear(propia, Motor::Postgresql);
    propia.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("propia"));
  e.EscribirIni(QStringLiteral("[Datos]\nMotor=postgresql\nPuerto=%1\n").arg(puerto_) + extra);
  FijarParametros(QStringLiteral(
      "@Server=127.0.0.1;@DbName=postgres;@Usuario=postgres;@Password=;@UsuarioLogeado=ana;"));
  return true;
}

bool ServidorPropio::Congelar(bool congelado) {
  QFile pid(carpeta_.filePath(QStringLiteral("datos/postmaster.pid")));
  if (!pid.open(QIODevice::ReadOnly)) return false;
  const pid_t principal = static_cast<pid_t>(pid.readLine().trimmed().toLongLong());
  if (principal <= 0) return false;
  QList<pid_t> procesos{principal};
  QFile hijos(QStringLiteral("/proc/%1/task/%1/children").arg(principal));
  if (hijos.open(QIODevice::ReadOnly))
    for (const QByteArray& hijo : hijos.readAll().simplified().split(' ')) {
      // Never 0 nor negative: kill would signal a whole process group.
      const qint64 numero = hijo.toLongLong();
      if (numero > 0) procesos.append(static_cast<pid_t>(numero));
    }
  // A child may end between the listing and the signal: only the server
  // itself must take it.
  for (const pid_t proceso : procesos) ::kill(proceso, congelado ? SIGSTOP : SIGCONT);
  return ::kill(principal, 0) == 0;
}

bool ServidorPropio::Detener() {
  return Correr({binarios_ + QStringLiteral("pg_ctl"), QStringLiteral("-D"),
                 carpeta_.filePath(QStringLiteral("datos")), QStringLiteral("-m"),
                 QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
}
