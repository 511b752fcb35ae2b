// A station of the load test: its session, the day's sheet, its stores
// through Planilla, as an operator's would be.

#include "carga_estacion.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <QTime>
#include <algorithm>

#include "services/falla.h"
#include "session/iniciar_sesion.h"
#include "session/linea_de_comandos.h"
#include "sheet/planilla.h"
#include "soporte/planilla_prueba.h"

namespace carga {

namespace {

// The number columns of the analysis (grid columns).
constexpr int kNumeros[] = {3, 4, 6, 7, 8, 10};

// The meeting point of the stations: this one is there, and it waits until
// every station is; false when one never comes.
bool Reunirse(const QString& carpeta, const QString& que, int estacion) {
  QFile(Marca(carpeta, que, estacion)).open(QIODevice::WriteOnly);
  QElapsedTimer reloj;
  reloj.start();
  for (;;) {
    int llegadas = 0;
    for (int s = 0; s < kEstaciones; ++s) llegadas += QFile::exists(Marca(carpeta, que, s));
    if (llegadas == kEstaciones) return true;
    if (reloj.elapsed() > kEsperaMaxima) return false;
    QThread::msleep(5);
  }
}

}  // namespace

QString Firma(int estacion) { return QStringLiteral("est%1").arg(estacion); }

QString EntradaCompartida(int estacion, int r) {
  return QStringLiteral("%1,5").arg(estacion * 1000 + r);
}
QList<std::pair<int, QString>> EntradasPropias(int estacion, int j) {
  QList<std::pair<int, QString>> entradas;
  entradas.append({kHorario, QTime(0, 0).addSecs((estacion * 60 + j) * 60).toString("HH:mm")});
  for (int k = 0; k < 6; ++k)
    entradas.append({kNumeros[k], QStringLiteral("%1,%2").arg(estacion * 100 + j).arg(k + 1)});
  entradas.append({kObservaciones, QStringLiteral("%1, análisis %2").arg(Firma(estacion)).arg(j)});
  return entradas;
}

QString Marca(const QString& carpeta, const QString& que, int estacion) {
  return QStringLiteral("%1/%2_%3").arg(carpeta, que).arg(estacion);
}

QString Linea(qint64 id, const QList<QVariant>& valores) {
  QStringList campos{QString::number(id)};
  for (const QVariant& valor : valores) campos << Normalizado(valor);
  return campos.join(QLatin1Char('|'));
}

int Estacion() {
  const int estacion = qEnvironmentVariableIntValue("PRUEBA_ESTACION");
  const QString carpeta = qEnvironmentVariable("PRUEBA_CARPETA");
  auto propio = std::make_unique<OperadorGuionado>();
  OperadorGuionado& operador = *propio;
  InstalarOperador(std::move(propio));
  FijarParametros(qEnvironmentVariable("PRUEBA_PARAMETROS"));
  QStringList salida;
  Planilla planilla;
  bool bien = IniciarSesion();
  if (!bien) salida << QStringLiteral("falla no se pudo iniciar la sesión");
  const QString separador = QStringLiteral(",");
  const auto guardar = [&](int fila, int indice, const QString& entrada) {
    const Planilla::Resultado r = planilla.Guardar(fila, indice, entrada, separador);
    if (r.estado == Planilla::Estado::Guardado) return;
    salida << QStringLiteral("falla %1 en la fila %2, columna %3: estado %4, %5")
                  .arg(entrada)
                  .arg(fila)
                  .arg(indice)
                  .arg(static_cast<int>(r.estado))
                  .arg(r.mensaje);
    bien = false;
  };
  // A station that could not start still comes, so that the others do not
  // wait for it in vain.
  if (!Reunirse(carpeta, QStringLiteral("lista"), estacion)) {
    salida << QStringLiteral("falla otra estación no llegó al comienzo");
    bien = false;
  }
  try {
    if (bien) {
      planilla.Cargar(kTabla, kNuevo, QStringLiteral("16/03/2004"), QStringLiteral("b"));
      planilla.Cargar(kTabla, kFecha, kDia, QStringLiteral("b"));
      // The shared analyses, by key: every station numbers them alike.
      QList<std::pair<qint64, int>> porClave;
      for (int f = 0; f < planilla.Filas(); ++f) porClave.append({planilla.FilaEn(f).id, f});
      std::sort(porClave.begin(), porClave.end());
      for (int j = 0; j < kPropios && bien; ++j) {
        const int fila = planilla.Agregar();
        salida << QStringLiteral("clave %1").arg(planilla.FilaEn(fila).id);
        for (const auto& [indice, entrada] : EntradasPropias(estacion, j))
          guardar(fila, indice, entrada);
        for (int r = 2 * j; r < 2 * j + 2 && r < porClave.size(); ++r)
          guardar(porClave[r].second, kColumnaDe[estacion], EntradaCompartida(estacion, r));
      }
    }
  } catch (const Falla& falla) {
    salida << QStringLiteral("falla %1").arg(falla.Mensaje().simplified());
    bien = false;
  }
  // Every station has ended its stores before any takes in the others'.
  if (!Reunirse(carpeta, QStringLiteral("fin"), estacion)) {
    salida << QStringLiteral("falla otra estación no terminó");
    bien = false;
  }
  if (bien) {
    try {
      planilla.Refrescar(false);
      for (int f = 0; f < planilla.Filas(); ++f)
        salida << QStringLiteral("fila ") +
                      Linea(planilla.FilaEn(f).id, planilla.FilaEn(f).valores);
    } catch (const Falla& falla) {
      salida << QStringLiteral("falla al refrescar: %1").arg(falla.Mensaje().simplified());
      bien = false;
    }
  }
  for (const Pregunta& p : operador.preguntas)
    salida << QStringLiteral("pregunta %1: %2").arg(p.titulo, p.texto.simplified());
  QFile archivo(Marca(carpeta, QStringLiteral("resultado"), estacion));
  if (!archivo.open(QIODevice::WriteOnly)) return 5;
  archivo.write(salida.join(QLatin1Char('\n')).toUtf8());
  return bien ? 0 : 3;
}

}  // namespace carga
