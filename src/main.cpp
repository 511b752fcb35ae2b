#include <QApplication>
#include <cstdio>

#include "services/idioma.h"
#include "services/pantalla.h"
#include "sheet/frm_harina.h"

int main(int argc, char* argv[]) {
  if (!pantalla::Disponible()) {
    std::fputs(pantalla::Aviso(), stderr);
    return 2;
  }
  QApplication aplicacion(argc, argv);
  QApplication::setApplicationName(QStringLiteral("analisis-harina"));
  InstalarIdioma(aplicacion);
  frmHarina ventana;
  if (!ventana.Form_Load()) return 1;
  ventana.show();
  return QApplication::exec();
}
