#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "services/idioma.h"
#include "services/pantalla.h"
#include "session/uso.h"
#include "sheet/frm_harina.h"

int main(int argc, char* argv[]) {
  QStringList argumentos;
  for (int i = 1; i < argc; ++i) argumentos.append(QString::fromLocal8Bit(argv[i]));
  if (const auto respuesta = ResponderOpcion(argumentos)) {
    std::fputs(respuesta->texto.toLocal8Bit().constData(), respuesta->error ? stderr : stdout);
    return respuesta->estado;
  }
  if (!pantalla::Disponible()) {
    std::fputs(pantalla::Aviso(), stderr);
    return 2;
  }
  QApplication aplicacion(argc, argv);
  QApplication::setApplicationName(QStringLiteral("analisis-harina"));
  QApplication::setApplicationVersion(QStringLiteral(HARINA_VERSION));
  InstalarIdioma(aplicacion);
  frmHarina ventana;
  if (!ventana.Form_Load()) return 1;
  ventana.show();
  return QApplication::exec();
}
