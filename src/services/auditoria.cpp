#include "services/auditoria.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QLocale>
#include <QSysInfo>
#include <algorithm>
#include <charconv>

#include "services/conexion.h"
#include "services/dialecto.h"
#include "services/recordset.h"

namespace auditoria {

namespace {

// Rows per INSERT: a deleted analysis's sixteen rows go in one statement.
constexpr int kPorSentencia = 50;

const QString kColumnas = QStringLiteral(
    "ID, momento, estacion, operador, accion, tabla, id_fila, campo, valor_anterior, valor_nuevo, "
    "huella");
// The columns an INSERT gives: all but the key, which the engine assigns.
const QString kColumnasEscritas = kColumnas.section(QStringLiteral(", "), 1);

// A field of the chained text: its length in UTF-8 bytes, ":", the field and
// a line feed.
void AgregarBytes(QByteArray& texto, QByteArrayView utf8) {
  char cifras[24];
  const auto [fin, error] = std::to_chars(cifras, cifras + sizeof cifras, utf8.size());
  texto.append(cifras, fin - cifras).append(':').append(utf8).append('\n');
}

void Agregar(QByteArray& texto, const QString& campo) { AgregarBytes(texto, campo.toUtf8()); }

// The SHA-256 of texto in 64 lower-case hex digits. One hash object per
// thread, reset for each row: every stored cell hashes one, and the
// verification the whole trail.
QString Sha256(QByteArrayView texto) {
  thread_local QCryptographicHash hash(QCryptographicHash::Sha256);
  hash.reset();
  hash.addData(texto);
  return QString::fromLatin1(hash.result().toHex());
}

// The INSERT of n rows of the trail, with their values bound. A stored cell
// writes one row: that text is made once.
QString TextoInsert(qsizetype filas) {
  const auto hacer = [](qsizetype n) {
    QStringList marcas;
    for (qsizetype i = 0; i < n; ++i) marcas << QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    return QStringLiteral("INSERT INTO ta_auditoria (%1) VALUES %2")
        .arg(kColumnasEscritas, marcas.join(QStringLiteral(", ")));
  };
  static const QString una = hacer(1);
  return filas == 1 ? una : hacer(filas);
}

QString Momento(const QVariant& valor) {
  if (valor.typeId() == QMetaType::QDateTime)
    return valor.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  return valor.toString();
}

}  // namespace

QString Estacion() {
  // Asked once: the host name is a system call, and every stored cell
  // records it.
  static const QString estacion = QSysInfo::machineHostName();
  return estacion;
}

QString Firmante(const QString& usuarioLogeado) {
  const QString usuario = usuarioLogeado.trimmed();
  if (!usuario.isEmpty()) return usuario;
  const QString sistema = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
  return sistema.isEmpty() ? QStringLiteral("(desconocido)") : sistema;
}

QString TextoDeValor(const QVariant& valor) {
  if (!valor.isValid() || valor.isNull()) return {};
  switch (valor.typeId()) {
    case QMetaType::QDateTime:
      return valor.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case QMetaType::QDate:
      return valor.toDate().toString(QStringLiteral("yyyy-MM-dd"));
    case QMetaType::QTime:
      return valor.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Double:
    case QMetaType::Float:
      return QString::number(valor.toDouble(), 'g', QLocale::FloatingPointShortest);
    default:
      return valor.toString();
  }
}

QString Huella(const QString& previa, const Fila& fila) {
  // Every stored cell chains one row: the text is built in one buffer.
  QByteArray texto;
  texto.reserve(512);
  texto.append(previa.toUtf8()).append('\n');
  Agregar(texto, fila.momento);
  Agregar(texto, fila.estacion);
  Agregar(texto, fila.operador);
  Agregar(texto, fila.asiento.accion);
  Agregar(texto, fila.asiento.tabla);
  char clave[24];
  const auto [fin, error] = std::to_chars(clave, clave + sizeof clave, fila.asiento.idFila);
  AgregarBytes(texto, QByteArrayView(clave, fin - clave));
  Agregar(texto, fila.asiento.campo);
  Agregar(texto, fila.asiento.anterior);
  Agregar(texto, fila.asiento.nuevo);
  return Sha256(texto);
}

QString Cabeza(const Dialecto& dialecto) {
  // The last row's key read as its MAX: the primary key's index answers it.
  return QStringLiteral(
             "%1, (SELECT huella FROM ta_auditoria WHERE ID = (SELECT MAX(ID) FROM "
             "ta_auditoria))")
      .arg(dialecto.Ahora());
}

void Anotar(Conexion& conexion, const QString& operador, const QList<Asiento>& asientos) {
  if (asientos.isEmpty()) return;
  const Dialecto& d = conexion.dialecto();
  const QString bloqueo = d.BloqueoRegistro();
  if (!bloqueo.isEmpty()) conexion.Execute(bloqueo);
  Recordset ultima = conexion.Execute(QStringLiteral("SELECT ") + Cabeza(d));
  const QVariant momento = ultima.Valor(0);
  const QVariant previa = ultima.Valor(1);
  ultima.Close();
  Anotar(conexion, operador, asientos, momento, previa);
}

void Anotar(Conexion& conexion, const QString& operador, const QList<Asiento>& asientos,
            const QVariant& momento, const QVariant& ultima) {
  if (asientos.isEmpty()) return;
  Fila fila;
  fila.momento = Momento(momento);
  QString previa = ultima.toString();
  fila.estacion = Estacion();
  fila.operador = Firmante(operador);
  for (qsizetype desde = 0; desde < asientos.size(); desde += kPorSentencia) {
    // The values are bound: the statement's text depends only on how many
    // rows it carries, and is prepared once for each count.
    const qsizetype hasta = std::min(asientos.size(), desde + kPorSentencia);
    QVariantList valores;
    valores.reserve(10 * (hasta - desde));
    for (qsizetype i = desde; i < hasta; ++i) {
      fila.asiento = asientos[i];
      previa = Huella(previa, fila);
      const Asiento& a = fila.asiento;
      valores << fila.momento << fila.estacion << fila.operador << a.accion << a.tabla
              << QVariant::fromValue(a.idFila) << a.campo << a.anterior << a.nuevo << previa;
    }
    conexion.Execute(TextoInsert(hasta - desde), valores);
  }
  // The other stations watching learn of it when this transaction commits.
  const QString aviso = conexion.dialecto().AvisarCambio();
  if (!aviso.isEmpty()) conexion.Execute(aviso);
}

void AnotarEspecificacion(Conexion& conexion, const QString& operador, qint64 idLimite,
                          const QList<CampoCambiado>& campos) {
  QList<Asiento> asientos;
  for (const CampoCambiado& campo : campos) {
    if (campo.anterior == campo.nuevo) continue;
    asientos.append({kEspecificacion, QStringLiteral("ta_limites"), idLimite, campo.campo,
                     campo.anterior, campo.nuevo});
  }
  Anotar(conexion, operador, asientos);
}

namespace {

QList<Fila> Leer(Conexion& conexion, const QString& condicion) {
  Recordset filas = conexion.Execute(QStringLiteral("SELECT %1 FROM ta_auditoria WHERE %2 ORDER "
                                                    "BY ID DESC")
                                         .arg(kColumnas, condicion));
  QList<Fila> leidas;
  while (!filas.Eof()) {
    Fila f;
    f.id = filas.Valor(0).toLongLong();
    f.momento = Momento(filas.Valor(1));
    f.estacion = filas.Valor(2).toString();
    f.operador = filas.Valor(3).toString();
    f.asiento = {filas.Valor(4).toString(), filas.Valor(5).toString(), filas.Valor(6).toLongLong(),
                 filas.Valor(7).toString(), filas.Valor(8).toString(), filas.Valor(9).toString()};
    f.huella = filas.Valor(10).toString();
    leidas.append(std::move(f));
    filas.MoveNext();
  }
  return leidas;
}

}  // namespace

QList<Fila> DeFila(Conexion& conexion, const QString& tabla, qint64 idFila) {
  return Leer(conexion, QStringLiteral("tabla = %1 AND id_fila = %2")
                            .arg(Dialecto::Texto(tabla), QString::number(idFila)));
}

QList<Fila> DelDia(Conexion& conexion, const QString& tabla, const QString& columnaDia,
                   const QDate& dia) {
  const Dialecto& d = conexion.dialecto();
  const QString texto = Dialecto::Texto(tabla);
  const QString patron = Dialecto::Texto(dia.toString(QStringLiteral("yyyy-MM-dd")) + u'%');
  return Leer(
      conexion,
      QStringLiteral("tabla = %1 AND (id_fila IN (SELECT ID FROM %2 WHERE %3 >= %4 AND %3 < %5) "
                     "OR id_fila IN (SELECT id_fila FROM ta_auditoria WHERE tabla = %1 AND "
                     "campo = %6 AND accion IN ('alta', 'baja') AND (valor_nuevo LIKE %7 OR "
                     "valor_anterior LIKE %7)))")
          .arg(texto, tabla, columnaDia, d.LiteralDia(dia), d.LiteralDia(dia.addDays(1)),
               Dialecto::Texto(columnaDia), patron));
}

}  // namespace auditoria
