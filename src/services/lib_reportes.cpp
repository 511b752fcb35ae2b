#include "services/lib_reportes.h"

LibReportes& LibReportes::Instancia() {
  static LibReportes reportes;
  return reportes;
}
