#pragma once
// SentenciasSqlite: the statements of every stored cell (its transaction,
// the read of the value before, the UPDATE and the trail's row), prepared
// once on the embedded database's own connection and run straight on the
// engine. They run on the very connection QSQLITE opened (its handle), so
// they share its transaction, its locks and its busy wait: this is the same
// connection, without the driver's per-statement layer.
//
// Values are bound as QSQLITE binds them: Null for a null or invalid
// value, integers as 64-bit, a double as a double, bytes as a blob, a
// moment with its milliseconds, anything else as its text.
//
// The statements belong to one opening of the connection: when the driver's
// handle is another (reopened) or gone (closed), the old statements are
// finalized before anything runs, and prepared again on the new handle. The
// driver cannot free a handle that still has statements (its close fails and
// lets go of it): such a handle is closed here, once they are finalized.

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QVariantList>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

class SentenciasSqlite {
 public:
  SentenciasSqlite() = default;
  // Finalizes the statements (the connection must not have been closed
  // under them: see Olvidar).
  ~SentenciasSqlite();
  SentenciasSqlite(const SentenciasSqlite&) = delete;
  SentenciasSqlite& operator=(const SentenciasSqlite&) = delete;

  // Runs sql on base's connection with valores bound in the order of its '?'
  // marks. On success fila receives the values of the first row (empty when
  // there is none) and filasAfectadas, when given, the rows an INSERT,
  // UPDATE or DELETE changed. On failure returns the engine's error, with
  // its extended result code as the native code, as QSQLITE gives it.
  std::optional<QSqlError> Ejecutar(const QSqlDatabase& base, const QString& sql,
                                    const QVariantList& valores, QVariantList& fila,
                                    int* filasAfectadas);

  // Runs sql, a statement of its own text (prepared for this run and
  // finalized after it: a day's query carries its date), and gives every row
  // it returns in filas.
  std::optional<QSqlError> Todas(const QSqlDatabase& base, const QString& sql,
                                 QList<QVariantList>& filas);

  // Finalizes every statement, before base's connection closes; and closes
  // the handle they were prepared on when base no longer holds it.
  void Olvidar(const QSqlDatabase& base);

 private:
  void Finalizar();
  // The driver's current handle, after forgetting the statements of one it
  // no longer holds; null when the connection is closed.
  sqlite3* Handle(const QSqlDatabase& base);

  sqlite3* handle_ = nullptr;
  QHash<QString, sqlite3_stmt*> sentencias_;
};
