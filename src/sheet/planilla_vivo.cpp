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

// Values compared as the trail writes them: a number the sheet stored as
// typed and the same number read back as a double are one value.
bool MismosValores(const QList<QVariant>& a, const QList<QVariant>& b) {
  if (a.size() != b.size()) return false;
  for (qsizetype i = 0; i < a.size(); ++i)
    if (auditoria::TextoDeValor(a[i]) != auditoria::TextoDeValor(b[i])) return false;
  return true;
}

QString Hora(const QList<QVariant>& valores) {
  static const int kHorario = CampoPorNombre(QStringLiteral("HORARIO"))->indice;
  return auditoria::TextoDeValor(valores.value(kHorario - 1)).left(5);
}

}  // namespace

bool Planilla::HayBorradas() const {
  return std::any_of(filas_.cbegin(), filas_.cend(), [](const Fila& f) { return f.borrada; });
}

Planilla::Novedades Planilla::Refrescar(bool conservar) {
  Novedades novedades;
  if (!cargada_) return novedades;
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
  for (Fila& fila : filas_) {
    presentes.insert(fila.id);
    const auto leida = leidas.constFind(fila.id);
    if (leida == leidas.cend()) {
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
    if (!MismosValores(fila.valores, *leida)) {
      fila.valores = *leida;
      // A marker stays only while the flour type is still empty.
      static const int kTipo = CampoPorNombre(QStringLiteral("tipo_harina"))->indice;
      fila.marcada = fila.marcada && fila.valores.value(kTipo - 1).toString().isEmpty();
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
