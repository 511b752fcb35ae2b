#include "services/lib_datos.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <algorithm>
#include <cmath>
#include <limits>

#include "services/accion_operador.h"
#include "services/esquema.h"
#include "services/falla.h"
#include "services/lib_ini.h"
#include "services/operador.h"

namespace {

const QString kIni = QStringLiteral("RO000za.INI");
// Seconds an operator's statement waits for another station's lock.
constexpr int kEsperaBloqueo = 5;

// The number columns are NUMERIC: exact decimals on PostgreSQL, but a 64-bit
// integer or a double on SQLite, which rounds past a double's 15 decimal
// digits and turns what lies beyond its range into infinity or zero. Only a
// number both engines store as the very value typed is accepted.
constexpr int kCifrasSignificativas = std::numeric_limits<double>::digits10;

// cifras: the number's digits, integer part and decimals together; numero:
// the number as statement text.
bool CabeEnLaColumna(QStringView cifras, const QString& numero) {
  const auto noCero = [](QChar c) { return c != QLatin1Char('0'); };
  const auto primera = std::find_if(cifras.begin(), cifras.end(), noCero);
  if (primera == cifras.end()) return true;  // zero
  const auto ultima = std::find_if(cifras.rbegin(), cifras.rend(), noCero).base();
  if (ultima - primera > kCifrasSignificativas) return false;
  bool leido = false;
  const double valor = std::abs(numero.toDouble(&leido));
  return leido && std::isfinite(valor) && valor >= std::numeric_limits<double>::min();
}

}  // namespace

LibDatos& LibDatos::Instancia() {
  static LibDatos datos;
  return datos;
}

bool LibDatos::Conectar(bool sinServidor, int /*modo*/, const QString& /*extra*/) {
  Desconectar();
  // A new connection owes nothing to what the old one told the operator.
  accion_operador::Olvidar();
  const LibIni& ini = LibIni::Instancia();
  QString motor =
      ini.LeerValor(kIni, QStringLiteral("Datos"), QStringLiteral("Motor"), {}).trimmed().toLower();
  if (motor.isEmpty())
    motor = sinServidor ? QStringLiteral("sqlite") : QStringLiteral("postgresql");
  const QString textoPuerto =
      ini.LeerValor(kIni, QStringLiteral("Datos"), QStringLiteral("Puerto"), {}).trimmed();
  bool esNumero = true;
  const int puerto = textoPuerto.isEmpty() ? 0 : textoPuerto.toInt(&esNumero);
  if (!esNumero || puerto < 0 || puerto > 65535) {
    NoSePudo(QStringLiteral("El puerto «%1» de la sección [Datos] de %2 no es un número de "
                            "puerto. Escriba el puerto del servidor (por ejemplo Puerto=5432) o "
                            "borre la clave para usar el de siempre.")
                 .arg(textoPuerto, kIni));
    return false;
  }
  const QString textoEspera =
      ini.LeerValor(kIni, QStringLiteral("Datos"), QStringLiteral("EsperaBloqueo"), {}).trimmed();
  esperaBloqueo_ = textoEspera.toInt(&esNumero);
  if (!esNumero || esperaBloqueo_ <= 0) esperaBloqueo_ = kEsperaBloqueo;

  bool abierta = false;
  if (motor == QLatin1String("sqlite")) {
    abierta = AbrirSqlite();
  } else if (motor == QLatin1String("postgresql")) {
    abierta = AbrirServidor(QStringLiteral("QPSQL"), puerto);
  } else if (motor == QLatin1String("odbc")) {
    abierta = AbrirServidor(QStringLiteral("QODBC"), puerto);
  } else {
    NoSePudo(QStringLiteral("El motor «%1» de la sección [Datos] de %2 no existe; use sqlite, "
                            "postgresql u odbc.")
                 .arg(motor, kIni));
  }
  if (abierta) conexion_->SetEsperaBloqueo(esperaBloqueo_);
  return abierta;
}

bool LibDatos::AbrirServidor(const QString& driver, int puerto) {
  if (!QSqlDatabase::isDriverAvailable(driver)) {
    NoSePudo(QStringLiteral("Este equipo no tiene instalado el controlador %1 de Qt.").arg(driver));
    return false;
  }
  const bool odbc = driver == QLatin1String("QODBC");
  if (puerto <= 0) puerto = odbc ? 1433 : 5432;
  QString falla;
  {
    QSqlDatabase base = QSqlDatabase::addDatabase(driver, kNombreConexion);
    if (odbc) {
      base.setDatabaseName(
          QStringLiteral(
              "DRIVER={FreeTDS};SERVER=%1;PORT=%2;DATABASE=%3;UID=%4;PWD=%5;TDS_Version=7.3")
              .arg(Servidor, QString::number(puerto), BaseDeDatos, Usuario, Password));
      base.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=10"));
    } else {
      base.setHostName(Servidor);
      base.setPort(puerto);
      base.setDatabaseName(BaseDeDatos);
      base.setUserName(Usuario);
      base.setPassword(Password);
      // A server that stops answering (a cut network) is given up after a
      // bounded time instead of holding the window until it answers again.
      base.setConnectOptions(
          QStringLiteral("connect_timeout=10;keepalives=1;keepalives_idle=10;"
                         "keepalives_interval=3;keepalives_count=3;tcp_user_timeout=20000"));
    }
    if (!base.open()) {
      // Each pattern is filled in one pass: a name holding "%3" stays as it is.
      falla = QStringLiteral("No se pudo conectar con la base «%1» del servidor %2 (puerto %3): %4")
                  .arg(BaseDeDatos, Servidor, QString::number(puerto),
                       base.lastError().text().trimmed());
    } else if (!odbc) {
      // The SQL Server database keeps the old program's schema, in its hands.
      try {
        esquema::Preparar(base, Motor::Postgresql,
                          QStringLiteral("«%1» del servidor %2").arg(BaseDeDatos, Servidor), false);
      } catch (const Falla& error) {
        falla = error.Mensaje();
      }
    }
  }
  if (!falla.isEmpty()) {
    NoSePudo(falla);
    return false;
  }
  const Motor motor = odbc ? Motor::SqlServer : Motor::Postgresql;
  conexion_ = std::make_unique<::Conexion>(
      kNombreConexion, motor, QString(),
      QStringLiteral("«%1» del servidor %2").arg(BaseDeDatos, Servidor));
  descripcion_ = QStringLiteral("Motor=%1;Servidor=%2;Puerto=%3;BaseDeDatos=%4;Usuario=%5")
                     .arg(odbc ? QStringLiteral("odbc") : QStringLiteral("postgresql"), Servidor,
                          QString::number(puerto), BaseDeDatos, Usuario);
  return true;
}

void LibDatos::NoSePudo(const QString& razon) {
  Desconectar();
  QString texto = razon;
  if (!Password.isEmpty()) texto.replace(Password, QStringLiteral("****"));
  ElOperador().Avisar(Operador::Estilo::Critico, QStringLiteral("Conexión a la base de datos"),
                      texto + QStringLiteral("\n\nEl programa se cerrará."));
}

bool LibDatos::Conectado() const {
  return conexion_ && QSqlDatabase::database(kNombreConexion, false).isOpen();
}

void LibDatos::Desconectar() {
  conexion_.reset();
  descripcion_.clear();
  if (QSqlDatabase::contains(kNombreConexion)) {
    QSqlDatabase::database(kNombreConexion, false).close();
    QSqlDatabase::removeDatabase(kNombreConexion);
  }
}

bool LibDatos::SoloLectura() const { return conexion_ && conexion_->SoloLectura(); }

::Conexion& LibDatos::Conexion() {
  if (!conexion_)
    throw Falla(Falla::kConexion, QStringLiteral("No hay conexión con la base de datos."));
  return *conexion_;
}

QString LibDatos::CadenaConexion() const { return descripcion_; }

void LibDatos::Ejecutar(const QString& sql) { Conexion().Execute(sql); }

void LibDatos::AbrirConsulta(const QString& sql, Recordset& filas, int, int, bool) {
  filas = Conexion().Execute(sql);
}

void LibDatos::CerrarConsulta(Recordset& filas) { filas.Close(); }

bool LibDatos::ExisteCampo(const QString& tabla, const QString& columna) {
  const auto tiene = [&](const QSqlRecord& registro) {
    for (int i = 0; i < registro.count(); ++i)
      if (registro.fieldName(i).compare(columna, Qt::CaseInsensitive) == 0) return true;
    return false;
  };
  const QSqlRecord registro = Conexion().Base().record(tabla);
  if (!registro.isEmpty()) return tiene(registro);
  // Some drivers only find a table by its exact stored name; ask a statement
  // instead. A table that does not exist has no columns.
  Recordset filas;
  try {
    filas = Conexion().Execute(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(tabla));
  } catch (const Falla& falla) {
    // A table that does not exist has no columns; a database out of reach
    // is no answer.
    if (falla.Codigo() != Falla::kBaseDeDatos) throw;
    return false;
  }
  for (int i = 0; i < filas.FieldCount(); ++i)
    if (filas.Fields(i).Name.compare(columna, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QString LibDatos::FormatoSql(const QVariant& valor, const QString& formato) {
  if (formato != QLatin1String("@"))
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("Formato «%1» desconocido.").arg(formato));
  const QString texto = valor.toString().trimmed();
  if (texto.isEmpty()) return QStringLiteral("NULL");
  // An optional sign, digits, and at most one "," or "." followed by digits;
  // at least one digit in all. Read by hand: every stored number cell passes
  // here.
  qsizetype i = 0;
  const bool negativo = texto.at(0) == QLatin1Char('-');
  if (negativo || texto.at(0) == QLatin1Char('+')) ++i;
  const auto digitos = [&texto, &i] {
    const qsizetype desde = i;
    while (i < texto.size() && texto.at(i) >= QLatin1Char('0') && texto.at(i) <= QLatin1Char('9'))
      ++i;
    return QStringView(texto).mid(desde, i - desde);
  };
  QStringView enteroLeido = digitos();
  QStringView decimales;
  if (i < texto.size() && (texto.at(i) == QLatin1Char('.') || texto.at(i) == QLatin1Char(','))) {
    ++i;
    decimales = digitos();
  }
  if (i != texto.size() || (enteroLeido.isEmpty() && decimales.isEmpty()))
    throw Falla(Falla::kTipoIncompatible, QStringLiteral("«%1» no es un número.").arg(texto));
  while (enteroLeido.size() > 1 && enteroLeido.front() == QLatin1Char('0'))
    enteroLeido = enteroLeido.mid(1);
  const QString signo = negativo ? QStringLiteral("-") : QString();
  const QString entero = enteroLeido.isEmpty() ? QStringLiteral("0") : enteroLeido.toString();
  const QString numero =
      signo + entero + (decimales.isEmpty() ? QString() : QLatin1Char('.') + decimales.toString());
  if (!CabeEnLaColumna(entero + decimales.toString(), numero))
    throw Falla(Falla::kTipoIncompatible,
                QStringLiteral("«%1» no es un número que la base de datos guarde tal cual: admite "
                               "hasta %2 cifras significativas, entre 1E-307 y 1E+308 en valor "
                               "absoluto.")
                    .arg(texto, QString::number(kCifrasSignificativas)));
  return numero;
}
