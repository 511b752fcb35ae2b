#include "analisis/escritura_limites.h"

#include "analisis/especificacion.h"
#include "services/conexion.h"
#include "services/falla.h"

namespace {

// What the save does inside its transaction; whatever else a save must write
// (a trail of who changed what) goes here too, so it stands or falls with it.
void EscribirLimites(Conexion& conexion, const QString& tipo, const QDate& vigente,
                     const QList<Limite>& filas) {
  for (const QString& sentencia : SentenciasDeLimites(conexion.dialecto(), tipo, vigente, filas))
    conexion.Execute(sentencia);
}

}  // namespace

QStringList LeerTiposRegistrados(Conexion& conexion, const QString& tabla) {
  Recordset filas = conexion.Execute(
      QStringLiteral("SELECT tipo_harina FROM %1 WHERE tipo_harina <> '' GROUP BY tipo_harina")
          .arg(tabla));
  QStringList tipos;
  for (; !filas.Eof(); filas.MoveNext()) tipos << filas.Valor(0).toString();
  return tipos;
}

void GuardarLimites(Conexion& conexion, const QString& tipo, const QDate& vigente,
                    const QList<Limite>& filas) {
  const Dialecto& dialecto = conexion.dialecto();
  try {
    for (const QString& sentencia : dialecto.EmpezarCambioDeLimites()) conexion.Execute(sentencia);
    EscribirLimites(conexion, tipo, vigente, filas);
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
