#pragma once
// The audit trail ta_auditoria: who changed what, when, from which value to
// which. Its rows are only ever appended, inside the transaction of the
// change they record, so the change and its record commit together or not at
// all. Each row's huella chains it to the one before (the text form hashed is
// written in db/sqlite.sql and db/postgresql.sql); Verificar walks the chain.
//
// One chain for every station: a writer takes the trail's lock before it
// reads the last huella (Dialecto::BloqueoRegistro; the sheet takes it when
// its transaction begins, Dialecto::ComenzarEscritura), so rows are appended
// one station at a time in the order of their keys.
//
// Every function throws Falla when the database fails; Anotar leaves the
// caller's transaction to be undone by the caller.

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

class Conexion;
class Dialecto;

namespace auditoria {

inline const QString kAlta = QStringLiteral("alta");
inline const QString kModificacion = QStringLiteral("modificacion");
inline const QString kBaja = QStringLiteral("baja");
inline const QString kRestauracion = QStringLiteral("restauracion");
inline const QString kEspecificacion = QStringLiteral("especificacion");

// One change to record: values as texts as stored, empty for Null
// (TextoDeValor).
struct Asiento {
  QString accion;
  QString tabla;
  qint64 idFila = 0;
  QString campo;
  QString anterior;
  QString nuevo;
};

// A row of the trail as it is stored.
struct Fila {
  qint64 id = 0;
  QString momento;  // yyyy-MM-dd HH:mm:ss.zzz
  QString estacion;
  QString operador;
  Asiento asiento;
  QString huella;
};

// This station's name as the trail records it: the machine's host name.
QString Estacion();

// Who the trail names: the logged-in operator, or the system user when the
// program was started without one.
QString Firmante(const QString& usuarioLogeado);

// A value read from the database as the trail writes it: empty for Null,
// moments as yyyy-MM-dd HH:mm:ss, times as HH:mm:ss, numbers with a point
// and no needless zeros, texts as they are.
QString TextoDeValor(const QVariant& valor);

// The huella of a row after the row whose huella is previa (empty for the
// first): SHA-256 of the fixed text form, 64 lower-case hex digits.
QString Huella(const QString& previa, const Fila& fila);

// Appends the rows, in order, inside the transaction the caller has open on
// the connection, at the moment of the database's clock, signed by this
// station and operador (Firmante). Takes the trail's lock first. Nothing for
// an empty list.
void Anotar(Conexion& conexion, const QString& operador, const QList<Asiento>& asientos);

// The same, for a caller that holds the trail's lock since its transaction
// began (Dialecto::ComenzarEscritura) and has read the moment and the last
// huella itself, as the two columns of Cabeza(dialecto) put in a statement
// it runs anyway: one statement fewer on the path of every stored cell.
QString Cabeza(const Dialecto& dialecto);
void Anotar(Conexion& conexion, const QString& operador, const QList<Asiento>& asientos,
            const QVariant& momento, const QVariant& previa);

// The limits editor's record: one "especificacion" row of table ta_limites
// per changed field of the limit idLimite, inside the caller's transaction
// (which has stored the limit, and commits or undoes both). A field whose
// texts are equal is skipped, so the caller may pass every field.
struct CampoCambiado {
  QString campo;
  QString anterior;
  QString nuevo;
};
void AnotarEspecificacion(Conexion& conexion, const QString& operador, qint64 idLimite,
                          const QList<CampoCambiado>& campos);

// The trail of one row of a table, newest first.
QList<Fila> DeFila(Conexion& conexion, const QString& tabla, qint64 idFila);

// The trail of one day of a table whose day column is columnaDia: the rows
// of the table's rows of that day, and of those that were of that day when
// they were created or deleted (their "alta" or "baja" row of columnaDia);
// newest first.
QList<Fila> DelDia(Conexion& conexion, const QString& tabla, const QString& columnaDia,
                   const QDate& dia);

// What Verificar found: intacto with the number of rows, or the first row
// (by key) whose content or place in the chain is wrong and what is wrong.
struct Verificacion {
  bool intacto = true;
  qint64 filas = 0;
  qint64 idFalla = 0;
  QString texto;  // for the operator
};
Verificacion Verificar(Conexion& conexion);

}  // namespace auditoria
