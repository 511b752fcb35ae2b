#pragma once
// A block of cells as text, the way spreadsheets hand it over the clipboard:
// rows by lines, cells by tabs (or, in a block without tabs, by semicolons, as
// a Spanish CSV writes them); a cell holding a separator, a line break or a
// quote comes between double quotes, its quotes doubled. Pure.

#include <QList>
#include <QString>
#include <QStringList>

// The block's text; a cell that needs it is quoted.
QString TextoDeBloque(const QList<QStringList>& filas);

// The block a text holds. A last empty line (the one a copy ends with) is no
// row; an empty text is no block.
QList<QStringList> LeerBloque(const QString& texto);
