#include "lookup/modelo_consulta.h"

#include <QFont>
#include <algorithm>
#include <numeric>
#include <utility>

namespace {

// Compared without regard to case past the plain ASCII letters: as
// QStringView::compare does, on UTF-16 (Unicode's folding takes some Latin-1
// letters out of Latin-1: the micro sign folds to a Greek mu).
int CompararLento(QStringView a, QStringView b) { return a.compare(b, Qt::CaseInsensitive); }
int CompararLento(QLatin1StringView a, QStringView b) { return CompararLento(QString(a), b); }
int CompararLento(QStringView a, QLatin1StringView b) { return CompararLento(a, QString(b)); }
int CompararLento(QLatin1StringView a, QLatin1StringView b) {
  return CompararLento(QString(a), QString(b));
}

// Texts compared without regard to case, as QStringView::compare does, with
// the plain ASCII letters folded here: a sort of a hundred thousand names
// makes some two million comparisons.
template <typename A, typename B>
int CompararSinCaso(A a, B b) {
  const qsizetype comunes = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < comunes; ++i) {
    char16_t x = a[i].unicode();
    char16_t y = b[i].unicode();
    if (x == y) continue;
    if (x >= 128 || y >= 128) return CompararLento(a.mid(i), b.mid(i));
    if (x >= u'A' && x <= u'Z') x += 32;
    if (y >= u'A' && y <= u'Z') y += 32;
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

bool EspacioAscii(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

// Whether the text, trimmed of blanks, starts with `clave` (plain ASCII, in
// lower case) without regard to case: 1 it does, 0 it does not, -1 a
// character past ASCII came first, which only Unicode's tables may fold (the
// Kelvin sign is a "k").
template <typename V>
int EmpiezaAscii(V texto, QStringView clave) {
  const qsizetype largo = texto.size();
  qsizetype i = 0;
  for (; i < largo; ++i) {
    const char16_t c = texto[i].unicode();
    if (c >= 128) return -1;
    if (!EspacioAscii(c)) break;
  }
  // Folding keeps every text's length: one too short never matches.
  if (largo - i < clave.size()) return 0;
  for (qsizetype j = 0; j < clave.size(); ++j) {
    char16_t c = texto[i + j].unicode();
    if (c >= 128) return -1;
    if (c >= u'A' && c <= u'Z') c += 32;
    if (c != clave[j].unicode()) return 0;
  }
  return 1;
}

bool Empieza(QStringView texto, QStringView clave) {
  return texto.trimmed().startsWith(clave, Qt::CaseInsensitive);
}
bool Empieza(QLatin1StringView texto, QStringView clave) { return Empieza(QString(texto), clave); }

}  // namespace

void ColumnaTextos::Agregar(QStringView texto) {
  if (!texto.isEmpty() && texto.front().isSpace()) blancoInicial_ = true;
  mayor_ = std::max(mayor_, texto.size());
  if (!ancha_) {
    if (std::all_of(texto.begin(), texto.end(), [](QChar c) { return c.unicode() <= 0xFF; })) {
      for (const QChar c : texto) latinosLeidos_.push_back(static_cast<unsigned char>(c.unicode()));
      finesLeidos_.push_back(static_cast<quint32>(latinosLeidos_.size()));
      return;
    }
    // The first text past Latin-1: the column turns to UTF-16.
    anchosLeidos_.assign(latinosLeidos_.cbegin(), latinosLeidos_.cend());
    std::deque<unsigned char>().swap(latinosLeidos_);
    ancha_ = true;
  }
  for (const QChar c : texto) anchosLeidos_.push_back(c.unicode());
  finesLeidos_.push_back(static_cast<quint32>(anchosLeidos_.size()));
}

void ColumnaTextos::Cerrar() {
  if (finesLeidos_.empty()) return;
  fines_.assign(finesLeidos_.cbegin(), finesLeidos_.cend());
  std::deque<quint32>().swap(finesLeidos_);
  if (ancha_) {
    anchos_ = QString(static_cast<qsizetype>(anchosLeidos_.size()), Qt::Uninitialized);
    std::copy(anchosLeidos_.cbegin(), anchosLeidos_.cend(),
              reinterpret_cast<char16_t*>(anchos_.data()));
    std::deque<char16_t>().swap(anchosLeidos_);
  } else {
    latinos_ = QByteArray(static_cast<qsizetype>(latinosLeidos_.size()), Qt::Uninitialized);
    std::copy(latinosLeidos_.cbegin(), latinosLeidos_.cend(), latinos_.data());
    std::deque<unsigned char>().swap(latinosLeidos_);
  }
  bool sustitutos = false;
  for (const QChar c : std::as_const(anchos_)) sustitutos |= c.isSurrogate();
  sustitutos_ = sustitutos;
}

QLatin1StringView ColumnaTextos::Latino(qsizetype fila) const {
  const qsizetype inicio = Inicio(fila);
  return QLatin1StringView(latinos_.constData() + inicio, fines_[fila] - inicio);
}

QStringView ColumnaTextos::Ancho(qsizetype fila) const {
  const qsizetype inicio = Inicio(fila);
  return QStringView(anchos_).mid(inicio, fines_[fila] - inicio);
}

QString ColumnaTextos::Texto(qsizetype fila) const {
  return ancha_ ? Ancho(fila).toString() : QString(Latino(fila));
}

template <typename F>
decltype(auto) ModeloConsulta::Ver(int fisica, int columna, F&& f) const {
  if (columna < 0 || columna >= static_cast<int>(leidas_.columnas.size())) return f(QStringView());
  const ColumnaTextos& textos = leidas_.columnas[columna];
  if (fisica < 0 || fisica >= textos.Filas()) return f(QStringView());
  return textos.Latina() ? f(textos.Latino(fisica)) : f(textos.Ancho(fisica));
}

int ModeloConsulta::rowCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(filas_);
}

int ModeloConsulta::columnCount(const QModelIndex& padre) const {
  return padre.isValid() ? 0 : static_cast<int>(encabezados_.size());
}

QString ModeloConsulta::Texto(int fila, int columna) const {
  if (fila < 0 || fila >= filas_) return {};
  const int fisica = Fisica(fila);
  if (!cambios_.isEmpty()) {
    const auto cambio = cambios_.constFind(qint64(fisica) * encabezados_.size() + columna);
    if (cambio != cambios_.constEnd()) return *cambio;
  }
  if (columna < 0 || columna >= static_cast<int>(leidas_.columnas.size())) return {};
  const ColumnaTextos& textos = leidas_.columnas[columna];
  return fisica < textos.Filas() ? textos.Texto(fisica) : QString();
}

QVariant ModeloConsulta::data(const QModelIndex& indice, int rol) const {
  if (!indice.isValid()) return {};
  const int fila = indice.row();
  switch (rol) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
      return Texto(fila, indice.column());
    case Qt::CheckStateRole:
      if (casillas_ && indice.column() == 0) return Marcada(fila) ? Qt::Checked : Qt::Unchecked;
      return {};
    case Qt::ForegroundRole:
      if (static_cast<size_t>(Fisica(fila)) < leidas_.colores.size() &&
          leidas_.colores[Fisica(fila)].isValid())
        return leidas_.colores[Fisica(fila)];
      return {};
    case Qt::FontRole:
      if (static_cast<size_t>(Fisica(fila)) < leidas_.negritas.size() &&
          leidas_.negritas[Fisica(fila)]) {
        QFont negrita;
        negrita.setBold(true);
        return negrita;
      }
      return {};
    default:
      return {};
  }
}

bool ModeloConsulta::setData(const QModelIndex& indice, const QVariant& valor, int rol) {
  // The only change the view may make: the operator's click on a check box.
  if (!indice.isValid() || !casillas_ || indice.column() != 0 || rol != Qt::CheckStateRole)
    return false;
  SetMarcada(indice.row(), valor.toInt() == Qt::Checked);
  return true;
}

QVariant ModeloConsulta::headerData(int seccion, Qt::Orientation orientacion, int rol) const {
  if (orientacion != Qt::Horizontal || rol != Qt::DisplayRole || seccion < 0 ||
      seccion >= encabezados_.size())
    return {};
  return encabezados_[seccion];
}

Qt::ItemFlags ModeloConsulta::flags(const QModelIndex& indice) const {
  if (!indice.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags banderas = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
  if (casillas_ && indice.column() == 0) banderas |= Qt::ItemIsUserCheckable;
  return banderas;
}

void ModeloConsulta::Encabezados(const QStringList& textos) {
  beginResetModel();
  encabezados_ = textos;
  OlvidarFilas();
  endResetModel();
}

void ModeloConsulta::Reemplazar(FilasLeidas filas) {
  beginResetModel();
  leidas_ = std::move(filas);
  for (ColumnaTextos& columna : leidas_.columnas) columna.Cerrar();
  filas_ = leidas_.columnas.empty() ? 0 : leidas_.columnas.front().Filas();
  orden_.clear();
  columnaOrden_ = -1;
  marcas_.assign(static_cast<size_t>(filas_), 0);
  cambios_.clear();
  endResetModel();
}

void ModeloConsulta::Vaciar() {
  beginResetModel();
  OlvidarFilas();
  endResetModel();
}

void ModeloConsulta::OlvidarFilas() {
  leidas_ = FilasLeidas();
  orden_.clear();
  columnaOrden_ = -1;
  marcas_.clear();
  cambios_.clear();
  filas_ = 0;
}

void ModeloConsulta::SetCasillas(bool casillas) {
  if (casillas_ == casillas) return;
  beginResetModel();
  casillas_ = casillas;
  endResetModel();
}

void ModeloConsulta::SetTexto(int fila, int columna, const QString& texto) {
  if (fila < 0 || fila >= filas_ || columna < 0 || columna >= encabezados_.size()) return;
  cambios_.insert(qint64(Fisica(fila)) * encabezados_.size() + columna, texto);
  emit dataChanged(index(fila, columna), index(fila, columna));
}

bool ModeloConsulta::Marcada(int fila) const {
  if (fila < 0 || fila >= filas_) return false;
  return marcas_[Fisica(fila)] != 0;
}

void ModeloConsulta::SetMarcada(int fila, bool marcada) {
  if (fila < 0 || fila >= filas_) return;
  marcas_[Fisica(fila)] = marcada ? 1 : 0;
  emit dataChanged(index(fila, 0), index(fila, 0), {Qt::CheckStateRole});
}

void ModeloConsulta::Ordenar(int columna, Qt::SortOrder orden) {
  if (columna < 0 || columna >= encabezados_.size() || filas_ == 0) return;
  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const QModelIndexList antes = persistentIndexList();
  std::vector<int> fisicas;
  fisicas.reserve(antes.size());
  for (const QModelIndex& indice : antes) fisicas.push_back(Fisica(indice.row()));

  const auto menor = [&](int a, int b) {
    const int comparacion = Ver(a, columna, [&](auto x) {
      return Ver(b, columna, [&](auto y) { return CompararSinCaso(x, y); });
    });
    return orden == Qt::AscendingOrder ? comparacion < 0 : comparacion > 0;
  };
  // Rows read in order already (GROUP BY usually hands them so) need neither
  // a sort nor a permutation.
  bool enOrden = true;
  for (int i = 1; i < filas_ && enOrden; ++i) enOrden = !menor(Fisica(i), Fisica(i - 1));
  columnaOrden_ = columna;
  sentidoOrden_ = orden;
  if (enOrden && orden_.empty()) {
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    return;
  }
  if (orden_.empty()) {
    orden_.resize(static_cast<size_t>(filas_));
    std::iota(orden_.begin(), orden_.end(), 0);
  }
  if (!enOrden) std::stable_sort(orden_.begin(), orden_.end(), menor);

  // The selection and the current row follow their rows.
  std::vector<int> posicion(static_cast<size_t>(filas_));
  for (int i = 0; i < filas_; ++i) posicion[orden_[i]] = i;
  QModelIndexList despues;
  despues.reserve(antes.size());
  for (qsizetype i = 0; i < antes.size(); ++i)
    despues.append(index(posicion[fisicas[i]], antes[i].column()));
  changePersistentIndexList(antes, despues);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

int ModeloConsulta::Buscar(int columna, QStringView clave) const {
  if (columna < 0 || columna >= encabezados_.size()) return -1;
  const QStringView buscada = clave.trimmed();
  // Sorted texts put every row that starts with the key together, first the
  // one shown first. Texts changed after the sort may be out of place.
  if (columna == columnaOrden_ && cambios_.isEmpty() &&
      columna < static_cast<int>(leidas_.columnas.size()) && leidas_.columnas[columna].Buscable())
    return BuscarPorMitades(columna, buscada);
  return BuscarEnOrden(columna, buscada);
}

int ModeloConsulta::BuscarPorMitades(int columna, QStringView buscada) const {
  // Compared as the sort compared the whole texts, so that the rows before
  // the matching ones compare below the key, those after above (or the other
  // way round, sorted downward). No text starts with a blank: trimming the
  // end never moves a key's match.
  const auto lado = [&](int fila) {
    const int comparacion = Ver(Fisica(fila), columna, [&](auto texto) {
      return CompararSinCaso(texto.left(buscada.size()), buscada);
    });
    return sentidoOrden_ == Qt::AscendingOrder ? comparacion : -comparacion;
  };
  int desde = 0, hasta = static_cast<int>(filas_);
  while (desde < hasta) {
    const int medio = desde + (hasta - desde) / 2;
    if (lado(medio) < 0)
      desde = medio + 1;
    else
      hasta = medio;
  }
  if (desde < filas_ &&
      Ver(Fisica(desde), columna, [&](auto texto) { return Empieza(texto, buscada); }))
    return desde;
  return -1;
}

int ModeloConsulta::BuscarEnOrden(int columna, QStringView buscada) const {
  QString minuscula;
  bool ascii = true;
  for (const QChar c : buscada) ascii = ascii && c.unicode() < 128;
  if (ascii) minuscula = buscada.toString().toLower();
  const auto empieza = [&](auto valor) {
    const int rapido = ascii ? EmpiezaAscii(valor, minuscula) : -1;
    return rapido == 1 || (rapido < 0 && Empieza(valor, buscada));
  };
  for (int fila = 0; fila < filas_; ++fila) {
    const int fisica = Fisica(fila);
    if (!cambios_.isEmpty() && cambios_.contains(qint64(fisica) * encabezados_.size() + columna)) {
      if (empieza(QStringView(Texto(fila, columna)))) return fila;
    } else if (Ver(fisica, columna, empieza)) {
      return fila;
    }
  }
  return -1;
}

qsizetype ModeloConsulta::Mayor(int columna) const {
  if (columna < 0 || columna >= static_cast<int>(leidas_.columnas.size())) return 0;
  return leidas_.columnas[columna].Mayor();
}
