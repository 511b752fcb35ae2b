#include "medicion.h"

#include <QDate>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "services/carpetas.h"

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

QString PrepararMedicion(const char* programa, QTemporaryDir& carpeta) {
  gPrograma = programa;
  gCarpeta = &carpeta;
  if (!carpeta.isValid()) Abortar(QStringLiteral("no hay carpeta temporal"));
  qputenv("XDG_DATA_HOME", carpeta.filePath(QStringLiteral("datos")).toLocal8Bit());
  qputenv("XDG_CONFIG_HOME", carpeta.filePath(QStringLiteral("config")).toLocal8Bit());
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  const QString carpetaPrograma = carpeta.filePath(QStringLiteral("programa"));
  QDir().mkpath(carpetaPrograma);
  carpetas::FijarCarpetaDelPrograma(carpetaPrograma);
  InstalarOperador(std::make_unique<OperadorQueAborta>());
  return carpetaPrograma;
}

void LlenarTresAnios(QSqlDatabase base, const QString& observacion) {
  QSqlQuery insertar(base);
  if (!insertar.prepare(QStringLiteral(
          "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 19) "
          "INSERT INTO v_mv_zentalia (Fecha, responsable, fecha_alta, tipo_harina, HORARIO, "
          "HUMEDO, SECO, CARACT, FALLINGNUMBER, HUMEDAD, CENIZAS, COLOR, CONTROLPESAJE, "
          "OBSERVACIONES) "
          "SELECT dia || ' 00:00:00', 'bench', dia || ' 08:00:00', "
          "CASE i % 3 WHEN 0 THEN '000' WHEN 1 THEN '0000' ELSE 'Integral' END, "
          "printf('%02d:%02d:00', 6 + i * 37 / 60, i * 37 % 60), "
          "28.0 + (i % 10) * 0.1, 9.5 + (i % 7) * 0.1, 'Normal', 300 + i, 14.0 + (i % 5) * 0.1, "
          "0.55 + (i % 4) * 0.01, 'Blanco', 25.0 + (i % 3) * 0.05, "
          "CASE WHEN i % 5 = 0 THEN ? END "
          "FROM n, (SELECT ? AS dia)")))
    Abortar(insertar.lastError().text());
  for (QDate dia(2002, 1, 1); dia <= QDate(2004, 12, 31); dia = dia.addDays(1)) {
    if (dia.month() == 2 && dia.day() == 29) continue;  // 365 days a year
    insertar.bindValue(0, observacion);
    insertar.bindValue(1, dia.toString(QStringLiteral("yyyy-MM-dd")));
    if (!insertar.exec()) Abortar(insertar.lastError().text());
  }
  insertar.finish();
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
Operador::Resolucion OperadorQueAborta::ResolverConflicto(const QString& titulo,
                                                          const QString& texto) {
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
                                    const std::function<void(QPagedPaintDevice&)>&,
                                    const GuardarVista&) {
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
