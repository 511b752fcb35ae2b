#pragma once
// Dialecto: every difference between the database engines, and nothing else.
// Statement builders take a Dialecto and values and return text; they never ask
// which engine they run on. The SQL Server rendering is the old program's own
// text, byte for byte; SQLite and PostgreSQL get the equivalent statements.
//
// All functions are pure: same engine and arguments, same text.

#include <QDateTime>
#include <QString>
#include <QStringList>

enum class Motor { SqlServer, Sqlite, Postgresql };

class Dialecto {
 public:
  explicit Dialecto(Motor motor) : motor_(motor) {}

  Motor motor() const { return motor_; }

  // A column name in a statement. SQL Server and SQLite take it bracketed as
  // written ([Horario]); PostgreSQL folds unquoted names to lower case, so it
  // gets the lower-case name quoted ("horario").
  QString Columna(const QString& nombre) const;

  // A result column alias, shown to the operator as written (spaces and case
  // kept): [Tipo de Harina] or "Tipo de Harina".
  QString Alias(const QString& alias) const;

  // "SELECT TOP n <resto>" on SQL Server, "SELECT <resto> LIMIT n" elsewhere.
  // resto is everything after SELECT, ORDER BY included.
  QString SelectTop(int filas, const QString& resto) const;

  // "DELETE <tabla> WHERE ..." on SQL Server, "DELETE FROM <tabla> WHERE ..."
  // elsewhere.
  QString Borrar(const QString& tabla, const QString& condicion) const;

  // The text, without quotes, of a moment inside a statement: yyyyMMdd
  // HH:mm:ss on SQL Server (the one form it reads alike under every language
  // and date format setting of the login), ISO 8601 elsewhere, which both
  // SQLite (text columns compared as text) and PostgreSQL read.
  QString TextoMomento(const QDateTime& momento) const;

  // A sheet's date inside a statement, without quotes: yyyyMMdd on SQL Server,
  // yyyy-MM-dd elsewhere. (tecleada, the date as the operator typed it, is
  // no longer sent: its reading on SQL Server depended on the server's
  // language.)
  QString Dia(const QDate& fecha, const QString& tecleada) const;

  // A sheet's date as a row stores it (midnight of that day), without quotes:
  // yyyyMMdd on SQL Server, which turns a date into its midnight; "yyyy-MM-dd
  // 00:00:00" elsewhere (SQLite keeps the text it is given and compares texts,
  // so the stored date must carry its time to fall between a day's bounds).
  QString Medianoche(const QDate& fecha, const QString& tecleada) const;

  // The literal of a day's midnight, quotes included, for comparing a date or
  // moment column: '20040315' on SQL Server (read alike under every date
  // format setting), '2004-03-15' elsewhere (PostgreSQL reads it as the
  // midnight of a timestamp; SQLite compares texts, and the day alone sorts
  // before every moment of that day, stored with its time or without).
  QString LiteralDia(const QDate& dia) const;

  // The statement that answers the key of the row the same connection has just
  // inserted (never the highest key of the table, which may be another
  // station's row). On SQL Server each statement is a batch of its own, where
  // SCOPE_IDENTITY() would be Null; @@IDENTITY is the session's last key.
  QString ClaveInsertada() const;

  // A condition "columna contains texto", matched without regard to case, with
  // the quotes of texto doubled and its %, _ and [ taken literally.
  QString Contiene(const QString& columna, const QString& texto) const;

  // The statement that sets the command time-out of the connection, or an
  // empty text when the engine has none (SQLite).
  QString TiempoLimite(int segundos) const;

  // The statement that sets how long a statement waits for a lock another
  // connection holds before it fails: SQLite's busy wait, PostgreSQL's
  // lock_timeout, SQL Server's LOCK_TIMEOUT.
  QString EsperaBloqueo(int segundos) const;

  // The statements that open a transaction holding a lock on one sheet's day,
  // so that what another connection decides about that day (a new day's two
  // blank analyses) waits until this transaction ends: SQLite's write lock
  // (BEGIN IMMEDIATE, the whole file), PostgreSQL's transaction advisory lock
  // on the day's number, SQL Server's application lock on the day's name.
  QStringList ComenzarConDia(const QDate& dia) const;
  // The statements that end that transaction, keeping or dropping its work.
  QString Confirmar() const;
  QString Deshacer() const;
  // Whether the statements that open and end a transaction may be prepared
  // once and run again (SQLite); PostgreSQL prepares only queries and changes
  // of rows.
  bool TransaccionPreparable() const;

  // The statements that open a transaction that will write, holding the
  // audit trail's lock from its start: SQLite's write lock (BEGIN IMMEDIATE),
  // PostgreSQL's transaction advisory lock (2, 0), SQL Server's application
  // lock "auditoria". Every writer takes it before its first change, so the
  // trail's rows are appended one station at a time, and two writers never
  // wait for each other's rows while holding it.
  QStringList ComenzarEscritura() const;
  // The trail's lock alone, inside a transaction already open (empty on
  // SQLite, where the transaction that has written holds the file's lock).
  // Taken again by the same transaction it costs nothing.
  QString BloqueoRegistro() const;

  // Watching for other stations' changes. PostgreSQL: every change sends a
  // notice on a channel (AvisarCambio, inside the change's transaction, so it
  // reaches the listeners with the commit); SQLite: VersionDeDatos reads a
  // number that changes when another connection commits. Empty where the
  // engine has no such means.
  QString CanalDeCambios() const;
  QString AvisarCambio() const;
  QString VersionDeDatos() const;
  // The server's port when the connection names none; 0 when there is none
  // to assume (a file, a named instance).
  int PuertoPorDefecto() const;
  // An expression for the moment now as 'yyyy-MM-dd HH:mm:ss.zzz' text, by
  // the clock the trail records: the station's on SQLite (it runs in the
  // program), the server's on PostgreSQL and SQL Server. It is the moment of
  // the statement that reads it, not of its transaction's start: a writer
  // reads it once it holds the trail's lock, so the trail's moments follow
  // the order of its rows.
  QString Ahora() const;

  // A text literal: single quotes around it, every quote inside doubled.
  static QString Texto(const QString& valor);

  // An expression read as text, so that a text condition (Contiene) can be put
  // on a column of any type: PostgreSQL compares a number with a pattern only
  // after a cast; SQL Server and SQLite convert by themselves.
  QString ComoTexto(const QString& expresion) const;

  // The statement that lists the names of the tables of the database the
  // connection works in.
  QString ListaDeTablas() const;

  // The statements that open the transaction of a schema change, holding off
  // every other station's change of the schema until it ends: SQLite takes the
  // file's write lock at once; PostgreSQL takes a lock of the transaction that
  // only schema changes ask for (its DDL is transactional).
  QStringList EmpezarCambioDeEsquema() const;

  // The distinct values of a column other than '' and Null, one index seek a
  // value over an index that leads with the column (a skip scan), ascending;
  // the column is named alias when one is given. Empty for an engine without
  // recursive queries of this form (SQL Server).
  QString SaltoDeIndice(const QString& tabla, const QString& columna, const QString& alias) const;

  // The statement that answers a row when an index of the table leads with
  // that column; empty for an engine this program cannot ask (SQL Server).
  QString IndiceDeColumna(const QString& tabla, const QString& columna) const;
  // The statements that open the transaction of a save of quality limits,
  // holding off every other station's save of limits until it ends, so that
  // two saves of the same rows at once leave one of them, not both: SQLite's
  // write lock, PostgreSQL's and SQL Server's lock of that name.
  QStringList EmpezarCambioDeLimites() const;

  // The definition of a table's key column ID, numbered by the engine and
  // never reused.
  QString ClaveAutonumerica() const;

  // The definition of the audit trail's key column ID. The trail is only ever
  // appended to, so on SQLite the plain rowid key (the highest plus one)
  // numbers its rows in the chain's order as AUTOINCREMENT would, without the
  // write of sqlite_sequence that AUTOINCREMENT adds to every insert;
  // elsewhere ClaveAutonumerica().
  QString ClaveDeRegistro() const;

  // The statements that give the table de the name a, inside the schema
  // change's transaction. SQLite's run in its legacy mode, which leaves the
  // text of views and triggers alone: its modern rename reads them all again
  // and refuses when one names a table that the same transaction has just
  // dropped to put this one in its place.
  QStringList RenombrarTabla(const QString& de, const QString& a) const;

  // The statement that answers the definitions of the indexes and triggers
  // that the engine drops with a table, one text a row, ready to be run again
  // on a table of that name: SQLite's own texts. Empty for an engine whose
  // tables this program never rebuilds (it changes a key in place).
  QString AnexosDeTabla(const QString& tabla) const;

 private:
  Motor motor_;
};
