#pragma once
// LibReportes: the settings the report launcher reads. The program sets the
// application folder once at start and the three options before each launch;
// the report engine itself comes with the analysis report.

#include <QString>

class LibReportes {
 public:
  static LibReportes& Instancia();

  QString RutaAplicacion;
  bool OpcionA = true;
  bool OpcionB = true;
  bool OpcionC = false;
};
