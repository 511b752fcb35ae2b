#include "sheet/planilla.h"

#include <QDateTime>
#include <algorithm>
#include <bit>
#include <utility>

#include "analisis/entrada.h"
#include "analisis/lector_limites.h"
#include "analisis/valores.h"
#include "services/falla.h"
#include "services/lib_datos.h"
#include "services/recordset.h"
#include "session/estado_sesion.h"
#include "sheet/sentencias.h"

void Planilla::Cargar(const QString& tabla, const QDate& fecha, const QString& tecleada,
                      const QString& responsable) {
  AlDia();
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& dialecto = conexion.dialecto();
  // Another day (or table) forgets what was created for the last one, which
  // Dejar has dealt with.
  if (!cargada_ || fecha != fecha_ || tabla != tabla_) creadas_.clear();
  tabla_ = tabla;
  fecha_ = fecha;
  tecleada_ = tecleada;
  responsable_ = responsable;
  QList<QVariantList> filas =
      conexion.Filas(sentencias::ConsultaDia(dialecto, tabla_, fecha, tecleada, true));
  if (filas.isEmpty()) {
    EmpezarDia();
    filas = conexion.Filas(sentencias::ConsultaDia(dialecto, tabla_, fecha, tecleada, false));
  }
  QList<Fila> leidas;
  leidas.reserve(filas.size());
  for (QVariantList& valores : filas) {
    Fila fila;
    fila.id = valores.value(0).toLongLong();
    // The key, then a value for each column.
    valores.removeFirst();
    valores.resize(ColumnasAnalisis().size());
    fila.valores = std::move(valores);
    leidas.append(std::move(fila));
  }
  // Read once: a day's load must not pay for them (limits change a few
  // times a year; the editor has them read again when it saves).
  if (!limites_) {
    limites_ = LeerLimites(conexion);
    indice_ = IndiceDeLimites(*limites_);
    diaJuzgado_ = {};
  }
  // The same day loaded again keeps the rows in force and what was found in
  // them.
  if (diaJuzgado_ != fecha_) {
    delDia_ = LimitesDelDia(indice_, fecha_);
    diaJuzgado_ = fecha_;
  }
  filas_ = std::move(leidas);
  mostrados_.clear();
  cargada_ = true;
}

void Planilla::Dejar() {
  AlDia();
  const QList<qint64> creadas = std::exchange(creadas_, {});
  filas_.clear();
  cargada_ = false;
  if (creadas.isEmpty()) return;
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& d = conexion.dialecto();
  EnTransaccion([&] {
    // Under the trail's lock no station of the program writes meanwhile: the
    // rows read blank here are the rows the delete takes.
    Recordset filas =
        conexion.Execute(sentencias::FilasCompletas(tabla_, sentencias::EnBlanco(d, creadas)));
    QList<qint64> blancas;
    const QList<auditoria::Asiento> bajas = Bajas(filas, tabla_, blancas);
    if (blancas.isEmpty()) return;
    conexion.Execute(sentencias::BorrarEnBlanco(d, tabla_, blancas));
    auditoria::Anotar(conexion, gUsuarioLogeado, bajas);
  });
}

QStringList Planilla::TextosDeFila(int fila, const QString& separador,
                                   QStringList* completos) const {
  const Fila& datos = filas_.at(fila);
  const QList<ColumnaAnalisis>& columnas = ColumnasAnalisis();
  QStringList textos;
  textos.reserve(columnas.size() + 1);
  textos << QString::number(datos.id);
  // Most rows show every number whole: their list of whole values stays
  // empty rather than holding a dozen empty texts.
  if (completos) completos->clear();
  for (const ColumnaAnalisis& columna : columnas) {
    if (columna.indice == 1 && datos.marcada) {
      textos << Marcador();
      continue;
    }
    static const QVariant kNinguno;
    const qsizetype i = columna.indice - 1;
    Mostrado mostrado = MostrarEnCarga(
        columna, i < datos.valores.size() ? datos.valores.at(i) : kNinguno, separador);
    textos << std::move(mostrado.texto);
    if (completos && !mostrado.completo.isEmpty()) {
      if (completos->isEmpty()) completos->resize(columnas.size() + 1);
      (*completos)[columna.indice] = std::move(mostrado.completo);
    }
  }
  return textos;
}

Mostrado Planilla::MostrarEnCarga(const ColumnaAnalisis& columna, const QVariant& valor,
                                  const QString& separador) const {
  if (columna.tipo != TipoCampo::Numero || valor.typeId() != QMetaType::Double)
    return Mostrar(columna, valor, separador);
  if (separador != separadorMostrados_) {
    mostrados_.clear();
    separadorMostrados_ = separador;
  }
  if (mostrados_.size() <= columna.indice) mostrados_.resize(columna.indice + 1);
  QHash<quint64, Mostrado>& deColumna = mostrados_[columna.indice];
  const quint64 bits = std::bit_cast<quint64>(*static_cast<const double*>(valor.constData()));
  const auto hallado = deColumna.constFind(bits);
  if (hallado != deColumna.cend()) return *hallado;
  Mostrado mostrado = Mostrar(columna, valor, separador);
  deColumna.insert(bits, mostrado);
  return mostrado;
}

QString Planilla::Texto(int fila, int indice, const QString& separador) const {
  if (indice == 1 && filas_.at(fila).marcada) return Marcador();
  const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
  if (!columna) return {};
  return TextoMostrado(*columna, filas_.at(fila).valores.value(indice - 1), separador);
}

namespace {

// A number cell against the day's limits for its flour type: the number as
// the database holds it; a text the engine kept (a row written by hand) is
// read as a typed entry would be.
Juicio JuzgarValor(const LimitesDelDia& delDia, const QString& tipo, const ColumnaAnalisis& columna,
                   const QVariant& valor) {
  // Most stored values are read as doubles: taken as they are.
  if (valor.typeId() == QMetaType::Double)
    return delDia.Juzgar(tipo, columna.campo, *static_cast<const double*>(valor.constData()));
  if (valor.isNull()) return {};
  bool leido = false;
  const double numero = valor.toDouble(&leido);
  if (leido) return delDia.Juzgar(tipo, columna.campo, numero);
  return delDia.Juzgar(tipo, columna.campo, valor.toString());
}

}  // namespace

Juicio Planilla::Juzgar(int fila, int indice) const {
  if (delDia_.Vacio()) return {};
  const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
  if (!columna || columna->tipo != TipoCampo::Numero) return {};
  const QList<QVariant>& valores = filas_.at(fila).valores;
  return JuzgarValor(delDia_, valores.value(IndiceTipoHarina() - 1).toString(), *columna,
                     valores.value(indice - 1));
}

QList<Juicio> Planilla::JuiciosDeFila(int fila) const {
  // Without limits for the day there is nothing to hold.
  if (delDia_.Vacio()) return {};
  QList<Juicio> juicios(ColumnasAnalisis().size() + 1);
  Juicio* juicio = juicios.data();
  const QList<QVariant>& valores = filas_.at(fila).valores;
  const QString tipo = valores.value(IndiceTipoHarina() - 1).toString();
  for (const ColumnaAnalisis& columna : ColumnasAnalisis())
    if (columna.tipo == TipoCampo::Numero && columna.indice - 1 < valores.size())
      juicio[columna.indice] = JuzgarValor(delDia_, tipo, columna, valores.at(columna.indice - 1));
  return juicios;
}

void Planilla::RecargarLimites() {
  limites_.reset();
  indice_ = {};
  delDia_ = {};
  diaJuzgado_ = {};
  if (!cargada_) return;
  limites_ = LeerLimites(LibDatos::Instancia().Conexion());
  indice_ = IndiceDeLimites(*limites_);
  delDia_ = LimitesDelDia(indice_, fecha_);
  diaJuzgado_ = fecha_;
}

QString Planilla::Completo(int fila, int indice, const QString& separador) const {
  const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
  if (!columna || columna->decimales < 0) return {};
  return Mostrar(*columna, filas_.at(fila).valores.value(indice - 1), separador).completo;
}

QString Planilla::Valor(int fila, int indice, const QString& separador) const {
  const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
  if (!columna) return {};
  return TextoDeCelda(columna->tipo, filas_.at(fila).valores.value(indice - 1), separador);
}

Planilla::Resultado Planilla::Guardar(int fila, int indice, const QString& entrada,
                                      const QString& separador) {
  const ColumnaAnalisis* columna = ColumnaPorIndice(indice);
  if (!columna || fila < 0 || fila >= filas_.size())
    return {Estado::Rechazado, QStringLiteral("Esta columna no se puede modificar."), {}};
  const Fila& f = filas_[fila];
  const EntradaLeida leida = LeerEntrada(*columna, entrada, separador);
  // Confirmed as it was: nothing to write, and the modification moment stays.
  if (EntradaSinCambios(*columna, entrada, leida, Valor(fila, indice, separador), separador))
    return {Estado::SinCambios, {}, Texto(fila, indice, separador)};
  if (f.id == 0)
    return {Estado::SinClave, QStringLiteral("Mal Posicionamiento!!!, no se actualizará"), {}};
  // Nothing is written, not even a 0, for an entry that is not what the
  // column holds: the operator corrects it.
  if (!leida.valida) return {Estado::Rechazado, leida.motivo, {}};
  // Entries reach the database in the order they were confirmed: behind
  // those still waiting.
  if (!pendientes_.isEmpty())
    return Retener(fila, indice, entrada, separador,
                   QStringLiteral("Hay entradas anteriores esperando la conexión."));
  try {
    return Almacenar(fila, *columna, leida, separador,
                     Comparable(*columna, f.valores.value(indice - 1)));
  } catch (const Falla& falla) {
    if (!LibDatos::Instancia().Conexion().Pasajera(falla)) throw;
    return Retener(fila, indice, entrada, separador, falla.Mensaje());
  }
}

Planilla::Resultado Planilla::Almacenar(int fila, const ColumnaAnalisis& columna,
                                        const EntradaLeida& leida, const QString& separador,
                                        QString mostrado) {
  const int indice = columna.indice;
  // The cell's value is what the database now holds.
  const QVariant guardado = ValorDeEntrada(columna, leida);
  const QString nuevo = auditoria::TextoDeValor(
      columna.tipo == TipoCampo::Numero && guardado.isValid() ? QVariant(leida.sql.toDouble())
                                                              : guardado);
  // What the screen showed is what the store expects to replace; a conflict
  // kept by the operator is stored over the other station's value, checked
  // again in case a third change came in while the operator decided.
  Fila& f = filas_[fila];
  for (;;) {
    QVariant otro;
    const Escritura escrita = Escribir(f.id, columna, guardado, nuevo, mostrado, otro);
    if (escrita == Escritura::Hecha) break;
    if (escrita == Escritura::Borrada)
      return {Estado::FilaBorrada,
              QStringLiteral("Este análisis ya no está en la base de datos (otra estación lo "
                             "borró).\nNo se guardó nada: vuelva a cargar la fecha."),
              {}};
    const QString textoOtro = auditoria::TextoDeValor(otro);
    if (!MantenerPropio(fila, columna, nuevo, textoOtro)) {
      // The other station's value stays; the cell shows it.
      f.valores[indice - 1] = otro;
      if (indice == 1 && !textoOtro.isEmpty()) f.marcada = false;
      return {Estado::SinCambios, {}, Texto(fila, indice, separador)};
    }
    mostrado = Comparable(columna, otro);
  }
  f.valores[indice - 1] = guardado;
  if (indice == 1 && !leida.celda.isEmpty()) f.marcada = false;
  return {Estado::Guardado, {}, Texto(fila, indice, separador)};
}

void Planilla::EmpezarDia() {
  Conexion& conexion = LibDatos::Instancia().Conexion();
  const Dialecto& dialecto = conexion.dialecto();
  // Another station opening the same new day at the same moment waits here
  // for this one, then finds the day begun: two blank analyses, not four.
  for (const QString& sentencia : dialecto.ComenzarConDia(fecha_)) conexion.Execute(sentencia);
  const QList<qint64> antes = creadas_;
  try {
    Recordset filas =
        conexion.Execute(sentencias::ConsultaDia(dialecto, tabla_, fecha_, tecleada_, false));
    const bool vacio = filas.Bof();
    filas.Close();
    if (vacio)
      for (int i = 0; i < 2; ++i) Insertar();
    conexion.Execute(dialecto.Confirmar());
  } catch (const Falla&) {
    creadas_ = antes;
    try {
      conexion.Execute(dialecto.Deshacer());
    } catch (const Falla&) {
      // The connection is gone, and the transaction with it.
    }
    throw;
  }
}

qint64 Planilla::Insertar() {
  LibDatos& datos = LibDatos::Instancia();
  Conexion& conexion = datos.Conexion();
  datos.Ejecutar(sentencias::FilaNueva(conexion.dialecto(), fecha_, tecleada_, responsable_,
                                       QDateTime::currentDateTime()));
  // The key of the row this connection has just inserted, not the table's
  // highest key, which may be another station's row.
  Recordset clave;
  datos.AbrirConsulta(conexion.dialecto().ClaveInsertada(), clave, 0, 1, true);
  const qint64 id = clave.Fields(0).Value.toLongLong();
  datos.CerrarConsulta(clave);
  auditoria::Anotar(conexion, gUsuarioLogeado,
                    {{auditoria::kAlta,
                      tabla_,
                      id,
                      QStringLiteral("Fecha"),
                      {},
                      conexion.dialecto().Medianoche(fecha_, tecleada_)}});
  creadas_.append(id);
  return id;
}

int Planilla::Agregar() {
  AlDia();
  Fila fila;
  EnTransaccion([&] { fila.id = Insertar(); });
  fila.valores.resize(ColumnasAnalisis().size());
  fila.marcada = true;
  filas_.append(std::move(fila));
  return Filas() - 1;
}

Planilla::Pegado Planilla::Pegar(int fila, int indice, const QList<QStringList>& bloque,
                                 const QString& separador) {
  Pegado pegado;
  const int ultima = static_cast<int>(ColumnasAnalisis().size());
  for (qsizetype f = 0; f < bloque.size(); ++f) {
    const int destino = fila + static_cast<int>(f);
    if (destino >= Filas()) {
      Agregar();
      ++pegado.agregadas;
    }
    for (qsizetype c = 0; c < bloque[f].size() && indice + c <= ultima; ++c) {
      const int columna = indice + static_cast<int>(c);
      const QString antes = Valor(destino, columna, separador);
      const Resultado resultado = Guardar(destino, columna, bloque[f][c], separador);
      if (resultado.estado == Estado::Guardado || resultado.estado == Estado::Retenido) {
        pegado.cambios.append({destino, columna, antes});
        ++(resultado.estado == Estado::Guardado ? pegado.guardados : pegado.retenidos);
      } else if (resultado.estado != Estado::SinCambios) {
        pegado.rechazos << QStringLiteral("Fila %1, %2: %3")
                               .arg(QString::number(destino + 1),
                                    NombreColumna(*ColumnaPorIndice(columna)),
                                    resultado.mensaje.section(QLatin1Char('\n'), 0, 0));
      }
    }
  }
  return pegado;
}

void Planilla::Deshacer(const Pegado& pegado, const QString& separador) {
  for (qsizetype i = pegado.cambios.size() - 1; i >= 0; --i) {
    const Cambio& cambio = pegado.cambios[i];
    Guardar(cambio.fila, cambio.indice, cambio.antes, separador);
  }
  if (pegado.agregadas > 0) Borrar(Filas() - pegado.agregadas, Filas() - 1);
}

void Planilla::Borrar(int desde, int hasta) {
  AlDia();
  Conexion& conexion = LibDatos::Instancia().Conexion();
  QList<qint64> borradas;
  // One transaction: the analyses selected go together with their record, or
  // none of them.
  // An analysis that another station changed after the screen showed it is
  // deleted only if the operator says so, seeing what changed.
  bool comprobar = true;
  QStringList cambiadas;
  for (;;) {
    cambiadas.clear();
    borradas.clear();
    EnTransaccion([&] {
      QList<auditoria::Asiento> bajas;
      for (int fila = std::max(desde, 0); fila <= hasta && fila < Filas(); ++fila) {
        const qint64 id = filas_[fila].id;
        Recordset valores = conexion.Execute(
            sentencias::FilasCompletas(tabla_, QStringLiteral("ID = ") + QString::number(id)));
        if (comprobar) {
          const QString cambio = CambioDeOtra(fila, valores);
          if (!cambio.isEmpty()) cambiadas << cambio;
        }
        bajas += Bajas(valores, tabla_, borradas);
      }
      // Nothing goes before every analysis is found as shown.
      if (!cambiadas.isEmpty()) return;
      for (const qint64 id : borradas)
        conexion.Execute(sentencias::BorrarAnalisis(conexion.dialecto(), tabla_, id));
      auditoria::Anotar(conexion, gUsuarioLogeado, bajas);
    });
    if (cambiadas.isEmpty()) break;
    if (!BorrarIgual(cambiadas)) return;
    comprobar = false;
  }
  for (int fila = std::max(desde, 0); fila <= hasta && fila < Filas(); ++fila)
    creadas_.removeAll(filas_[fila].id);
}
