#include "sheet/modelo_grilla.h"

#include <QColor>
#include <algorithm>
#include <utility>

namespace {

const Qt::Alignment kAlineacionInicial = Qt::AlignLeft | Qt::AlignTop;
// Light enough that the dark text on them reads as well as on white.
const QColor kFondoFuera(255, 190, 190);
const QColor kFondoAviso(255, 221, 140);
const QColor kFondoPendiente(205, 225, 255);
const QString kNoGuardado = QStringLiteral("No guardado: sin conexión");

// Whether a row's verdicts hold any: only such rows are kept.
bool AlgunJuicio(const QList<Juicio>& juicios) {
  return std::any_of(juicios.cbegin(), juicios.cend(),
                     [](const Juicio& juicio) { return juicio.veredicto != Veredicto::SinJuicio; });
}

}  // namespace

int ModeloGrilla::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_.size());
}

int ModeloGrilla::columnCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(encabezados_.size());
}

QVariant ModeloGrilla::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid()) return {};
  const int columna = indice.column();
  if (rol == Qt::DisplayRole || rol == Qt::EditRole) return Texto(indice.row(), columna);
  if (rol == Qt::TextAlignmentRole)
    return QVariant::fromValue((alineaciones_[columna] & Qt::AlignHorizontal_Mask) |
                               Qt::AlignVCenter);
  QString separador;
  const Juicio* juicio = JuicioDe(indice.row(), columna, &separador);
  const Veredicto veredicto = juicio ? juicio->veredicto : Veredicto::SinJuicio;
  const bool marcada = veredicto == Veredicto::Fuera || veredicto == Veredicto::Aviso;
  if (rol == Qt::AccessibleTextRole) {
    const QString texto = Texto(indice.row(), columna);
    QString valor = texto.isEmpty() ? QStringLiteral("vacía") : texto;
    if (marcada)
      valor += QStringLiteral(", ") +
               DescribirJuicio(*juicio, separador).section(QLatin1Char('\n'), 0, 0);
    if (EsPendiente(indice.row(), columna)) valor += QStringLiteral(", ") + kNoGuardado;
    const QString nombre = NombreAccesible(columna);
    return nombre.isEmpty() ? valor : nombre + QStringLiteral(": ") + valor;
  }
  if (!pendientes_.isEmpty() && EsPendiente(indice.row(), columna)) {
    if (rol == Qt::BackgroundRole) return kFondoPendiente;
    if (rol == Qt::ForegroundRole) return QColor(Qt::black);
    if (rol == Qt::FontRole) {
      QFont cursiva = marcada ? negrita_ : QFont();
      cursiva.setItalic(true);
      return cursiva;
    }
    if (rol == Qt::ToolTipRole)
      return kNoGuardado + QStringLiteral(". Se guarda solo cuando vuelva la conexión.");
  }
  if (borradas_.contains(indice.row())) {
    if (rol == Qt::ForegroundRole) return QColor(Qt::gray);
    if (rol == Qt::FontRole) {
      QFont tachada;
      tachada.setStrikeOut(true);
      return tachada;
    }
    if (rol == Qt::ToolTipRole)
      return QStringLiteral("Este análisis fue borrado en otra estación.");
  }
  if (rol == Qt::ToolTipRole) {
    QStringList partes;
    const auto completo = completos_.constFind(Clave(indice.row(), columna));
    if (completo != completos_.cend()) partes << QStringLiteral("Valor registrado: ") + *completo;
    if (juicio) partes << DescribirJuicio(*juicio, separador);
    return partes.join(QLatin1Char('\n'));
  }
  if (marcada && rol == Qt::BackgroundRole)
    return veredicto == Veredicto::Fuera ? kFondoFuera : kFondoAviso;
  if (marcada && rol == Qt::ForegroundRole) return QColor(Qt::black);
  if (marcada && rol == Qt::FontRole) return negrita_;
  if (rol == Qt::AccessibleDescriptionRole) return descripciones_.value(columna);
  return {};
}

QString ModeloGrilla::NombreAccesible(int columna) const {
  const QString nombre = nombres_.value(columna);
  if (!nombre.isEmpty() || columna < 0 || columna >= encabezados_.size()) return nombre;
  return (encabezados_[columna][0] + QLatin1Char(' ') + encabezados_[columna][1]).trimmed();
}

void ModeloGrilla::SetAccesible(int columna, const QString& nombre, const QString& descripcion) {
  if (columna < 0) return;
  if (nombres_.size() <= columna) {
    nombres_.resize(columna + 1);
    descripciones_.resize(columna + 1);
  }
  nombres_[columna] = nombre;
  descripciones_[columna] = descripcion;
}

QVariant ModeloGrilla::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion != Qt::Horizontal || seccion < 0 || seccion >= encabezados_.size()) return {};
  if (rol == Qt::DisplayRole)
    return encabezados_[seccion][0] + QLatin1Char('\n') + encabezados_[seccion][1];
  if (rol == Qt::TextAlignmentRole) return QVariant::fromValue(alineaciones_[seccion]);
  if (rol == Qt::AccessibleTextRole) return NombreAccesible(seccion);
  if (rol == Qt::AccessibleDescriptionRole) return descripciones_.value(seccion);
  return {};
}

void ModeloGrilla::SetFilas(int filas) {
  const int actuales = rowCount();
  if (filas > actuales) {
    beginInsertRows({}, actuales, filas - 1);
    while (filas_.size() < filas) filas_.append(QStringList(columnCount()));
    endInsertRows();
  } else if (filas < actuales) {
    beginRemoveRows({}, filas, actuales - 1);
    filas_.resize(filas);
    juicios_.removeIf([filas](const auto& par) { return par.key() >= filas; });
    borradas_.removeIf([filas](int fila) { return fila >= filas; });
    pendientes_.removeIf([filas](quint64 clave) { return int(clave >> 32) >= filas; });
    completos_.removeIf([filas](const auto& par) { return int(par.key() >> 32) >= filas; });
    endRemoveRows();
  }
}

void ModeloGrilla::SetColumnas(int columnas) {
  const int actuales = columnCount();
  if (columnas == actuales) return;
  if (columnas > actuales)
    beginInsertColumns({}, actuales, columnas - 1);
  else
    beginRemoveColumns({}, columnas, actuales - 1);
  encabezados_.resize(columnas, QStringList{QString(), QString()});
  alineaciones_.resize(columnas, kAlineacionInicial);
  for (QStringList& fila : filas_) fila.resize(columnas);
  if (columnas > actuales)
    endInsertColumns();
  else
    endRemoveColumns();
}

QString ModeloGrilla::Texto(int fila, int columna) const {
  if (fila < 0 || fila >= filas_.size() || columna < 0 || columna >= filas_[fila].size()) return {};
  return filas_[fila][columna];
}

void ModeloGrilla::SetTexto(int fila, int columna, const QString& texto) {
  if (fila < 0 || fila >= filas_.size() || columna < 0 || columna >= columnCount()) return;
  if (filas_[fila][columna] == texto) return;
  filas_[fila][columna] = texto;
  emit dataChanged(index(fila, columna), index(fila, columna), {Qt::DisplayRole});
}

QString ModeloGrilla::Encabezado(int linea, int columna) const {
  if (columna < 0 || columna >= encabezados_.size()) return {};
  return encabezados_[columna][linea];
}

void ModeloGrilla::SetEncabezado(int linea, int columna, const QString& texto) {
  if (columna < 0 || columna >= encabezados_.size() || encabezados_[columna][linea] == texto)
    return;
  encabezados_[columna][linea] = texto;
  emit headerDataChanged(Qt::Horizontal, columna, columna);
}

void ModeloGrilla::SetAlineacion(int columna, Qt::Alignment alineacion) {
  if (columna < 0 || columna >= alineaciones_.size() || alineaciones_[columna] == alineacion)
    return;
  alineaciones_[columna] = alineacion;
  emit headerDataChanged(Qt::Horizontal, columna, columna);
  if (rowCount() > 0) emit dataChanged(index(0, columna), index(rowCount() - 1, columna));
}

void ModeloGrilla::SetCompleto(int fila, int columna, const QString& completo) {
  if (fila < 0 || fila >= rowCount() || columna < 0 || columna >= columnCount()) return;
  const quint64 clave = Clave(fila, columna);
  if (completo.isEmpty()) {
    if (completos_.remove(clave) == 0) return;
  } else {
    if (completos_.value(clave) == completo) return;
    completos_.insert(clave, completo);
  }
  emit dataChanged(index(fila, columna), index(fila, columna), {Qt::ToolTipRole});
}

void ModeloGrilla::SetJuiciosDeFila(int fila, QList<Juicio> juicios, const QString& separador,
                                    const QFont& negrita) {
  if (fila < 0 || fila >= rowCount()) return;
  const bool habia = juicios_.contains(fila);
  const bool hay = AlgunJuicio(juicios);
  if (!habia && !hay) return;
  if (hay)
    juicios_.insert(fila, {std::move(juicios), separador});
  else
    juicios_.remove(fila);
  negrita_ = negrita;
  emit dataChanged(index(fila, 0), index(fila, columnCount() - 1));
}

void ModeloGrilla::SetJuicio(int fila, int columna, const Juicio& juicio, const QString& separador,
                             const QFont& negrita) {
  if (fila < 0 || fila >= rowCount() || columna < 0 || columna >= columnCount()) return;
  const bool hay = juicio.veredicto != Veredicto::SinJuicio;
  auto deFila = juicios_.find(fila);
  if (deFila == juicios_.end()) {
    if (!hay) return;
    deFila = juicios_.insert(fila, {QList<Juicio>(columnCount()), separador});
  }
  QList<Juicio>& juicios = deFila->juicios;
  if (juicios.size() <= columna) juicios.resize(columnCount());
  // A value stored within the same verdict repaints nothing: the cell's text
  // changes on its own.
  if (juicios[columna] == juicio && deFila->separador == separador && negrita_ == negrita) return;
  juicios[columna] = juicio;
  deFila->separador = separador;
  if (!hay && !AlgunJuicio(juicios)) juicios_.erase(deFila);
  negrita_ = negrita;
  const QModelIndex celda = index(fila, columna);
  emit dataChanged(celda, celda);
}

const Juicio* ModeloGrilla::JuicioDe(int fila, int columna, QString* separador) const {
  const auto deFila = juicios_.constFind(fila);
  if (deFila == juicios_.cend() || columna < 0 || columna >= deFila->juicios.size()) return nullptr;
  const Juicio& juicio = deFila->juicios.at(columna);
  if (juicio.veredicto == Veredicto::SinJuicio) return nullptr;
  if (separador) *separador = deFila->separador;
  return &juicio;
}

void ModeloGrilla::SetBorrada(int fila, bool borrada) {
  if (fila < 0 || fila >= rowCount() || borradas_.contains(fila) == borrada) return;
  if (borrada)
    borradas_.insert(fila);
  else
    borradas_.remove(fila);
  emit dataChanged(index(fila, 0), index(fila, columnCount() - 1));
}

void ModeloGrilla::SetPendientes(QSet<quint64> pendientes) {
  if (pendientes == pendientes_) return;
  QSet<quint64> tocadas = pendientes_;
  tocadas.unite(pendientes);
  pendientes_ = std::move(pendientes);
  for (const quint64 clave : std::as_const(tocadas)) {
    const QModelIndex celda = index(int(clave >> 32), int(quint32(clave)));
    emit dataChanged(celda, celda);
  }
}

Veredicto ModeloGrilla::JuicioEn(int fila, int columna) const {
  const Juicio* juicio = JuicioDe(fila, columna);
  return juicio ? juicio->veredicto : Veredicto::SinJuicio;
}

void ModeloGrilla::OlvidarMarcas() {
  juicios_.clear();
  completos_.clear();
  borradas_.clear();
  pendientes_.clear();
}

void ModeloGrilla::Vaciar() {
  beginResetModel();
  OlvidarMarcas();
  for (QStringList& fila : filas_) fila.fill(QString());
  for (QStringList& encabezado : encabezados_) encabezado = QStringList{QString(), QString()};
  endResetModel();
}

void ModeloGrilla::Reemplazar(ContenidoGrilla contenido, const QFont& negrita) {
  beginResetModel();
  OlvidarMarcas();
  const qsizetype columnas = contenido.encabezados.size();
  filas_ = std::move(contenido.filas);
  encabezados_ = std::move(contenido.encabezados);
  for (QStringList& encabezado : encabezados_) encabezado.resize(2);
  alineaciones_.resize(columnas, kAlineacionInicial);
  const qsizetype filas = filas_.size();
  for (qsizetype f = 0; f < std::min(filas, contenido.completos.size()); ++f) {
    const QStringList& completos = contenido.completos.at(f);
    for (qsizetype c = 0; c < std::min(columnas, completos.size()); ++c)
      if (!completos.at(c).isEmpty()) completos_.insert(Clave(int(f), int(c)), completos.at(c));
  }
  for (qsizetype f = 0; f < std::min(filas, contenido.juicios.size()); ++f) {
    QList<Juicio>& juicios = contenido.juicios[f];
    if (AlgunJuicio(juicios)) juicios_.insert(int(f), {std::move(juicios), contenido.separador});
  }
  negrita_ = negrita;
  endResetModel();
}
