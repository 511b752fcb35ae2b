#pragma once
// The certificate of analysis on paper: one A4 portrait page with the
// company, the title, the analysis's flour type, date, time and responsible
// person, the table of its values (a value out of its limits in red and
// bold, with its mark), the verdict, the remarks and a place for the
// signature.
//
// EmitirCertificado shows it in the print preview, from which the operator
// prints it or saves it as PDF; with the key "SalidaCertificado" of section
// "Reportes" of RO000za.INI set to a PDF path it is written there instead
// (unattended use, as "Salida" does for the report) and the operator is told
// where (Operador::Informar). Throws Falla (kArchivo) when the PDF cannot be
// written.

#include <QDateTime>
#include <QPageLayout>

#include "report/certificado.h"

class QPagedPaintDevice;

QPageLayout PaginaCertificado();

void PintarCertificado(const Certificado& certificado, const QDateTime& emitido,
                       QPagedPaintDevice& dispositivo);

// The path it was written to; empty when it was shown in the preview.
QString EmitirCertificado(const Certificado& certificado);
