// Planilla: the writes that carry their audit rows, and the restoration of a
// deleted analysis from its record.

#include <QDateTime>
#include <QStringList>

#include "services/accion_operador.h"
#include "services/falla.h"
#include "services/fechas.h"
#include "services/lib_datos.h"
#include "services/recordset.h"
#include "session/estado_sesion.h"
#include "sheet/planilla.h"
#include "sheet/sentencias.h"

void Planilla::EnTransaccion(const std::function<void()>& cuerpo) {
  // One busy cursor for the whole transaction, not one per statement.
  accion_operador::Espera espera;
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& d = conexion.dialecto();
  // Every stored cell opens and ends a transaction: where the engine allows
  // it, those statements are parsed once.
  const auto correr = [&](const QString& sentencia) {
    if (d.TransaccionPreparable())
      conexion.Execute(sentencia, QVariantList());
    else
      conexion.Execute(sentencia);
  };
  for (const QString& sentencia : d.ComenzarEscritura()) {
    try {
      correr(sentencia);
    } catch (const Falla&) {
      // The lock was not granted: the transaction holds nothing yet.
      try {
        conexion.Execute(d.Deshacer());
      } catch (const Falla&) {
      }
      throw;
    }
  }
  try {
    cuerpo();
    correr(d.Confirmar());
  } catch (const Falla&) {
    try {
      conexion.Execute(d.Deshacer());
    } catch (const Falla&) {
      // The connection is gone, and the transaction with it.
    }
    throw;
  }
}

QList<auditoria::Asiento> Planilla::Bajas(Recordset& filas, const QString& tabla,
                                          QList<qint64>& ids) {
  QList<auditoria::Asiento> bajas;
  const QList<ColumnaAnalisis>& campos = CamposAnalisis();
  while (!filas.Eof()) {
    const qint64 id = filas.Valor(0).toLongLong();
    ids.append(id);
    for (int c = 1; c < campos.size(); ++c) {
      const QString valor = auditoria::TextoDeValor(filas.Valor(c));
      if (!valor.isEmpty()) bajas.append({auditoria::kBaja, tabla, id, campos[c].campo, valor, {}});
    }
    filas.MoveNext();
  }
  filas.Close();
  return bajas;
}

Planilla::Escritura Planilla::Escribir(qint64 id, const ColumnaAnalisis& columna,
                                       const QVariant& valor, const QString& nuevo,
                                       const QString& mostrado, QVariant& otro) {
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& d = conexion.dialecto();
  bool existe = false;
  bool conflicto = false;
  EnTransaccion([&] {
    // The value before is the database's, not the sheet's: another station
    // may have stored this cell since the day was loaded.
    // The trail's moment and last huella come with it, under the lock taken
    // at the transaction's start.
    const SentenciasDeCelda& sentencias = SentenciasDe(columna, d);
    const QVariantList actual = conexion.Execute(sentencias.leer, {QVariant::fromValue(id)});
    if (actual.isEmpty()) return;
    const QVariant antesLeido = actual.at(0);
    const QString antes = auditoria::TextoDeValor(antesLeido);
    const QVariant momento = actual.at(1);
    const QVariant ultima = actual.at(2);
    existe = true;
    // Another station stored this very value: nothing changes.
    if (antes == nuevo) return;
    // Another station changed what the screen showed: the operator decides,
    // after this transaction has let go of its lock.
    if (Comparable(columna, antesLeido) != mostrado) {
      conflicto = true;
      otro = antesLeido;
      return;
    }
    int cambiadas = -1;
    conexion.Execute(sentencias.actualizar,
                     {valor, d.TextoMomento(fechas::Ahora()), QVariant::fromValue(id)}, &cambiadas);
    if (cambiadas == 0) {
      existe = false;
      return;
    }
    auditoria::Anotar(conexion, gUsuarioLogeado,
                      {{auditoria::kModificacion, tabla_, id, columna.campo, antes, nuevo}},
                      momento, ultima);
  });
  if (conflicto) return Escritura::Conflicto;
  return existe ? Escritura::Hecha : Escritura::Borrada;
}

const Planilla::SentenciasDeCelda& Planilla::SentenciasDe(const ColumnaAnalisis& columna,
                                                          const Dialecto& d) {
  if (tablaSentencias_ != tabla_ || motorSentencias_ != d.motor()) {
    sentenciasCelda_.clear();
    tablaSentencias_ = tabla_;
    motorSentencias_ = d.motor();
  }
  auto hechas = sentenciasCelda_.find(&columna);
  if (hechas == sentenciasCelda_.end())
    hechas = sentenciasCelda_.insert(
        &columna, {sentencias::LeerCeldaConCabeza(d, tabla_, columna.dataField),
                   sentencias::ActualizarCeldaAtada(d, tabla_, columna.dataField)});
  return *hechas;
}

Planilla::Restaurado Planilla::Restaurar(const QString& tabla, qint64 idBorrado) {
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& d = conexion.dialecto();
  const QString clave = QString::number(idBorrado);
  Restaurado restaurado;
  EnTransaccion([&] {
    Recordset hecho = conexion.Execute(
        QStringLiteral("SELECT valor_nuevo FROM ta_auditoria WHERE tabla = %1 AND accion = %2 "
                       "AND campo = 'ID' AND valor_anterior = %3")
            .arg(Dialecto::Texto(tabla), Dialecto::Texto(auditoria::kRestauracion),
                 Dialecto::Texto(clave)));
    if (!hecho.Bof())
      throw Falla(Falla::kArgumentoInvalido,
                  QStringLiteral("El análisis %1 ya fue restaurado: es el análisis %2.")
                      .arg(clave, hecho.Valor(0).toString()));
    hecho.Close();
    Recordset bajas = conexion.Execute(
        QStringLiteral("SELECT campo, valor_anterior FROM ta_auditoria WHERE tabla = %1 AND "
                       "accion = %2 AND id_fila = %3 ORDER BY ID")
            .arg(Dialecto::Texto(tabla), Dialecto::Texto(auditoria::kBaja), clave));
    QStringList campos;
    QStringList valores;
    QList<auditoria::Asiento> asientos;
    for (; !bajas.Eof(); bajas.MoveNext()) {
      // Only the record's own fields: a column name is never taken from the
      // trail's text into a statement.
      const ColumnaAnalisis* campo = CampoPorNombre(bajas.Valor(0).toString());
      if (!campo || campo->tipo == TipoCampo::Clave || campos.contains(campo->campo)) continue;
      const QString valor = bajas.Valor(1).toString();
      campos << campo->campo;
      valores << Dialecto::Texto(valor);
      asientos.append({auditoria::kRestauracion, tabla, 0, campo->campo, {}, valor});
      if (campo->campo == QLatin1String("Fecha"))
        restaurado.dia =
            QDateTime::fromString(valor.left(10) + QStringLiteral("T00:00:00"), Qt::ISODate).date();
    }
    bajas.Close();
    if (campos.isEmpty())
      throw Falla(Falla::kArgumentoInvalido,
                  QStringLiteral("El registro no guarda el borrado del análisis %1: no hay nada "
                                 "que restaurar.")
                      .arg(clave));
    conexion.Execute(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(tabla, campos.join(QStringLiteral(", ")), valores.join(QStringLiteral(", "))));
    Recordset nueva = conexion.Execute(d.ClaveInsertada());
    restaurado.id = nueva.Valor(0).toLongLong();
    nueva.Close();
    for (auditoria::Asiento& asiento : asientos) asiento.idFila = restaurado.id;
    asientos.prepend({auditoria::kRestauracion, tabla, restaurado.id, QStringLiteral("ID"), clave,
                      QString::number(restaurado.id)});
    auditoria::Anotar(conexion, gUsuarioLogeado, asientos);
  });
  return restaurado;
}
