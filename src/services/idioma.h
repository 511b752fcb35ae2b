#pragma once
// InstalarIdioma: Qt's own texts (the buttons of the standard dialogs, the
// print preview's tools, the calendar's context menu) in Spanish, like the
// rest of the program. Without Qt's translation files installed, they stay
// in English and nothing else changes.

class QCoreApplication;

void InstalarIdioma(QCoreApplication& aplicacion);
