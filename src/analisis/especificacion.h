#pragma once
// The limits editor's rules, without widgets. Pure: the same texts give the
// same limits, refusals and statements.
//
// The editor shows one row per number column of the column table with four
// texts (mínimo, máximo, aviso mínimo, aviso máximo). A row is read as the
// sheet reads a number (either decimal separator, an empty text no bound) and
// checked: the minimum not above the maximum, the warning band inside the
// limits. A refusal names the column, so the operator knows where to look.
// A save writes the flour type's rows as of one vigente_desde: earlier
// analyses keep the rows that judged them.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "analisis/columnas.h"
#include "analisis/limites.h"
#include "services/dialecto.h"

// The four bounds of a row as the operator typed them.
struct CotasTecleadas {
  QString minimo;
  QString maximo;
  QString avisoMinimo;
  QString avisoMaximo;
};

struct FilaLeida {
  bool valida = false;
  Limite limite;   // campo and the bounds; tipoHarina and vigenteDesde empty
  QString motivo;  // why it was refused, for the operator
};

// The columns that take limits: the number columns of the column table, in
// the grid's order.
QList<const ColumnaAnalisis*> ColumnasConLimites();

// Reads and checks one row of the editor.
FilaLeida LeerFilaDeLimites(const ColumnaAnalisis& columna, const CotasTecleadas& textos,
                            const QString& separador);

// The texts a row of the editor opens with: the bounds of that row (none
// gives empty texts), numbers with the operator's separator.
CotasTecleadas TextosDeLimite(const std::optional<Limite>& limite, const QString& separador);

// The date from which a save holds, as typed ("dd/MM/yyyy"); nothing when
// the text is no date (motivo then says why).
std::optional<QDate> LeerVigenteDesde(const QString& texto, QString* motivo);

// The rows a save of flour type tipo as of vigente writes: each row typed
// with any bound, and, for a column left without bounds where a row with
// bounds was in force until then, a row without bounds, so that the column is
// no longer judged from that date. existentes are every row of the table.
QList<Limite> FilasAGuardar(const QList<Limite>& existentes, const QString& tipo,
                            const QDate& vigente, const QList<Limite>& tecleadas);

// The condition that picks the flour type's rows of that date, as the save
// replaces them.
QString CondicionDeFecha(const Dialecto& dialecto, const QString& tipo, const QDate& vigente);

// The statements of that save, to run in one transaction: the flour type's
// rows of that same date go (compared as the judging compares a flour type),
// then each row is inserted.
QStringList SentenciasDeLimites(const Dialecto& dialecto, const QString& tipo, const QDate& vigente,
                                const QList<Limite>& filas);

// The flour types the editor offers: those of the limits and those recorded
// in the analyses, each once (without case and surrounding blanks, spelled as
// the limits spell it when they do), blanks left out, sorted.
QStringList TiposDeHarina(const QStringList& deLimites, const QStringList& deAnalisis);
