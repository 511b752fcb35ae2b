// Planilla: what a store does when another station changed the cell after the
// operator's screen showed it. Nothing is written over it unseen: the
// operator sees both values, who changed it and when, and decides.

#include "services/conexion.h"
#include "services/dialecto.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "services/recordset.h"
#include "sheet/planilla.h"

namespace {

QString Mostrable(const QString& valor) {
  return valor.isEmpty() ? QStringLiteral("(vacío)") : valor;
}

}  // namespace

QString Planilla::Comparable(const ColumnaAnalisis& columna, const QVariant& valor) {
  // The sheet keeps a number it stored as the statement's text, and an engine
  // may return a numeric as text: both are compared by their value.
  if (columna.tipo == TipoCampo::Numero && valor.isValid() && !valor.isNull())
    return auditoria::TextoDeValor(QVariant(valor.toDouble()));
  return auditoria::TextoDeValor(valor);
}

bool Planilla::MantenerPropio(int fila, const ColumnaAnalisis& columna, const QString& nuevo,
                              const QString& otro) const {
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const qint64 id = filas_.at(fila).id;
  // Who stored the value that is there now: the trail's latest row for the
  // cell. A change made outside the program has none.
  QString quien = QStringLiteral("otra estación (sin registro)");
  Recordset ultimo = conexion.Execute(
      QStringLiteral("SELECT operador, estacion, momento FROM ta_auditoria WHERE tabla = %1 AND "
                     "id_fila = %2 AND campo = %3 ORDER BY ID DESC")
          .arg(Dialecto::Texto(tabla_), QString::number(id), Dialecto::Texto(columna.campo)));
  if (!ultimo.Bof())
    quien = QStringLiteral("%1 (%2), el %3")
                .arg(ultimo.Valor(0).toString(), ultimo.Valor(1).toString(),
                     auditoria::TextoDeValor(ultimo.Valor(2)));
  ultimo.Close();
  const QString texto = QStringLiteral(
                            "Otra estación cambió %1 de la fila %2 mientras usted la editaba.\n\n"
                            "Su valor: %3\nEl valor guardado por %4: %5\n\n"
                            "Enter guarda el suyo sobre el otro; Escape toma el otro y descarta el "
                            "suyo.")
                            .arg(NombreColumna(columna), QString::number(fila + 1),
                                 Mostrable(nuevo), quien, Mostrable(otro));
  return ElOperador().ResolverConflicto(QStringLiteral("Cambio de otra estación"), texto) ==
         Operador::Resolucion::Mantener;
}

QString Planilla::CambioDeOtra(int fila, const Recordset& filas) const {
  if (filas.Bof() || filas.Eof()) return {};
  const QList<ColumnaAnalisis>& campos = CamposAnalisis();
  QStringList cambios;
  for (int indice = 1; indice <= static_cast<int>(ColumnasAnalisis().size()); ++indice) {
    const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
    if (!columna) continue;
    for (int c = 0; c < static_cast<int>(campos.size()); ++c) {
      if (campos[c].campo != columna->campo) continue;
      const QString mostrado = Comparable(*columna, filas_.at(fila).valores.value(indice - 1));
      const QString ahora = Comparable(*columna, filas.Valor(c));
      if (mostrado != ahora)
        cambios << QStringLiteral("%1 %2 → %3")
                       .arg(NombreColumna(*columna), Mostrable(mostrado), Mostrable(ahora));
    }
  }
  if (cambios.isEmpty()) return {};
  return QStringLiteral("Fila %1: %2")
      .arg(QString::number(fila + 1), cambios.join(QStringLiteral(", ")));
}

bool Planilla::BorrarIgual(const QStringList& cambiadas) {
  const QString texto =
      QStringLiteral(
          "Otra estación cambió análisis que usted va a borrar después de que se "
          "mostraran:\n\n%1\n\nEnter los borra igual; Escape no borra nada y muestra "
          "los valores nuevos.")
          .arg(cambiadas.join(QLatin1Char('\n')));
  return ElOperador().ResolverConflicto(QStringLiteral("Cambio de otra estación"), texto) ==
         Operador::Resolucion::Mantener;
}
