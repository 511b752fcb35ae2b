#include "services/esquema.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

#include "services/falla.h"
#include "services/fallas_motor.h"

namespace esquema {

namespace {

const QString kTablaVersion = QStringLiteral("ta_version_esquema");

// Runs one statement; an engine's refusal becomes the Falla that tells it.
QSqlQuery Ejecutar(QSqlDatabase& base, Motor motor, const QString& sql, const QString& donde) {
  QSqlQuery consulta(base);
  if (consulta.exec(sql)) return consulta;
  const QSqlError error = consulta.lastError();
  const fallas_motor::Clase clase = fallas_motor::Clasificar(motor, error);
  if (clase != fallas_motor::Clase::Otra)
    throw fallas_motor::Construir(clase, error, donde, fallas_motor::Escribe(sql), 0);
  throw Falla(Falla::kBaseDeDatos, QStringLiteral("%1 (la sentencia «%2»)")
                                       .arg(error.text().trimmed(), sql.simplified().left(120)));
}

// A rollback that fails (the connection is gone) has undone the
// transaction all the same.
void Deshacer(QSqlDatabase& base) { QSqlQuery(base).exec(QStringLiteral("ROLLBACK")); }

// The first sentence of a failure: what happened, without the advice about an
// entry, since at start there is none.
QString Causa(const Falla& falla) { return falla.Mensaje().section(QLatin1Char('\n'), 0, 0); }

int VersionGuardada(QSqlDatabase& base, Motor motor, const QString& donde) {
  QSqlQuery consulta =
      Ejecutar(base, motor, QStringLiteral("SELECT MAX(version) FROM ta_version_esquema"), donde);
  return consulta.next() && !consulta.value(0).isNull() ? consulta.value(0).toInt() : 1;
}

// The whole upgrade, inside the transaction the caller opened.
void Subir(QSqlDatabase& base, Motor motor, const QString& donde, int objetivo,
           const std::vector<Paso>& pasos) {
  const Dialecto dialecto(motor);
  if (!Tablas(base, motor, donde).contains(kTablaVersion, Qt::CaseInsensitive)) {
    Ejecutar(base, motor,
             QStringLiteral("CREATE TABLE ta_version_esquema (version INTEGER NOT NULL)"), donde);
    Ejecutar(base, motor, QStringLiteral("INSERT INTO ta_version_esquema (version) VALUES (1)"),
             donde);
  }
  // Another station may have upgraded it while this one waited for the lock.
  const int desde = VersionGuardada(base, motor, donde);
  for (const Paso& paso : pasos) {
    if (paso.version <= desde || paso.version > objetivo) continue;
    const Leer leer = [&](const QString& consulta) {
      QSqlQuery filas = Ejecutar(base, motor, consulta, donde);
      QStringList textos;
      while (filas.next()) textos << filas.value(0).toString();
      return textos;
    };
    for (const QString& sentencia : paso.sentencias(dialecto, leer))
      Ejecutar(base, motor, sentencia, donde);
    Ejecutar(base, motor,
             QStringLiteral("UPDATE ta_version_esquema SET version = %1").arg(paso.version), donde);
  }
}

// The audit trail's table under a name (the schema files say what its rows
// hold), its columns in that order, and its index.
QString TablaRegistro(const Dialecto& d, const QString& nombre) {
  return QStringLiteral(
             "CREATE TABLE %1 (%2, momento VARCHAR(23) NOT NULL, "
             "estacion VARCHAR(255) NOT NULL, operador VARCHAR(255) NOT NULL, "
             "accion VARCHAR(20) NOT NULL, tabla VARCHAR(64) NOT NULL, "
             "id_fila BIGINT NOT NULL, campo VARCHAR(64) NOT NULL, "
             "valor_anterior TEXT NOT NULL, valor_nuevo TEXT NOT NULL, "
             "huella VARCHAR(64) NOT NULL)")
      .arg(nombre, d.ClaveDeRegistro());
}
const QString kColumnasRegistro = QStringLiteral(
    "ID, momento, estacion, operador, accion, tabla, id_fila, campo, valor_anterior, "
    "valor_nuevo, huella");
QString IndiceRegistro(const QString& siFalta = QString()) {
  return QStringLiteral("CREATE INDEX %1ix_ta_auditoria_fila ON ta_auditoria (tabla, id_fila)")
      .arg(siFalta);
}

}  // namespace

std::vector<Paso> Pasos() {
  return {
      // The quality limits of each flour type, as of a date.
      {2,
       [](const Dialecto& d, const Leer&) {
         return QStringList{
             QStringLiteral("CREATE TABLE ta_limites (%1, tipo_harina VARCHAR(25) NOT NULL, "
                            "campo VARCHAR(30) NOT NULL, minimo NUMERIC, maximo NUMERIC, "
                            "aviso_minimo NUMERIC, aviso_maximo NUMERIC, "
                            "vigente_desde DATE NOT NULL)")
                 .arg(d.ClaveAutonumerica()),
             QStringLiteral("CREATE INDEX ix_ta_limites_tipo ON ta_limites (tipo_harina, campo, "
                            "vigente_desde)")};
       }},
      // The lookups' columns, each with an index to seek its distinct values.
      {3,
       [](const Dialecto&, const Leer&) {
         return QStringList{
             QStringLiteral("CREATE INDEX ix_v_mv_zentalia_tipo_harina ON v_mv_zentalia "
                            "(tipo_harina)"),
             QStringLiteral("CREATE INDEX ix_v_mv_zentalia_caract ON v_mv_zentalia (CARACT)"),
             QStringLiteral("CREATE INDEX ix_v_mv_zentalia_color ON v_mv_zentalia (COLOR)")};
       }},
      // The audit trail, made at once with the key that step 5 gives a trail
      // of version 4.
      {4,
       [](const Dialecto& d, const Leer&) {
         return QStringList{TablaRegistro(d, QStringLiteral("ta_auditoria")), IndiceRegistro()};
       }},
      // The trail's key as ClaveDeRegistro has it, where version 4 made it as
      // ClaveAutonumerica does: only a new table changes a key on SQLite, so
      // the rows move into one with their keys, and the old one goes with its
      // sqlite_sequence row and with every index and trigger on it, which are
      // made again (a lab's own among them, such as one that refuses a change
      // of the trail), and its own index if it had lost it.
      {5,
       [](const Dialecto& d, const Leer& leer) {
         if (d.ClaveDeRegistro() == d.ClaveAutonumerica()) return QStringList();
         const QString registro = QStringLiteral("ta_auditoria");
         const QString nueva = QStringLiteral("ta_auditoria_nueva");
         const QStringList anexos = leer(d.AnexosDeTabla(registro));
         return QStringList{TablaRegistro(d, nueva),
                            QStringLiteral("INSERT INTO %1 (%2) SELECT %2 FROM %3 ORDER BY ID")
                                .arg(nueva, kColumnasRegistro, registro),
                            QStringLiteral("DROP TABLE %1").arg(registro)} +
                d.RenombrarTabla(nueva, registro) + anexos +
                QStringList{IndiceRegistro(QStringLiteral("IF NOT EXISTS "))};
       }},
  };
}

QStringList Sentencias(Motor motor) {
  const QString ruta = motor == Motor::Postgresql ? QStringLiteral(":/db/postgresql.sql")
                                                  : QStringLiteral(":/db/sqlite.sql");
  QFile archivo(ruta);
  if (!archivo.open(QIODevice::ReadOnly))
    throw Falla(Falla::kArchivo, QStringLiteral("Falta el esquema %1.").arg(ruta));
  QString texto = QString::fromUtf8(archivo.readAll());
  // The schema files keep one statement per ";" that ends a line, and comments
  // on lines of their own.
  texto.remove(
      QRegularExpression(QStringLiteral("^\\s*--[^\\n]*$"), QRegularExpression::MultilineOption));
  QStringList sentencias;
  for (const QString& parte : texto.split(QRegularExpression(QStringLiteral(";\\s*\\n")))) {
    if (!parte.trimmed().isEmpty()) sentencias << parte.trimmed();
  }
  return sentencias;
}

void Crear(QSqlDatabase base, Motor motor) {
  const QString donde = QStringLiteral("«%1»").arg(base.databaseName());
  try {
    for (const QString& sentencia : Dialecto(motor).EmpezarCambioDeEsquema())
      Ejecutar(base, motor, sentencia, donde);
    for (const QString& sentencia : Sentencias(motor)) Ejecutar(base, motor, sentencia, donde);
    Ejecutar(base, motor, QStringLiteral("COMMIT"), donde);
  } catch (const Falla& falla) {
    Deshacer(base);
    if (falla.Codigo() != Falla::kBaseDeDatos) throw;
    throw Falla(Falla::kBaseDeDatos,
                QStringLiteral("No se pudo crear el esquema: %1").arg(falla.Mensaje()));
  }
}

QStringList Tablas(QSqlDatabase base, Motor motor, const QString& donde) {
  QSqlQuery consulta = Ejecutar(base, motor, Dialecto(motor).ListaDeTablas(), donde);
  QStringList tablas;
  while (consulta.next()) tablas << consulta.value(0).toString();
  return tablas;
}

int Version(QSqlDatabase base, Motor motor, const QString& donde) {
  const QStringList tablas = Tablas(base, motor, donde);
  if (!tablas.contains(QStringLiteral("v_mv_zentalia"), Qt::CaseInsensitive)) return 0;
  if (!tablas.contains(kTablaVersion, Qt::CaseInsensitive)) return 1;
  return VersionGuardada(base, motor, donde);
}

void Preparar(QSqlDatabase base, Motor motor, const QString& donde, bool soloLectura, int objetivo,
              const std::vector<Paso>& pasos) {
  QStringList tablas;
  int version = 0;
  try {
    tablas = Tablas(base, motor, donde);
    version = Version(base, motor, donde);
  } catch (const Falla& falla) {
    throw Falla(falla.Codigo(), Causa(falla));
  }
  if (version == 0 && !tablas.isEmpty())
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("La base de datos %1 no es una base de datos del laboratorio: "
                               "tiene tablas de otro programa (%2) y ninguna del laboratorio. "
                               "No se modificó. Indique en @DbName la base del laboratorio.")
                    .arg(donde, tablas.mid(0, 5).join(QStringLiteral(", "))));
  if (version > objetivo)
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("La base de datos %1 es de una versión más nueva del programa "
                               "(esquema %2; este programa conoce hasta el %3). No se modificó. "
                               "Instale en este equipo la versión del programa que usan los "
                               "demás.")
                    .arg(donde, QString::number(version), QString::number(objetivo)));
  if (version == 0) {
    try {
      Crear(base, motor);
    } catch (const Falla& falla) {
      if (falla.Codigo() != Falla::kBaseDeDatos) throw Falla(falla.Codigo(), Causa(falla));
      throw Falla(falla.Codigo(), QStringLiteral("No se pudo preparar la base de datos %1: %2")
                                      .arg(donde, falla.Mensaje()));
    }
    return;
  }
  if (version == objetivo || soloLectura) return;
  try {
    for (const QString& sentencia : Dialecto(motor).EmpezarCambioDeEsquema())
      Ejecutar(base, motor, sentencia, donde);
    Subir(base, motor, donde, objetivo, pasos);
    Ejecutar(base, motor, QStringLiteral("COMMIT"), donde);
  } catch (const Falla& falla) {
    Deshacer(base);
    throw Falla(falla.Codigo(),
                QStringLiteral("No se pudo actualizar la base de datos %1 de la versión %2 a la "
                               "%3 del esquema: %4\nNo se cambió nada: la base sigue en la "
                               "versión %2 con todos sus datos. Avise a quien administra la "
                               "base antes de volver a abrir el programa.")
                    .arg(donde, QString::number(version), QString::number(objetivo), Causa(falla)));
  }
}

}  // namespace esquema
