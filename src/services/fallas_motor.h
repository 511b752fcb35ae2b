#pragma once
// The failures of the database engines, told as the operator needs them:
// what happened, what became of the entry (a statement that writes stored
// nothing; one that reads read nothing) and what to do. The engine's own
// words follow in brackets for whoever looks after the database.

#include <QSqlError>
#include <QString>
#include <QStringView>

#include "services/dialecto.h"
#include "services/falla.h"

namespace fallas_motor {

enum class Clase { Ocupada, SinConexion, SoloLectura, DiscoLleno, Danada, Otra };

Clase Clasificar(Motor motor, const QSqlError& error);

// A statement's first word, as it was typed.
QStringView Verbo(const QString& sql);

// Whether a statement changes data (anything but SELECT, WITH and PRAGMA).
bool Escribe(const QString& sql);

// donde: the file or server as the operator knows it; espera: the seconds the
// statement waited for a lock.
Falla Construir(Clase clase, const QSqlError& error, const QString& donde, bool escribe,
                int espera);

// The database file is no longer where it was opened, or is another file.
Falla ArchivoCambiado(const QString& donde, bool desaparecido, bool escribe);

// The first words of what became of the entry.
QString QuePaso(bool escribe);

}  // namespace fallas_motor
