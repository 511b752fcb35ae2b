#include "lookup/lib_cls_cons3.h"

Lib_ClsCons3& gConsulta() {
  static Lib_ClsCons3 consulta;
  return consulta;
}
