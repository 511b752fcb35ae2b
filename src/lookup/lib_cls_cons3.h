#pragma once
// Lib_ClsCons3: the lookup request. One process-wide object, gConsulta(),
// made on first use and kept for the whole run. Session start fills in where
// the lookup definitions are; the request and return members come with the
// lookup window.

#include <QString>

class Lib_ClsCons3 {
 public:
  QString gConnString;                  // connection text, passed to the window
  bool gUsarMascarasConsultas = false;  // whether registered tables may be used
  QString gRutaMascaraConsultas;        // full path of "consultas.qvx"
};

Lib_ClsCons3& gConsulta();
