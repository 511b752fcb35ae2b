#include "services/falla.h"

#include <utility>

Falla::Falla(int codigo, QString mensaje)
    : codigo_(codigo), mensaje_(std::move(mensaje)), utf8_(mensaje_.toStdString()) {}
