#include "analisis/especificacion.h"

#include <algorithm>

#include "analisis/entrada.h"
#include "services/fechas.h"

namespace {

QString Mismo(const QString& texto) { return texto.trimmed().toUpper(); }

bool TieneCotas(const Limite& limite) {
  return limite.minimo || limite.maximo || limite.avisoMinimo || limite.avisoMaximo;
}

// A bound as a statement writes it: fifteen significant digits give back
// every number the editor reads.
QString Numero(const std::optional<double>& cota) {
  return cota ? QString::number(*cota, 'g', 15) : QStringLiteral("NULL");
}

struct CotaLeida {
  std::optional<double> valor;
  QString celda;  // as the operator reads it, for a message
};

}  // namespace

QList<const ColumnaAnalisis*> ColumnasConLimites() {
  QList<const ColumnaAnalisis*> columnas;
  for (const ColumnaAnalisis& columna : ColumnasAnalisis())
    if (columna.tipo == TipoCampo::Numero) columnas.append(&columna);
  return columnas;
}

FilaLeida LeerFilaDeLimites(const ColumnaAnalisis& columna, const CotasTecleadas& textos,
                            const QString& separador) {
  const QString nombre = NombreColumna(columna);
  FilaLeida fila;
  fila.limite.campo = columna.campo;
  const auto rechazo = [&](const QString& motivo) {
    fila.motivo = motivo + QStringLiteral("\nNo se guardó nada.");
    return fila;
  };
  // The same reading as a cell of the column: what the sheet would store,
  // the editor takes as a bound.
  const auto leer = [&](const QString& texto, const QString& cual,
                        CotaLeida& cota) -> std::optional<QString> {
    const EntradaLeida leida = LeerEntrada(columna, texto, separador);
    if (!leida.valida)
      return QStringLiteral("%1 de %2: %3").arg(cual, nombre, leida.motivo.section('\n', 0, 0));
    if (leida.sql != QLatin1String("NULL")) {
      cota.valor = leida.sql.toDouble();
      cota.celda = leida.celda;
    }
    return std::nullopt;
  };
  CotaLeida minimo, maximo, avisoMinimo, avisoMaximo;
  if (auto motivo = leer(textos.minimo, QStringLiteral("Mínimo"), minimo)) return rechazo(*motivo);
  if (auto motivo = leer(textos.maximo, QStringLiteral("Máximo"), maximo)) return rechazo(*motivo);
  if (auto motivo = leer(textos.avisoMinimo, QStringLiteral("Aviso mínimo"), avisoMinimo))
    return rechazo(*motivo);
  if (auto motivo = leer(textos.avisoMaximo, QStringLiteral("Aviso máximo"), avisoMaximo))
    return rechazo(*motivo);

  // "GLUTEN SECO: el aviso mínimo (7) está por debajo del mínimo (8)"
  const auto cruce = [&](const char* uno, const CotaLeida& a, const char* relacion,
                         const char* otro, const CotaLeida& b, bool deLaBanda) {
    QString motivo = QStringLiteral("%1: el %2 (%3) %4 %5 (%6)")
                         .arg(nombre, QString::fromUtf8(uno), a.celda, QString::fromUtf8(relacion),
                              QString::fromUtf8(otro), b.celda);
    if (deLaBanda)
      motivo += QStringLiteral(": la banda de aviso debe quedar dentro de los límites");
    return rechazo(motivo + QLatin1Char('.'));
  };
  const auto mayor = [](const CotaLeida& a, const CotaLeida& b) {
    return a.valor && b.valor && *a.valor > *b.valor;
  };
  if (mayor(minimo, maximo))
    return cruce("mínimo", minimo, "es mayor que el", "máximo", maximo, false);
  if (mayor(minimo, avisoMinimo))
    return cruce("aviso mínimo", avisoMinimo, "está por debajo del", "mínimo", minimo, true);
  if (mayor(avisoMaximo, maximo))
    return cruce("aviso máximo", avisoMaximo, "está por encima del", "máximo", maximo, true);
  if (mayor(avisoMinimo, maximo))
    return cruce("aviso mínimo", avisoMinimo, "está por encima del", "máximo", maximo, true);
  if (mayor(minimo, avisoMaximo))
    return cruce("aviso máximo", avisoMaximo, "está por debajo del", "mínimo", minimo, true);
  if (mayor(avisoMinimo, avisoMaximo))
    return cruce("aviso mínimo", avisoMinimo, "es mayor que el", "aviso máximo", avisoMaximo,
                 false);

  fila.limite.minimo = minimo.valor;
  fila.limite.maximo = maximo.valor;
  fila.limite.avisoMinimo = avisoMinimo.valor;
  fila.limite.avisoMaximo = avisoMaximo.valor;
  fila.valida = true;
  return fila;
}

CotasTecleadas TextosDeLimite(const std::optional<Limite>& limite, const QString& separador) {
  if (!limite) return {};
  const auto texto = [&](const std::optional<double>& cota) {
    if (!cota) return QString();
    QString numero = QString::number(*cota, 'g', 15);
    numero.replace(QLatin1Char('.'), separador);
    return numero;
  };
  return {texto(limite->minimo), texto(limite->maximo), texto(limite->avisoMinimo),
          texto(limite->avisoMaximo)};
}

std::optional<QDate> LeerVigenteDesde(const QString& texto, QString* motivo) {
  const std::optional<QDate> fecha = fechas::LeerFecha(texto);
  if (!fecha && motivo)
    *motivo = QStringLiteral("Vigente desde: %1\nNo se guardó nada.").arg(fechas::NoEsFecha(texto));
  return fecha;
}

QList<Limite> FilasAGuardar(const QList<Limite>& existentes, const QString& tipo,
                            const QDate& vigente, const QList<Limite>& tecleadas) {
  // The rows of that same date are replaced: what holds until then is what
  // the earlier ones say.
  QList<Limite> anteriores;
  for (const Limite& limite : existentes)
    if (Mismo(limite.tipoHarina) != Mismo(tipo) || limite.vigenteDesde != vigente)
      anteriores.append(limite);
  QList<Limite> filas;
  for (Limite fila : tecleadas) {
    fila.tipoHarina = tipo.trimmed();
    fila.vigenteDesde = vigente;
    if (!TieneCotas(fila)) {
      const std::optional<Limite> antes = LimiteVigente(anteriores, tipo, fila.campo, vigente);
      if (!antes || !TieneCotas(*antes)) continue;
    }
    filas.append(fila);
  }
  return filas;
}

QString CondicionDeFecha(const Dialecto& dialecto, const QString& tipo, const QDate& vigente) {
  // A day's rows between its midnight and the next: a date stored with a
  // time, as a hand-written row may be on SQLite, is that day all the same.
  return QStringLiteral(
             "UPPER(LTRIM(RTRIM(tipo_harina))) = UPPER(%1) AND vigente_desde >= %2 AND "
             "vigente_desde < %3")
      .arg(Dialecto::Texto(tipo.trimmed()), dialecto.LiteralDia(vigente),
           dialecto.LiteralDia(vigente.addDays(1)));
}

QStringList SentenciasDeLimites(const Dialecto& dialecto, const QString& tipo, const QDate& vigente,
                                const QList<Limite>& filas) {
  QStringList sentencias{
      dialecto.Borrar(QStringLiteral("ta_limites"), CondicionDeFecha(dialecto, tipo, vigente))};
  for (const Limite& fila : filas) {
    sentencias << QStringLiteral(
                      "INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, "
                      "aviso_maximo, vigente_desde) VALUES (%1, %2, %3, %4, %5, %6, %7)")
                      .arg(Dialecto::Texto(tipo.trimmed()), Dialecto::Texto(fila.campo),
                           Numero(fila.minimo), Numero(fila.maximo), Numero(fila.avisoMinimo),
                           Numero(fila.avisoMaximo), dialecto.LiteralDia(vigente));
  }
  return sentencias;
}

QStringList TiposDeHarina(const QStringList& deLimites, const QStringList& deAnalisis) {
  QStringList tipos;
  QStringList vistos;
  for (const QStringList* lista : {&deLimites, &deAnalisis}) {
    for (const QString& tipo : *lista) {
      const QString clave = Mismo(tipo);
      if (clave.isEmpty() || vistos.contains(clave)) continue;
      vistos << clave;
      tipos << tipo.trimmed();
    }
  }
  std::sort(tipos.begin(), tipos.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return tipos;
}
