// Planilla: the entries confirmed while the database was out of reach, kept
// in order and stored when it is back.

#include "analisis/entrada.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "sheet/planilla.h"

namespace {

// A failure after which the entry may still be stored later, as it is.
bool EsperaOtroIntento(const Falla& falla) {
  return LibDatos::Instancia().Conexion().Pasajera(falla) || falla.Codigo() == Falla::kOcupada;
}

}  // namespace

QString Planilla::Entradas(qsizetype n) {
  return n == 1 ? QStringLiteral("1 entrada") : QStringLiteral("%1 entradas").arg(n);
}

QVariant Planilla::ValorDeEntrada(const ColumnaAnalisis& columna, const EntradaLeida& leida) {
  // The entry's own text for a text, the number as written to the statement.
  if (leida.sql == QLatin1String("NULL")) return {};
  return columna.tipo == TipoCampo::Numero ? QVariant(leida.sql) : QVariant(leida.celda);
}

int Planilla::FilaDe(qint64 id) const {
  for (int fila = 0; fila < Filas(); ++fila)
    if (filas_.at(fila).id == id) return fila;
  return -1;
}

Planilla::Resultado Planilla::Retener(int fila, int indice, const QString& entrada,
                                      const QString& separador, const QString& motivo) {
  const ColumnaAnalisis& columna = *ColumnaPorIndice(indice);
  Fila& f = filas_[fila];
  pendientes_.append({f.id, indice, entrada, separador, f.valores.value(indice - 1)});
  const EntradaLeida leida = LeerEntrada(columna, entrada, separador);
  f.valores[indice - 1] = ValorDeEntrada(columna, leida);
  if (indice == 1 && !leida.celda.isEmpty()) f.marcada = false;
  return {Estado::Retenido, motivo, Texto(fila, indice, separador)};
}

Planilla::Reenvio Planilla::Reenviar() {
  Reenvio reenvio;
  // What could not be stored is told before anything else happens, whether
  // or not the rest waits on.
  const auto avisar = [&reenvio] {
    if (!reenvio.perdidas.isEmpty())
      ElOperador().Avisar(Operador::Estilo::Exclamacion, QStringLiteral("Entradas sin guardar"),
                          QStringLiteral("Estas entradas no se guardaron:\n") +
                              reenvio.perdidas.join(QLatin1Char('\n')));
  };
  while (!pendientes_.isEmpty()) {
    const Pendiente pendiente = pendientes_.constFirst();
    const ColumnaAnalisis& columna = *ColumnaPorIndice(pendiente.indice);
    const int fila = FilaDe(pendiente.id);
    Resultado resultado{
        Estado::FilaBorrada, QStringLiteral("El análisis ya no está en la planilla."), {}};
    if (fila >= 0) {
      const EntradaLeida leida = LeerEntrada(columna, pendiente.entrada, pendiente.separador);
      try {
        // Checked against what the screen showed before this entry: a
        // station that changed the cell meanwhile is never written over
        // unseen.
        resultado = Almacenar(fila, columna, leida, pendiente.separador,
                              Comparable(columna, pendiente.antes));
      } catch (const Falla& falla) {
        if (EsperaOtroIntento(falla)) {
          avisar();
          return reenvio;
        }
        resultado = {Estado::Rechazado, falla.Mensaje(), {}};
      }
    }
    pendientes_.removeFirst();
    if (resultado.estado == Estado::Guardado) {
      ++reenvio.guardadas;
    } else if (resultado.estado != Estado::SinCambios) {
      // The cell shows again what it held before the entry.
      if (fila >= 0) filas_[fila].valores[pendiente.indice - 1] = pendiente.antes;
      reenvio.perdidas << QStringLiteral("Fila %1, %2: %3 (%4)")
                              .arg(QString::number(fila + 1), NombreColumna(columna),
                                   pendiente.entrada,
                                   resultado.mensaje.section(QLatin1Char('\n'), 0, 0));
    }
  }
  reenvio.completo = true;
  avisar();
  return reenvio;
}

void Planilla::OlvidarPendientes() {
  // Newest first: a cell with several waiting entries ends with the value
  // it showed before the first of them.
  for (qsizetype i = pendientes_.size() - 1; i >= 0; --i) {
    const Pendiente& pendiente = pendientes_.at(i);
    const int fila = FilaDe(pendiente.id);
    if (fila >= 0) filas_[fila].valores[pendiente.indice - 1] = pendiente.antes;
  }
  pendientes_.clear();
}

QStringList Planilla::DescribirPendientes() const {
  QStringList lineas;
  for (const Pendiente& pendiente : pendientes_)
    lineas << QStringLiteral("Fila %1, %2: %3")
                  .arg(QString::number(FilaDe(pendiente.id) + 1),
                       NombreColumna(*ColumnaPorIndice(pendiente.indice)), pendiente.entrada);
  return lineas;
}

void Planilla::AlDia() {
  if (pendientes_.isEmpty()) return;
  if (Reenviar().completo) return;
  throw Falla(Falla::kConexion,
              QStringLiteral("No hay conexión con la base de datos: %1 sin guardar, a la espera "
                             "(se guardan solas cuando vuelva la conexión).\nHasta entonces no se "
                             "puede cargar otra fecha, agregar ni borrar análisis.")
                  .arg(Entradas(pendientes_.size())));
}
