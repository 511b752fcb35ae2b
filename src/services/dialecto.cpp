#include "services/dialecto.h"

QString Dialecto::Columna(const QString& nombre) const {
  if (motor_ == Motor::Postgresql) return QLatin1Char('"') + nombre.toLower() + QLatin1Char('"');
  return QLatin1Char('[') + nombre + QLatin1Char(']');
}

QString Dialecto::Alias(const QString& alias) const {
  if (motor_ == Motor::Postgresql) {
    QString escapado = alias;
    escapado.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + escapado + QLatin1Char('"');
  }
  QString escapado = alias;
  escapado.replace(QLatin1Char(']'), QStringLiteral("]]"));
  return QLatin1Char('[') + escapado + QLatin1Char(']');
}

QString Dialecto::SelectTop(int filas, const QString& resto) const {
  // resto carries what the operator typed: one pass over the pattern, or a
  // "%1" typed in it would be taken for the place of the next value.
  const QString limite = QString::number(filas);
  if (motor_ == Motor::SqlServer) return QStringLiteral("SELECT TOP %1 %2").arg(limite, resto);
  return QStringLiteral("SELECT %1 LIMIT %2").arg(resto, limite);
}

QStringList Dialecto::ComenzarConDia(const QDate& dia) const {
  switch (motor_) {
    case Motor::Sqlite:
      return {QStringLiteral("BEGIN IMMEDIATE")};
    case Motor::Postgresql:
      // Class 1 of the advisory locks: the sheet's days, by Julian day.
      return {QStringLiteral("BEGIN"),
              QStringLiteral("SELECT pg_advisory_xact_lock(1, %1)").arg(dia.toJulianDay())};
    case Motor::SqlServer:
      break;
  }
  return {QStringLiteral("BEGIN TRANSACTION"),
          QStringLiteral("EXEC sp_getapplock @Resource = 'dia-%1', @LockMode = 'Exclusive'")
              .arg(dia.toString(QStringLiteral("yyyyMMdd")))};
}

QString Dialecto::Confirmar() const {
  return motor_ == Motor::SqlServer ? QStringLiteral("COMMIT TRANSACTION")
                                    : QStringLiteral("COMMIT");
}

QString Dialecto::Deshacer() const {
  return motor_ == Motor::SqlServer ? QStringLiteral("ROLLBACK TRANSACTION")
                                    : QStringLiteral("ROLLBACK");
}

bool Dialecto::TransaccionPreparable() const { return motor_ == Motor::Sqlite; }

QString Dialecto::Borrar(const QString& tabla, const QString& condicion) const {
  const QString verbo =
      motor_ == Motor::SqlServer ? QStringLiteral("DELETE ") : QStringLiteral("DELETE FROM ");
  return verbo + tabla + QStringLiteral(" WHERE ") + condicion;
}

QString Dialecto::TextoMomento(const QDateTime& momento) const {
  if (motor_ == Motor::SqlServer) return momento.toString(QStringLiteral("yyyyMMdd HH:mm:ss"));
  const QDate dia = momento.date();
  const QTime hora = momento.time();
  // A moment is stamped on every stored cell: the digits are written here,
  // the same text Qt's ISO forms give for a year of four digits.
  if (dia.isValid() && hora.isValid() && dia.year() >= 1000 && dia.year() <= 9999) {
    char16_t texto[19];
    const auto cifras = [&texto](int desde, int valor, int ancho) {
      for (int i = desde + ancho - 1; i >= desde; --i, valor /= 10)
        texto[i] = static_cast<char16_t>(u'0' + valor % 10);
    };
    cifras(0, dia.year(), 4);
    texto[4] = u'-';
    cifras(5, dia.month(), 2);
    texto[7] = u'-';
    cifras(8, dia.day(), 2);
    texto[10] = u' ';
    cifras(11, hora.hour(), 2);
    texto[13] = u':';
    cifras(14, hora.minute(), 2);
    texto[16] = u':';
    cifras(17, hora.second(), 2);
    return QString(reinterpret_cast<const QChar*>(texto), 19);
  }
  return dia.toString(Qt::ISODate) + QLatin1Char(' ') + hora.toString(Qt::ISODate);
}

QString Dialecto::Dia(const QDate& fecha, const QString& /*tecleada*/) const {
  if (motor_ == Motor::SqlServer) return fecha.toString(QStringLiteral("yyyyMMdd"));
  return fecha.toString(QStringLiteral("yyyy-MM-dd"));
}

QString Dialecto::Medianoche(const QDate& fecha, const QString& /*tecleada*/) const {
  if (motor_ == Motor::SqlServer) return fecha.toString(QStringLiteral("yyyyMMdd"));
  return fecha.toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 00:00:00");
}

QString Dialecto::LiteralDia(const QDate& dia) const {
  if (motor_ == Motor::SqlServer) return Texto(dia.toString(QStringLiteral("yyyyMMdd")));
  return Texto(dia.toString(QStringLiteral("yyyy-MM-dd")));
}

QString Dialecto::ClaveInsertada() const {
  switch (motor_) {
    case Motor::SqlServer:
      return QStringLiteral("SELECT @@IDENTITY");
    case Motor::Sqlite:
      return QStringLiteral("SELECT last_insert_rowid()");
    case Motor::Postgresql:
      break;
  }
  return QStringLiteral("SELECT lastval()");
}

QString Dialecto::Contiene(const QString& columna, const QString& texto) const {
  QString patron = texto;
  if (motor_ == Motor::SqlServer) {
    // SQL Server has no default escape character: a bracket pair makes each
    // wildcard literal, and the opening bracket must itself be bracketed first.
    patron.replace(QLatin1Char('['), QStringLiteral("[[]"));
    patron.replace(QLatin1Char('%'), QStringLiteral("[%]"));
    patron.replace(QLatin1Char('_'), QStringLiteral("[_]"));
    return columna + QStringLiteral(" LIKE ") + Texto(QLatin1Char('%') + patron + QLatin1Char('%'));
  }
  patron.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
  patron.replace(QLatin1Char('%'), QStringLiteral("\\%"));
  patron.replace(QLatin1Char('_'), QStringLiteral("\\_"));
  // SQLite's LIKE already ignores case (for ASCII letters); PostgreSQL needs ILIKE.
  const QString operador =
      motor_ == Motor::Postgresql ? QStringLiteral(" ILIKE ") : QStringLiteral(" LIKE ");
  return columna + operador + Texto(QLatin1Char('%') + patron + QLatin1Char('%')) +
         QStringLiteral(" ESCAPE '\\'");
}

QString Dialecto::TiempoLimite(int segundos) const {
  switch (motor_) {
    case Motor::SqlServer:
      return {};  // ODBC takes the time-out as a connection option
    case Motor::Sqlite:
      return {};  // a statement only ever waits for a lock (EsperaBloqueo)
    case Motor::Postgresql:
      break;
  }
  return QStringLiteral("SET statement_timeout = %1").arg(qint64(segundos) * 1000);
}

QString Dialecto::EsperaBloqueo(int segundos) const {
  const qint64 milisegundos = qint64(segundos) * 1000;
  switch (motor_) {
    case Motor::SqlServer:
      return QStringLiteral("SET LOCK_TIMEOUT %1").arg(milisegundos);
    case Motor::Sqlite:
      return QStringLiteral("PRAGMA busy_timeout = %1").arg(milisegundos);
    case Motor::Postgresql:
      break;
  }
  return QStringLiteral("SET lock_timeout = %1").arg(milisegundos);
}

QString Dialecto::Texto(const QString& valor) {
  QString doblado = valor;
  doblado.replace(QLatin1Char('\''), QStringLiteral("''"));
  return QLatin1Char('\'') + doblado + QLatin1Char('\'');
}

QString Dialecto::ComoTexto(const QString& expresion) const {
  if (motor_ == Motor::Postgresql) return QStringLiteral("CAST(%1 AS TEXT)").arg(expresion);
  return expresion;
}

QString Dialecto::ListaDeTablas() const {
  switch (motor_) {
    case Motor::SqlServer:
      return QStringLiteral("SELECT name FROM sys.tables");
    case Motor::Sqlite:
      return QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'");
    case Motor::Postgresql:
      break;
  }
  return QStringLiteral(
      "SELECT table_name FROM information_schema.tables WHERE table_schema = current_schema()");
}

QStringList Dialecto::EmpezarCambioDeEsquema() const {
  switch (motor_) {
    case Motor::SqlServer:
      return {QStringLiteral("BEGIN TRANSACTION"),
              QStringLiteral("EXEC sp_getapplock 'esquema_harina', 'Exclusive', 'Transaction'")};
    case Motor::Sqlite:
      return {QStringLiteral("BEGIN IMMEDIATE")};
    case Motor::Postgresql:
      break;
  }
  // The key is this program's own number for its schema lock.
  return {QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(1301)")};
}

QStringList Dialecto::EmpezarCambioDeLimites() const {
  switch (motor_) {
    case Motor::SqlServer:
      return {QStringLiteral("BEGIN TRANSACTION"),
              QStringLiteral("EXEC sp_getapplock 'limites_harina', 'Exclusive', 'Transaction'")};
    case Motor::Sqlite:
      return {QStringLiteral("BEGIN IMMEDIATE")};
    case Motor::Postgresql:
      break;
  }
  // Next to the schema's own lock number.
  return {QStringLiteral("BEGIN"), QStringLiteral("SELECT pg_advisory_xact_lock(1302)")};
}

QString Dialecto::ClaveAutonumerica() const {
  switch (motor_) {
    case Motor::SqlServer:
      return QStringLiteral("ID BIGINT IDENTITY(1,1) PRIMARY KEY");
    case Motor::Sqlite:
      return QStringLiteral("ID INTEGER PRIMARY KEY AUTOINCREMENT");
    case Motor::Postgresql:
      break;
  }
  return QStringLiteral("ID BIGINT GENERATED BY DEFAULT AS IDENTITY PRIMARY KEY");
}

QString Dialecto::ClaveDeRegistro() const {
  if (motor_ == Motor::Sqlite) return QStringLiteral("ID INTEGER PRIMARY KEY");
  return ClaveAutonumerica();
}

QString Dialecto::AnexosDeTabla(const QString& tabla) const {
  if (motor_ != Motor::Sqlite) return QString();
  // An index a key or constraint makes for itself has no text: the new
  // table's definition makes it again.
  return QStringLiteral(
             "SELECT sql FROM sqlite_master WHERE tbl_name = %1 AND type IN ('index', "
             "'trigger') AND sql IS NOT NULL ORDER BY type, name")
      .arg(Texto(tabla));
}

QStringList Dialecto::RenombrarTabla(const QString& de, const QString& a) const {
  switch (motor_) {
    case Motor::SqlServer:
      return {QStringLiteral("EXEC sp_rename '%1', '%2'").arg(de, a)};
    case Motor::Sqlite:
      return {QStringLiteral("PRAGMA legacy_alter_table = ON"),
              QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(de, a),
              QStringLiteral("PRAGMA legacy_alter_table = OFF")};
    case Motor::Postgresql:
      break;
  }
  return {QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(de, a)};
}

QString Dialecto::SaltoDeIndice(const QString& tabla, const QString& columna,
                                const QString& alias) const {
  if (motor_ == Motor::SqlServer) return {};
  // '' is the least text there is, so "> ''" keeps what "<> ''" keeps; MIN
  // passes over Null as GROUP BY's condition does.
  return QStringLiteral(
             "WITH RECURSIVE salto(valor) AS (SELECT MIN(%2) FROM %1 WHERE %2 > '' UNION ALL "
             "SELECT (SELECT MIN(%2) FROM %1 WHERE %2 > salto.valor) FROM salto WHERE "
             "salto.valor IS NOT NULL) SELECT valor AS %3 FROM salto WHERE valor IS NOT NULL")
      .arg(tabla, columna, alias.isEmpty() ? columna : alias);
}

QString Dialecto::IndiceDeColumna(const QString& tabla, const QString& columna) const {
  switch (motor_) {
    case Motor::SqlServer:
      return {};
    case Motor::Sqlite:
      // Names are matched as SQLite matches them, without regard to case.
      return QStringLiteral(
                 "SELECT 1 FROM pragma_index_list(%1) AS lista, pragma_index_info(lista.name) "
                 "AS columna WHERE columna.seqno = 0 AND columna.name = %2 COLLATE NOCASE")
          .arg(Texto(tabla), Texto(columna));
    case Motor::Postgresql:
      break;
  }
  // Unquoted names are folded to lower case by PostgreSQL.
  return QStringLiteral(
             "SELECT 1 FROM pg_index i JOIN pg_class t ON t.oid = i.indrelid JOIN pg_attribute a "
             "ON a.attrelid = t.oid AND a.attnum = i.indkey[0] WHERE t.relname = lower(%1) AND "
             "a.attname = lower(%2) AND pg_table_is_visible(t.oid)")
      .arg(Texto(tabla), Texto(columna));
}

QStringList Dialecto::ComenzarEscritura() const {
  switch (motor_) {
    case Motor::Sqlite:
      return {QStringLiteral("BEGIN IMMEDIATE")};
    case Motor::Postgresql:
      return {QStringLiteral("BEGIN"), BloqueoRegistro()};
    case Motor::SqlServer:
      break;
  }
  return {QStringLiteral("BEGIN TRANSACTION"), BloqueoRegistro()};
}

QString Dialecto::BloqueoRegistro() const {
  switch (motor_) {
    case Motor::Sqlite:
      return {};
    case Motor::Postgresql:
      // Class 2 of the advisory locks: the audit trail (class 1 is the days).
      return QStringLiteral("SELECT pg_advisory_xact_lock(2, 0)");
    case Motor::SqlServer:
      break;
  }
  return QStringLiteral("EXEC sp_getapplock 'auditoria', 'Exclusive', 'Transaction'");
}

QString Dialecto::Ahora() const {
  switch (motor_) {
    case Motor::Sqlite:
      return QStringLiteral("strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime')");
    case Motor::Postgresql:
      // The statement's moment: the transaction began (LOCALTIMESTAMP) before
      // it waited for the trail's lock.
      return QStringLiteral("to_char(statement_timestamp(), 'YYYY-MM-DD HH24:MI:SS.MS')");
    case Motor::SqlServer:
      break;
  }
  return QStringLiteral("CONVERT(VARCHAR(23), SYSDATETIME(), 121)");
}

QString Dialecto::CanalDeCambios() const {
  return motor_ == Motor::Postgresql ? QStringLiteral("ta_auditoria_cambio") : QString();
}

QString Dialecto::AvisarCambio() const {
  return motor_ == Motor::Postgresql ? QStringLiteral("NOTIFY ") + CanalDeCambios() : QString();
}

QString Dialecto::VersionDeDatos() const {
  return motor_ == Motor::Sqlite ? QStringLiteral("PRAGMA data_version") : QString();
}

int Dialecto::PuertoPorDefecto() const {
  switch (motor_) {
    case Motor::Postgresql:
      return 5432;
    case Motor::SqlServer:
      // A named instance listens on a port of its own: no port to assume.
    case Motor::Sqlite:
      break;
  }
  return 0;
}
