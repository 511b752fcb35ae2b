#pragma once
// Reading the start-up parameter string. Both functions are pure.
//
// An item is a key, "=", a value and ";". A key is matched only as a whole
// item key (the text that opens an item, before its "=" or ";", without regard
// to case or surrounding blanks), so "@Usuario" is never read out of
// "@UsuarioLogeado". The value runs from the end of the key to the next ";";
// every "=" is removed from it and its ends are trimmed. A key not found, or
// not followed by a ";", gives an empty value.

#include <QString>

QString LeerParametro(const QString& clave, const QString& parametros);

// The text after the first "/", or the text unchanged when it has none
// ("PC1/SQL1" gives "SQL1", "PC1/" gives "").
QString QuitarPrefijoServidor(const QString& servidor);
