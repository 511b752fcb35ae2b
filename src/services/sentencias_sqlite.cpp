#include "services/sentencias_sqlite.h"

#include <sqlite3.h>

#include <QDateTime>
#include <QSqlDriver>
#include <QTime>
#include <optional>

namespace {

sqlite3* HandleDe(const QSqlDatabase& base) {
  if (!base.isOpen()) return nullptr;
  const QVariant handle = base.driver()->handle();
  if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
  return *static_cast<sqlite3* const*>(handle.constData());
}

QSqlError Error(sqlite3* handle, int codigo, const QString& que) {
  // The extended code, as QSQLITE reports it: its low byte is the primary.
  const int extendido = handle ? sqlite3_extended_errcode(handle) : codigo;
  const QString texto = handle ? QString::fromUtf8(sqlite3_errmsg(handle))
                               : QString::fromUtf8(sqlite3_errstr(codigo));
  return QSqlError(que, texto, QSqlError::StatementError, QString::number(extendido));
}

// As UTF-8, the program's databases' encoding: SQLite then keeps its copy
// as it is, and Qt's conversion is the quicker.
int AtarTexto(sqlite3_stmt* sentencia, int posicion, const QString& texto) {
  const QByteArray utf8 = texto.toUtf8();
  return sqlite3_bind_text(sentencia, posicion, utf8.constData(), static_cast<int>(utf8.size()),
                           SQLITE_TRANSIENT);
}

// The value lives in valores until the statement is reset, so bytes held by
// it are bound without a copy.
int Atar(sqlite3_stmt* sentencia, int posicion, const QVariant& valor) {
  if (!valor.isValid() || valor.isNull()) {
    // A null text is an empty text, never Null.
    if (valor.typeId() == QMetaType::QString)
      return sqlite3_bind_text(sentencia, posicion, "", 0, SQLITE_STATIC);
    return sqlite3_bind_null(sentencia, posicion);
  }
  switch (valor.typeId()) {
    case QMetaType::QByteArray: {
      const auto* bytes = static_cast<const QByteArray*>(valor.constData());
      return sqlite3_bind_blob(sentencia, posicion, bytes->constData(),
                               static_cast<int>(bytes->size()), SQLITE_STATIC);
    }
    case QMetaType::Int:
    case QMetaType::Bool:
      return sqlite3_bind_int(sentencia, posicion, valor.toInt());
    case QMetaType::Double:
      return sqlite3_bind_double(sentencia, posicion, valor.toDouble());
    case QMetaType::UInt:
    case QMetaType::LongLong:
      return sqlite3_bind_int64(sentencia, posicion, valor.toLongLong());
    case QMetaType::QDateTime:
      return AtarTexto(sentencia, posicion, valor.toDateTime().toString(Qt::ISODateWithMs));
    case QMetaType::QTime:
      return AtarTexto(sentencia, posicion, valor.toTime().toString(u"hh:mm:ss.zzz"));
    case QMetaType::QString:
      return AtarTexto(sentencia, posicion, *static_cast<const QString*>(valor.constData()));
    default:
      return AtarTexto(sentencia, posicion, valor.toString());
  }
}

// A column of the current row, read as QSQLITE reads it.
QVariant Leer(sqlite3_stmt* sentencia, int columna) {
  switch (sqlite3_column_type(sentencia, columna)) {
    case SQLITE_INTEGER:
      return QVariant::fromValue<qint64>(sqlite3_column_int64(sentencia, columna));
    case SQLITE_FLOAT:
      return sqlite3_column_double(sentencia, columna);
    case SQLITE_NULL:
      return QVariant(QMetaType::fromType<QString>());
    case SQLITE_BLOB:
      return QByteArray(static_cast<const char*>(sqlite3_column_blob(sentencia, columna)),
                        sqlite3_column_bytes(sentencia, columna));
    default: {
      // The program's databases hold their texts in UTF-8 (SQLite's
      // default): read so, SQLite neither converts nor copies them, and Qt's
      // conversion is the quicker.
      const auto* texto = reinterpret_cast<const char*>(sqlite3_column_text(sentencia, columna));
      return QString::fromUtf8(texto, sqlite3_column_bytes(sentencia, columna));
    }
  }
}

// The current row's values.
QVariantList LeerFila(sqlite3_stmt* sentencia) {
  const int columnas = sqlite3_column_count(sentencia);
  QVariantList fila;
  fila.reserve(columnas);
  for (int c = 0; c < columnas; ++c) fila.append(Leer(sentencia, c));
  return fila;
}

int Preparar(sqlite3* handle, const QString& sql, unsigned int opciones, sqlite3_stmt** sentencia) {
  return sqlite3_prepare16_v3(handle, sql.utf16(), static_cast<int>(sql.size() * sizeof(char16_t)),
                              opciones, sentencia, nullptr);
}

QSqlError SinConexion() {
  return QSqlError(QStringLiteral("Driver not loaded"), {}, QSqlError::ConnectionError,
                   QString::number(SQLITE_MISUSE));
}

}  // namespace

SentenciasSqlite::~SentenciasSqlite() { Finalizar(); }

void SentenciasSqlite::Finalizar() {
  for (sqlite3_stmt* sentencia : std::as_const(sentencias_)) sqlite3_finalize(sentencia);
  sentencias_.clear();
  handle_ = nullptr;
}

void SentenciasSqlite::Olvidar(const QSqlDatabase& base) {
  sqlite3* viejo = handle_;
  const bool tenia = !sentencias_.isEmpty();
  Finalizar();
  // The driver closed this handle while it had statements: its close failed
  // and it let go of the handle, which is still open.
  if (tenia && viejo && viejo != HandleDe(base)) sqlite3_close(viejo);
}

sqlite3* SentenciasSqlite::Handle(const QSqlDatabase& base) {
  sqlite3* handle = HandleDe(base);
  if (handle != handle_) {
    Olvidar(base);
    handle_ = handle;
  }
  return handle;
}

std::optional<QSqlError> SentenciasSqlite::Todas(const QSqlDatabase& base, const QString& sql,
                                                 QList<QVariantList>& filas) {
  sqlite3* handle = Handle(base);
  if (!handle) return SinConexion();
  sqlite3_stmt* sentencia = nullptr;
  int codigo = Preparar(handle, sql, 0, &sentencia);
  if (codigo != SQLITE_OK) {
    sqlite3_finalize(sentencia);
    return Error(handle, codigo, QStringLiteral("Unable to execute statement"));
  }
  while ((codigo = sqlite3_step(sentencia)) == SQLITE_ROW) filas.append(LeerFila(sentencia));
  std::optional<QSqlError> error;
  if (codigo != SQLITE_DONE) error = Error(handle, codigo, QStringLiteral("Unable to fetch row"));
  sqlite3_finalize(sentencia);
  return error;
}

std::optional<QSqlError> SentenciasSqlite::Ejecutar(const QSqlDatabase& base, const QString& sql,
                                                    const QVariantList& valores, QVariantList& fila,
                                                    int* filasAfectadas) {
  sqlite3* handle = Handle(base);
  if (!handle) return SinConexion();
  sqlite3_stmt*& sentencia = sentencias_[sql];
  if (!sentencia) {
    const int codigo = Preparar(handle, sql, SQLITE_PREPARE_PERSISTENT, &sentencia);
    if (codigo != SQLITE_OK) {
      sentencias_.remove(sql);
      return Error(handle, codigo, QStringLiteral("Unable to execute statement"));
    }
  }
  if (sqlite3_bind_parameter_count(sentencia) != valores.size())
    return QSqlError(QStringLiteral("Parameter count mismatch"), {}, QSqlError::StatementError,
                     QString::number(SQLITE_RANGE));
  for (int i = 0; i < valores.size(); ++i) {
    const int codigo = Atar(sentencia, i + 1, valores.at(i));
    if (codigo != SQLITE_OK) {
      sqlite3_clear_bindings(sentencia);
      return Error(handle, codigo, QStringLiteral("Unable to bind parameters"));
    }
  }
  const int codigo = sqlite3_step(sentencia);
  std::optional<QSqlError> error;
  if (codigo == SQLITE_ROW) {
    fila = LeerFila(sentencia);
  } else if (codigo != SQLITE_DONE) {
    error = Error(handle, codigo, QStringLiteral("Unable to fetch row"));
  }
  if (!error && filasAfectadas) *filasAfectadas = sqlite3_changes(handle);
  // The statement lets go of what it read, and of the values it was given.
  sqlite3_reset(sentencia);
  sqlite3_clear_bindings(sentencia);
  return error;
}
