#include "services/idioma.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void InstalarIdioma(QCoreApplication& aplicacion) {
  auto* traductor = new QTranslator(&aplicacion);
  if (traductor->load(QLocale(QLocale::Spanish), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(traductor);
  else
    delete traductor;
}
