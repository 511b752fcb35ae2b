// Planilla: taking in what other stations changed in the loaded day, and
// saying who changed what.

#include <QHash>
#include <QSet>
#include <QStringList>
#include <algorithm>
#include <utility>

#include "services/auditoria.h"
#include "services/lib_datos.h"
#include "services/recordset.h"
#include "sheet/planilla.h"
#include "sheet/sentencias.h"

namespace {

QString Hora(const QList<QVariant>& valores) {
  static const int kHorario = CampoPorNombre(QStringLiteral("HORARIO"))->indice;
  return auditoria::TextoDeValor(valores.value(kHorario - 1)).left(5);
}

}  // namespace

bool Planilla::HayBorradas() const {
  return std::any_of(filas_.cbegin(), filas_.cend(), [](const Fila& f) { return f.borrada; });
}

// Values compared as a store compares them: a number the sheet stored as
// typed and the same number read back as a double are one value.
bool Planilla::MismosValores(const QList<QVariant>& a, const QList<QVariant>& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i) {
    const ColumnaAnalisis* columna = ColumnaPorIndice(static_cast<int>(i) + 1);
    if (columna && Comparable(*columna, a[i]) != Comparable(*columna, b[i])) return false;
  }
  return true;
}

Planilla::Novedades Planilla::Refrescar(bool conservar, int filaEditada, int indiceEditado) {
  Novedades novedades;
  // Waiting entries are checked against what the screen showed before them:
  // the day is read again once they are stored.
  if (!cargada_ || !pendientes_.isEmpty()) return novedades;
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& d = conexion.dialecto();
  Recordset filas = conexion.Execute(sentencias::ConsultaDia(d, tabla_, fecha_, tecleada_, true));
  const int columnas = static_cast<int>(ColumnasAnalisis().size());
  QList<qint64> orden;
  QHash<qint64, QList<QVariant>> leidas;
  while (!filas.Eof()) {
    const qint64 id = filas.Valor(0).toLongLong();
    QList<QVariant> valores;
    valores.reserve(columnas);
    for (int c = 1; c <= columnas; ++c) valores.append(filas.Valor(c));
    orden.append(id);
    leidas.insert(id, std::move(valores));
    filas.MoveNext();
  }
  filas.Close();

  QList<qint64> tocadas;
  QHash<qint64, QString> horas;
  QList<Fila> quedan;
  QSet<qint64> presentes;
  for (qsizetype n = 0; n < filas_.size(); ++n) {
    Fila& fila = filas_[n];
    presentes.insert(fila.id);
    auto leida = leidas.find(fila.id);
    // The cell under an open entry keeps what the screen showed when the
    // entry began: its store then finds another station's value there and
    // asks the operator, instead of writing over it unseen.
    // The status bar still says that the cell was changed elsewhere.
    bool editadaCambiada = false;
    if (leida != leidas.end() && n == filaEditada && indiceEditado >= 1 &&
        indiceEditado <= leida->size()) {
      const ColumnaAnalisis* columna = ColumnaPorIndice(indiceEditado);
      const QVariant mostrado = fila.valores.value(indiceEditado - 1);
      editadaCambiada = columna && Comparable(*columna, (*leida)[indiceEditado - 1]) !=
                                       Comparable(*columna, mostrado);
      (*leida)[indiceEditado - 1] = mostrado;
    }
    if (leida == leidas.end()) {
      horas.insert(fila.id, Hora(fila.valores));
      if (fila.id == 0) {
        quedan.append(std::move(fila));
        continue;
      }
      if (conservar) {
        if (!fila.borrada) {
          fila.borrada = true;
          ++novedades.borradas;
          tocadas.append(fila.id);
        }
        quedan.append(std::move(fila));
      } else {
        if (!fila.borrada) tocadas.append(fila.id);
        ++novedades.borradas;
      }
      continue;
    }
    if (editadaCambiada && MismosValores(fila.valores, *leida)) {
      ++novedades.cambiadas;
      tocadas.append(fila.id);
    } else if (!MismosValores(fila.valores, *leida)) {
      fila.valores = *leida;
      // A marker stays only while the flour type is still empty.
      fila.marcada =
          fila.marcada && fila.valores.value(IndiceTipoHarina() - 1).toString().isEmpty();
      ++novedades.cambiadas;
      tocadas.append(fila.id);
    }
    horas.insert(fila.id, Hora(fila.valores));
    quedan.append(std::move(fila));
  }
  for (const qint64 id : std::as_const(orden)) {
    if (presentes.contains(id)) continue;
    Fila nueva;
    nueva.id = id;
    nueva.valores = leidas.value(id);
    horas.insert(id, Hora(nueva.valores));
    quedan.append(std::move(nueva));
    ++novedades.agregadas;
    tocadas.append(id);
  }
  filas_ = std::move(quedan);
  if (novedades.Vacias() || tocadas.isEmpty()) return novedades;

  // Who did it: the trail's latest row about those analyses.
  QStringList claves;
  for (const qint64 id : std::as_const(tocadas)) claves << QString::number(id);
  Recordset autor = conexion.Execute(
      QStringLiteral("SELECT operador, estacion, accion, campo, id_fila FROM ta_auditoria WHERE "
                     "tabla = %1 AND id_fila IN (%2) ORDER BY ID DESC")
          .arg(Dialecto::Texto(tabla_), claves.join(QLatin1Char(','))));
  if (!autor.Bof()) {
    const QString quien =
        QStringLiteral("%1 (%2)").arg(autor.Valor(0).toString(), autor.Valor(1).toString());
    const QString accion = autor.Valor(2).toString();
    const QString hora = horas.value(autor.Valor(4).toLongLong());
    const QString deLas = hora.isEmpty() ? QStringLiteral("de un análisis sin hora")
                                         : QStringLiteral("de las ") + hora;
    if (accion == auditoria::kAlta)
      novedades.linea = quien + QStringLiteral(" agregó un análisis");
    else if (accion == auditoria::kBaja)
      novedades.linea = quien + QStringLiteral(" borró el análisis ") + deLas;
    else if (accion == auditoria::kRestauracion)
      novedades.linea = quien + QStringLiteral(" restauró un análisis");
    else
      novedades.linea =
          QStringLiteral("%1 cambió %2 %3").arg(quien, autor.Valor(3).toString(), deLas);
  }
  autor.Close();
  return novedades;
}
