#pragma once
// What every benchmark program shares: how a run ends early (its temporary
// folder removed, a message naming the program), the operator who answers no
// question, the median of a series and the process's memory figures.

#include <QSqlDatabase>
#include <QString>
#include <vector>

#include "services/operador.h"

class QTemporaryDir;

// Before the QApplication: names the program in its messages, has the folder
// removed when the run ends early, keeps the program's data and settings in it
// (the offscreen platform when there is no display), makes the program's folder
// there and installs OperadorQueAborta. Returns the program's folder.
QString PrepararMedicion(const char* programa, QTemporaryDir& carpeta);

// Ends the run with that status, the folder removed.
[[noreturn]] void Salir(int estado);
// Prints the reason and ends the run with status 1.
[[noreturn]] void Abortar(const QString& motivo);

// An operator who never answers: any question the program asks is printed and
// ends the run with status 3, since a measure with a question in it measures
// nothing. Progress is no question: it runs to the end.
class OperadorQueAborta : public Operador {
 public:
  int ReportarError(const QString& titulo, const QString& texto) override;
  bool Confirmar(const QString& titulo, const QString& texto, PorDefecto porDefecto) override;
  void Avisar(Estilo estilo, const QString& titulo, const QString& texto) override;
  std::optional<QString> PedirTexto(const QString& titulo, const QString& pregunta,
                                    const QString& inicial) override;
  std::unique_ptr<Progreso> MostrarProgreso(const QString& titulo, const QString& texto,
                                            qint64 total) override;
  void VistaPrevia(const QString& titulo, const QPageLayout& pagina,
                   const std::function<void(QPagedPaintDevice&)>& pintar,
                   const GuardarVista& guardar) override;
  void MostrarConsulta(QDialog& ventana) override;
  std::optional<QDate> ElegirFecha(const QString& titulo, const QDate& inicial) override;
  Resolucion ResolverConflicto(const QString& titulo, const QString& texto) override;
};

// Three years of days, 2002 to 2004 (365 days a year), twenty analyses each,
// as a lab's sheet holds them, in the caller's transaction; every fifth
// analysis carries observacion.
void LlenarTresAnios(QSqlDatabase base, const QString& observacion);

// The middle value of the series (the upper one of the two for an even count).
double Mediana(std::vector<double> valores);

// A figure of /proc/self/status in kilobytes ("VmRSS:" now, "VmHWM:" the peak
// since the last ReiniciarPico); -1 when it cannot be read.
double MemoriaKb(const char* clave);
// Starts the peak resident figure again from the current one.
bool ReiniciarPico();
