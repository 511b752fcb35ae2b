#include "session/aspecto.h"

#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QWidget>

#include "services/convenciones.h"
#include "services/lib_datos.h"
#include "services/lib_entorno.h"
#include "services/lib_ini.h"
#include "services/util_kor.h"
#include "session/estado_sesion.h"

void AplicarAspecto(QWidget* ventana) {
  QString nombre;
  Intentar([&] {
    nombre = LibIni::Instancia().LeerValor(QStringLiteral("RO000za.INI"), QStringLiteral("Iconos"),
                                           QStringLiteral("IconoDelSistema"),
                                           QStringLiteral("DIVEVUVERUDOD"));
  });
  Intentar([&] {
    const QString recurso = QStringLiteral(":/iconos/%1.png").arg(nombre.trimmed().toUpper());
    if (!nombre.trimmed().isEmpty() && QFile::exists(recurso))
      ventana->setWindowIcon(QIcon(recurso));
  });
  Intentar([&] {
    // windowIcon() falls back to the application's icon; only a window that
    // has none of its own, and an application with none, is without one.
    if (ventana->windowIcon().isNull() && QFile::exists(QStringLiteral("quorvex.ico")))
      ventana->setWindowIcon(QIcon(QStringLiteral("quorvex.ico")));
  });
  Intentar([&] { LibEntorno::AplicarEstilo(ventana); });
  Intentar([&] {
    // The operator must know before typing that nothing will be stored.
    const QString marca = QStringLiteral(" (solo lectura: no se guardan cambios)");
    if (LibDatos::Instancia().SoloLectura() && !ventana->windowTitle().endsWith(marca))
      ventana->setWindowTitle(ventana->windowTitle() + marca);
  });
  Intentar([&] {
    if (auto* barra = ventana->findChild<UtilKor*>(QStringLiteral("UtilKor1")))
      barra->StyleBar(gFlatToolbars);
  });
  Intentar([] { QApplication::processEvents(); });
}
