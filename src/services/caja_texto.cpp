#include "services/caja_texto.h"

CajaTexto::CajaTexto(QWidget* padre) : QLineEdit(padre) {}
