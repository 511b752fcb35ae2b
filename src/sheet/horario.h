#pragma once
// The time-of-day column. What the operator types there is stored as a time
// "hh:mm:ss" (hours 00 to 23) whenever it reads as one:
//   "8:30", "8:30:15", "8:30 pm"   -> that time of day;
//   "15/03/2004", "15/03/2004 8:30" -> the time of the moment (00:00:00 for a
//                                      date alone);
//   "0,75", "2.5", "3"             -> a count of days: only the fraction is a
//                                      time (0,75 is 18:00:00; a whole number
//                                      gives 00:00:00).
// Any other text, the empty one included, comes back unchanged.

#include <QString>

QString FormatearHorario(const QString& texto);
