#pragma once
// LibIni: reads keys of the INI file. The file is looked for in the program's
// folder, then in the configuration folder; a key missing from the first is
// looked for in the second. Section and key names are compared without regard
// to case, lines that are neither a section, a key nor a comment are ignored,
// and the file is read on every call and never written.
//
// (QSettings is not used: on Linux it compares keys with case, turns values
// with commas into lists and escapes a "|" in a section name.)

#include <QString>
#include <optional>

class LibIni {
 public:
  static LibIni& Instancia();

  // The key's text (trimmed, surrounding double quotes removed), or the default
  // when no file has the key.
  QString LeerValor(const QString& archivo, const QString& seccion, const QString& clave,
                    const QString& porDefecto) const;

  // The same lookup in the text of one INI file; empty when it has no such key.
  static std::optional<QString> Buscar(const QString& contenido, const QString& seccion,
                                       const QString& clave);
};
