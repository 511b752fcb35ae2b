#pragma once
// GuardarPdf: a document written as a PDF file, whole or not at all. It is
// written beside the path and takes its place only once complete, so that a
// full disk or a cancelled report never leaves half a file, nor spoils the
// file that was there. Missing folders are made.
//
// pintar paints the pages on the device it is given; false means the operator
// cancelled: nothing is written and GuardarPdf returns false. Throws Falla
// (kArchivo) when the file cannot be written; the message names the file, the
// reason and what to do.

#include <QString>
#include <functional>

class QIODevice;
class QPageLayout;
class QPagedPaintDevice;
class QPdfWriter;

bool GuardarPdf(const QString& ruta, const QPageLayout& pagina, const QString& titulo,
                const std::function<bool(QPagedPaintDevice&)>& pintar);

// The writer's settings of every PDF the program writes: its page, title and
// creator.
void PrepararPdf(QPdfWriter& pdf, const QPageLayout& pagina, const QString& titulo);

// A PDF made some other way, written the same way: escribir writes it whole on
// the file it is given, answers false when the operator cancelled, or throws.
bool GuardarArchivoPdf(const QString& ruta, const std::function<bool(QIODevice&)>& escribir);

// The Falla (kArchivo) of a PDF that could not be written at ruta, and why.
[[noreturn]] void PdfNoGuardado(const QString& ruta, const QString& razon);
