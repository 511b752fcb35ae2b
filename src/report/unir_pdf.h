#pragma once
// UnirPdf: PDF files joined into one, their pages in the order given. The
// result is the first part's document (its title, creator and metadata) with
// the pages of every other part after its own; content streams and fonts are
// copied as they are, not decompressed nor compressed again. A part that is
// missing or damaged is not patched up: the join fails.

#include <QString>
#include <QStringList>

class QIODevice;

// Writes the joined PDF on destino (open for writing). Empty when it was
// written whole; otherwise why not, in the operator's words, and destino may
// hold part of a file that the caller discards.
QString UnirPdf(const QStringList& partes, QIODevice& destino);
