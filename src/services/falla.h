#pragma once
// A failure of one step of the program: a numeric code, as the operator's
// error report shows it, and a message in Spanish. Every procedure raises
// failures as this exception; the three ways of handling them live in
// convenciones.h.

#include <QString>
#include <exception>
#include <string>

class Falla : public std::exception {
 public:
  // The codes the operator may see; kept close to the old program's numbers so
  // that the lab's notes about "error 5" or "error 13" still make sense.
  enum Codigo : int {
    kArgumentoInvalido = 5,   // a substring of negative length, an unknown option
    kTipoIncompatible = 13,   // a text that is not a number or not a date
    kArchivo = 75,            // a file or folder that cannot be read or written
    kValorPropiedad = 380,    // a control refused a value (a negative size)
    kBaseDeDatos = 3146,      // the engine refused a statement
    kConexion = 3151,         // no connection to the database, or it was lost
    kOcupada = 3218,          // another station or program holds a lock
    kArchivoCambiado = 3024,  // the database file is gone or is another file
    kSoloLectura = 3051,      // the database cannot be written
    kDiscoLleno = 3183,       // no room left on the disk
    kDanada = 3343,           // the database file is damaged
  };

  Falla(int codigo, QString mensaje);

  int Codigo() const { return codigo_; }
  const QString& Mensaje() const { return mensaje_; }
  const char* what() const noexcept override { return utf8_.c_str(); }

  // A failure the operator has already been told about during the same
  // action (the connection is gone: one message is enough). The failure
  // conventions pass it on without showing it again.
  bool Avisada() const { return avisada_; }
  Falla& MarcarAvisada() {
    avisada_ = true;
    return *this;
  }

 private:
  int codigo_;
  QString mensaje_;
  std::string utf8_;
  bool avisada_ = false;
};
