#include "analisis/escritura_limites.h"

#include <QHash>

#include "analisis/especificacion.h"
#include "analisis/lector_limites.h"
#include "services/auditoria.h"
#include "services/conexion.h"
#include "services/distintos.h"
#include "services/falla.h"
#include "services/recordset.h"

namespace {

QString TextoDeCota(const std::optional<Limite>& limite, std::optional<double> Limite::*cota) {
  return limite && (*limite).*cota ? auditoria::TextoDeValor(*((*limite).*cota)) : QString();
}

// What the save does inside its transaction, the trail of who changed what
// included, so that it stands or falls with it.
void EscribirLimites(Conexion& conexion, const QString& operador, const QString& tipo,
                     const QDate& vigente, const QList<Limite>& filas) {
  const Dialecto& dialecto = conexion.dialecto();
  // What held from that date before the save, and the rows of that very date
  // the save replaces (with their keys, for a field only taken away).
  const QList<Limite> antes = LeerLimites(conexion);
  QHash<QString, qint64> reemplazadas;
  Recordset deLaFecha = conexion.Execute(QStringLiteral("SELECT ID, campo FROM ta_limites WHERE ") +
                                         CondicionDeFecha(dialecto, tipo, vigente));
  for (; !deLaFecha.Eof(); deLaFecha.MoveNext())
    reemplazadas.insert(deLaFecha.Valor(1).toString().trimmed().toUpper(),
                        deLaFecha.Valor(0).toLongLong());
  deLaFecha.Close();
  QList<Limite> anteriores;
  for (const Limite& limite : antes)
    if (limite.vigenteDesde != vigente) anteriores.append(limite);

  const QStringList sentencias = SentenciasDeLimites(dialecto, tipo, vigente, filas);
  conexion.Execute(sentencias.first());
  QHash<QString, std::pair<qint64, Limite>> escritas;
  for (qsizetype i = 0; i < filas.size(); ++i) {
    conexion.Execute(sentencias.at(i + 1));
    Recordset clave = conexion.Execute(dialecto.ClaveInsertada());
    escritas.insert(filas[i].campo.trimmed().toUpper(), {clave.Valor(0).toLongLong(), filas[i]});
  }

  QStringList campos = escritas.keys() + reemplazadas.keys();
  campos.removeDuplicates();
  campos.sort();
  const std::pair<const char*, std::optional<double> Limite::*> cotas[] = {
      {"minimo", &Limite::minimo},
      {"maximo", &Limite::maximo},
      {"aviso_minimo", &Limite::avisoMinimo},
      {"aviso_maximo", &Limite::avisoMaximo}};
  for (const QString& campo : campos) {
    const std::optional<Limite> previo = LimiteVigente(antes, tipo, campo, vigente);
    const auto escrita = escritas.constFind(campo);
    // A field whose row of that date only went: what holds now is the row
    // before it, if any.
    const std::optional<Limite> nuevo = escrita != escritas.cend()
                                            ? std::optional<Limite>(escrita->second)
                                            : LimiteVigente(anteriores, tipo, campo, vigente);
    const qint64 id = escrita != escritas.cend() ? escrita->first : reemplazadas.value(campo);
    QList<auditoria::CampoCambiado> cambios;
    for (const auto& [nombre, cota] : cotas)
      cambios.append({QStringLiteral("%1 %2 %3").arg(tipo.trimmed(), campo, QLatin1String(nombre)),
                      TextoDeCota(previo, cota), TextoDeCota(nuevo, cota)});
    auditoria::AnotarEspecificacion(conexion, operador, id, cambios);
  }
}

}  // namespace

QStringList LeerTiposRegistrados(Conexion& conexion, const QString& tabla) {
  // The lookups' shape: over the column's index each type is one seek.
  Recordset filas = conexion.Execute(SentenciaParaElMotor(
      conexion,
      QStringLiteral("SELECT tipo_harina FROM %1 WHERE tipo_harina <> '' GROUP BY tipo_harina")
          .arg(tabla)));
  QStringList tipos;
  for (; !filas.Eof(); filas.MoveNext()) tipos << filas.Valor(0).toString();
  return tipos;
}

void GuardarLimites(Conexion& conexion, const QString& operador, const QString& tipo,
                    const QDate& vigente, const QList<Limite>& filas) {
  const Dialecto& dialecto = conexion.dialecto();
  try {
    for (const QString& sentencia : dialecto.EmpezarCambioDeLimites()) conexion.Execute(sentencia);
    EscribirLimites(conexion, operador, tipo, vigente, filas);
    conexion.Execute(dialecto.Confirmar());
  } catch (const Falla& falla) {
    try {
      conexion.Execute(dialecto.Deshacer());
    } catch (const Falla&) {
      // The connection is gone, and the transaction with it.
    }
    if (falla.Avisada()) throw;
    throw Falla(falla.Codigo(),
                falla.Mensaje() + QStringLiteral("\nNo se guardó ningún límite: la tabla de "
                                                 "límites quedó como estaba."));
  }
}
