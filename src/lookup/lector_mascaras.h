#pragma once
// Reading the lookup definitions of "consultas.qvx" (the format is in
// lookup/mascaras_consultas.h). The file is whatever a disk or an older
// program left there: a short file, a record cut in the middle, or bytes 0 and
// 255 in place of text are all read without failing. A cut last record is read
// with the bytes it has; the missing ones count as blanks.

#include <QByteArray>
#include <QString>
#include <optional>

#include "lookup/mascaras_consultas.h"

namespace lector_mascaras {

// The record that starts at `desde` in the file's bytes (text in
// Windows-1252, the bytes 0 and 255 removed, blanks kept as stored).
RegistroMascara Registro(const QByteArray& contenido, qsizetype desde);

// The first record whose Tabla, without the bytes 0 and 255 and trimmed,
// equals `tabla` trimmed, compared without regard to case; nothing when none
// does.
std::optional<RegistroMascara> Buscar(const QByteArray& contenido, const QString& tabla);

// Buscar over the file at `ruta`; nothing when it cannot be read.
std::optional<RegistroMascara> BuscarEnArchivo(const QString& ruta, const QString& tabla);

}  // namespace lector_mascaras
