#pragma once
// The time-of-day column. What the operator types there is stored as a time
// "hh:mm:ss" from 00:00:00 to 23:59:59, read the way a lab writes times:
//   "8:30", "08:30", "8:30:15", "8:30 pm"        -> that time of day;
//   "0830", "830", "083015"                      -> hours, minutes (seconds);
//   "8", "14"                                    -> whole hours;
//   "8.30", "8,30", "8h30", "8 30", "8h"         -> hours and two-digit minutes.
// Anything else ("25:00", "8:75", "12,5", a date, a word) is no time: the
// entry is refused, never stored as text or as a guess. The empty text is an
// empty cell.

#include <QString>
#include <optional>

// The stored form "hh:mm:ss" of the time the text names; an empty text for an
// empty one; nothing when the text names no time of day.
std::optional<QString> FormatearHorario(const QString& texto);

// The message that refuses a text that is not a time, naming the column.
QString NoEsHorario(const QString& texto, const QString& columna);
