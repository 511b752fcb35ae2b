#include "medicion.h"

#include <QDate>
#include <QDialog>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

const char* gPrograma = "bench";
QTemporaryDir* gCarpeta = nullptr;

[[noreturn]] void Terminar(const QString& titulo, const QString& texto) {
  std::fprintf(stderr, "%s: el programa preguntó al operador «%s»: %s\n", gPrograma,
               qPrintable(titulo), qPrintable(texto));
  Salir(3);
}

class AvanceSinFin : public Progreso {
 public:
  bool Avanzar(qint64) override { return true; }
};

}  // namespace

void IniciarMedicion(const char* programa, QTemporaryDir* carpeta) {
  gPrograma = programa;
  gCarpeta = carpeta;
}

void Salir(int estado) {
  if (gCarpeta) gCarpeta->remove();
  std::exit(estado);
}

void Abortar(const QString& motivo) {
  std::fprintf(stderr, "%s: %s\n", gPrograma, qPrintable(motivo));
  Salir(1);
}

int OperadorQueAborta::ReportarError(const QString& titulo, const QString& texto) {
  Terminar(titulo, texto);
}
bool OperadorQueAborta::Confirmar(const QString& titulo, const QString& texto, PorDefecto) {
  Terminar(titulo, texto);
}
void OperadorQueAborta::Avisar(Estilo, const QString& titulo, const QString& texto) {
  Terminar(titulo, texto);
}
std::optional<QString> OperadorQueAborta::PedirTexto(const QString& titulo, const QString& pregunta,
                                                     const QString&) {
  Terminar(titulo, pregunta);
}
std::unique_ptr<Progreso> OperadorQueAborta::MostrarProgreso(const QString&, const QString&,
                                                             qint64) {
  return std::make_unique<AvanceSinFin>();
}
void OperadorQueAborta::VistaPrevia(const QString& titulo, const QPageLayout&,
                                    const std::function<void(QPagedPaintDevice&)>&) {
  Terminar(titulo, QStringLiteral("vista previa en lugar del PDF"));
}
void OperadorQueAborta::MostrarConsulta(QDialog& ventana) {
  Terminar(ventana.windowTitle(), QStringLiteral("ventana de consulta"));
}
std::optional<QDate> OperadorQueAborta::ElegirFecha(const QString& titulo, const QDate&) {
  Terminar(titulo, QStringLiteral("calendario"));
}

double Mediana(std::vector<double> valores) {
  if (valores.empty()) return 0;
  std::sort(valores.begin(), valores.end());
  return valores[valores.size() / 2];
}

double MemoriaKb(const char* clave) {
  QFile estado(QStringLiteral("/proc/self/status"));
  if (!estado.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& linea : estado.readAll().split('\n'))
    if (linea.startsWith(clave))
      return linea.mid(qstrlen(clave)).trimmed().split(' ')[0].toDouble();
  return -1;
}

bool ReiniciarPico() {
  QFile limpiar(QStringLiteral("/proc/self/clear_refs"));
  return limpiar.open(QIODevice::WriteOnly) && limpiar.write("5") == 1;
}
