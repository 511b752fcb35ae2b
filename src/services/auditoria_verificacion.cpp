// auditoria: walking the trail's chain.

#include <QHash>

#include "services/auditoria.h"
#include "services/conexion.h"
#include "services/recordset.h"

namespace auditoria {

namespace {

Fila LeerFila(const Recordset& filas) {
  Fila f;
  f.id = filas.Valor(0).toLongLong();
  f.momento = filas.Valor(1).toString();
  f.estacion = filas.Valor(2).toString();
  f.operador = filas.Valor(3).toString();
  f.asiento = {filas.Valor(4).toString(), filas.Valor(5).toString(), filas.Valor(6).toLongLong(),
               filas.Valor(7).toString(), filas.Valor(8).toString(), filas.Valor(9).toString()};
  f.huella = filas.Valor(10).toString();
  return f;
}

const QString kLectura = QStringLiteral(
    "SELECT ID, momento, estacion, operador, accion, tabla, id_fila, campo, valor_anterior, "
    "valor_nuevo, huella FROM ta_auditoria ORDER BY ID");

// Why the row at posicion does not follow the one before: its huella may
// follow another row of the trail (rows moved), or none (its content or its
// huella was changed, or the row before it was taken out with its huella).
Verificacion Explicar(Conexion& conexion, const Fila& mala, qint64 posicion) {
  QHash<QString, qint64> huellas;  // huella -> key
  Recordset filas =
      conexion.Execute(QStringLiteral("SELECT ID, huella FROM ta_auditoria ORDER BY ID"));
  for (; !filas.Eof(); filas.MoveNext())
    huellas.insert(filas.Valor(1).toString(), filas.Valor(0).toLongLong());
  filas.Close();
  Verificacion v;
  v.intacto = false;
  v.filas = posicion;
  v.idFalla = mala.id;
  for (auto it = huellas.cbegin(); it != huellas.cend(); ++it) {
    if (Huella(it.key(), mala) != mala.huella) continue;
    v.texto = QStringLiteral(
                  "La fila %1 del registro está fuera de su orden: se escribió "
                  "después de la fila %2.")
                  .arg(mala.id)
                  .arg(it.value());
    return v;
  }
  v.texto = QStringLiteral(
                "La fila %1 del registro fue alterada, o se quitó la fila que la "
                "precedía: su contenido no concuerda con su huella.")
                .arg(mala.id);
  return v;
}

}  // namespace

Verificacion Verificar(Conexion& conexion) {
  Recordset filas = conexion.Execute(kLectura);
  QString previa;
  qint64 posicion = 0;
  for (; !filas.Eof(); ++posicion, filas.MoveNext()) {
    const Fila fila = LeerFila(filas);
    if (Huella(previa, fila) != fila.huella) {
      filas.Close();
      return Explicar(conexion, fila, posicion);
    }
    previa = fila.huella;
  }
  Verificacion v;
  v.filas = posicion;
  v.texto = QStringLiteral(
                "El registro está íntegro: %1 filas verificadas, ninguna alterada, "
                "quitada ni movida.")
                .arg(posicion);
  return v;
}

}  // namespace auditoria
