#include "analisis/limites.h"

#include <QStringList>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>

#include "analisis/columnas.h"

namespace {

bool MismoTexto(const QString& a, const QString& b) {
  return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

// The same text exactly, told first by its shared storage: the cells ask with
// the column table's own field names and a row's own flour type, time and
// again.
bool Identico(const QString& a, const QString& b) {
  return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// The decimals of the shortest text that gives the number back.
int Decimales(double valor) {
  const QString texto = QString::number(valor, 'f', 10);
  const qsizetype punto = texto.indexOf(QLatin1Char('.'));
  qsizetype fin = texto.size();
  while (fin > punto + 1 && texto.at(fin - 1) == QLatin1Char('0')) --fin;
  return int(fin - punto - 1);
}

std::optional<double> Numero(const QString& texto) {
  QString limpio = texto.trimmed();
  if (limpio.isEmpty()) return std::nullopt;
  limpio.replace(QLatin1Char(','), QLatin1Char('.'));
  bool leido = false;
  const double valor = limpio.toDouble(&leido);
  if (!leido || !std::isfinite(valor)) return std::nullopt;
  return valor;
}

}  // namespace

std::optional<Limite> LimiteVigente(const QList<Limite>& limites, const QString& tipoHarina,
                                    const QString& campo, const QDate& fecha) {
  const Limite* elegido = nullptr;
  for (const Limite& limite : limites) {
    if (!MismoTexto(limite.tipoHarina, tipoHarina) || !MismoTexto(limite.campo, campo)) continue;
    if (!limite.vigenteDesde.isValid() || !fecha.isValid() || limite.vigenteDesde > fecha) continue;
    if (!elegido || limite.vigenteDesde > elegido->vigenteDesde) elegido = &limite;
  }
  if (!elegido) return std::nullopt;
  return *elegido;
}

Juicio Juzgar(const Limite& limite, double valor) {
  // A row without bounds lifts the column's limits from its date on.
  if (!limite.minimo && !limite.maximo && !limite.avisoMinimo && !limite.avisoMaximo) return {};
  // One Juicio, returned in place: a day's load judges hundreds of cells, and
  // each copy of it is a copy of its row.
  Juicio juicio;
  juicio.limite = limite;
  juicio.veredicto = Veredicto::Dentro;
  const auto cruzar = [&juicio](Veredicto veredicto, Lado lado, double cota) {
    juicio.veredicto = veredicto;
    juicio.lado = lado;
    juicio.cota = cota;
  };
  if (limite.maximo && valor > *limite.maximo)
    cruzar(Veredicto::Fuera, Lado::Arriba, *limite.maximo);
  else if (limite.minimo && valor < *limite.minimo)
    cruzar(Veredicto::Fuera, Lado::Abajo, *limite.minimo);
  else if (limite.avisoMaximo && valor > *limite.avisoMaximo)
    cruzar(Veredicto::Aviso, Lado::Arriba, *limite.avisoMaximo);
  else if (limite.avisoMinimo && valor < *limite.avisoMinimo)
    cruzar(Veredicto::Aviso, Lado::Abajo, *limite.avisoMinimo);
  return juicio;
}

Juicio Juzgar(const QList<Limite>& limites, const QString& tipoHarina, const QString& campo,
              const QDate& fecha, const QString& valor) {
  const std::optional<double> numero = Numero(valor);
  if (!numero) return {};
  const std::optional<Limite> limite = LimiteVigente(limites, tipoHarina, campo, fecha);
  if (!limite) return {};
  return Juzgar(*limite, *numero);
}

namespace {

QString ClaveDeLimite(const QString& tipoHarina, const QString& campo) {
  return tipoHarina.trimmed().toUpper() + QLatin1Char('\n') + campo.trimmed().toUpper();
}

}  // namespace

IndiceDeLimites::IndiceDeLimites(const QList<Limite>& limites) {
  for (const Limite& limite : limites)
    if (limite.vigenteDesde.isValid())
      porClave_[ClaveDeLimite(limite.tipoHarina, limite.campo)].append(limite);
  // Of two rows of the same date, the first read holds (as LimiteVigente).
  for (QList<Limite>& filas : porClave_)
    std::stable_sort(filas.begin(), filas.end(), [](const Limite& a, const Limite& b) {
      return a.vigenteDesde > b.vigenteDesde;
    });
}

LimitesDelDia::LimitesDelDia(const QList<Limite>& limites, const QDate& fecha)
    : LimitesDelDia(IndiceDeLimites(limites), fecha) {}

LimitesDelDia::LimitesDelDia(const IndiceDeLimites& indice, const QDate& fecha) {
  if (!fecha.isValid()) return;
  for (auto filas = indice.porClave_.cbegin(); filas != indice.porClave_.cend(); ++filas) {
    for (const Limite& limite : *filas) {
      if (limite.vigenteDesde > fecha) continue;
      vigentes_.insert(filas.key(), limite);
      break;
    }
  }
}

const Limite* LimitesDelDia::Vigente(const QString& tipoHarina, const QString& campo) const {
  auto delTipo = std::find_if(hallados_.begin(), hallados_.end(), [&](const HalladosDelTipo& h) {
    return Identico(h.tipo, tipoHarina);
  });
  if (delTipo == hallados_.end()) {
    hallados_.append({tipoHarina, {}});
    delTipo = std::prev(hallados_.end());
  }
  for (const Hallado& hallado : std::as_const(delTipo->campos))
    if (Identico(hallado.campo, campo)) return hallado.limite;
  const auto limite = vigentes_.constFind(ClaveDeLimite(tipoHarina, campo));
  const Limite* vigente = limite == vigentes_.cend() ? nullptr : &*limite;
  delTipo->campos.append({campo, vigente});
  return vigente;
}

Juicio LimitesDelDia::Juzgar(const QString& tipoHarina, const QString& campo,
                             const QString& valor) const {
  if (vigentes_.isEmpty()) return {};
  const std::optional<double> numero = Numero(valor);
  if (!numero) return {};
  return Juzgar(tipoHarina, campo, *numero);
}

Juicio LimitesDelDia::Juzgar(const QString& tipoHarina, const QString& campo, double valor) const {
  if (!std::isfinite(valor)) return {};
  const Limite* limite = Vigente(tipoHarina, campo);
  if (!limite) return {};
  return ::Juzgar(*limite, valor);
}

QString Marca(Lado lado) {
  switch (lado) {
    case Lado::Arriba:
      return QStringLiteral("▲");
    case Lado::Abajo:
      return QStringLiteral("▼");
    case Lado::Ninguno:
      break;
  }
  return {};
}

QString TextoDeCota(double valor, int decimales, const QString& separador) {
  QString texto = QString::number(valor, 'f', decimales);
  texto.replace(QLatin1Char('.'), separador);
  return texto;
}

namespace {

// The decimals every number of a row shows: those of its most precise one.
int DecimalesDeFila(const Limite& limite) {
  int decimales = 0;
  for (const auto& cota : {limite.minimo, limite.maximo, limite.avisoMinimo, limite.avisoMaximo})
    if (cota) decimales = std::max(decimales, Decimales(*cota));
  return decimales;
}

}  // namespace

QString DescribirLimite(const Limite& limite, const QString& separador) {
  const int decimales = DecimalesDeFila(limite);
  const auto numero = [&](double valor) { return TextoDeCota(valor, decimales, separador); };
  QStringList partes;
  if (limite.minimo) partes << QStringLiteral("mín. ") + numero(*limite.minimo);
  if (limite.maximo) partes << QStringLiteral("máx. ") + numero(*limite.maximo);
  if (limite.avisoMinimo) partes << QStringLiteral("aviso < ") + numero(*limite.avisoMinimo);
  if (limite.avisoMaximo) partes << QStringLiteral("aviso > ") + numero(*limite.avisoMaximo);
  partes << QStringLiteral("vigente desde ") +
                limite.vigenteDesde.toString(QStringLiteral("dd/MM/yyyy"));
  const ColumnaAnalisis* columna = CampoPorNombre(limite.campo.trimmed());
  const QString nombre = columna ? NombreColumna(*columna) : limite.campo.trimmed();
  return QStringLiteral("%1 · %2: %3")
      .arg(limite.tipoHarina.trimmed(), nombre, partes.join(QStringLiteral(" · ")));
}

QString DescribirJuicio(const Juicio& juicio, const QString& separador) {
  if (juicio.veredicto == Veredicto::SinJuicio || !juicio.limite) return {};
  QString veredicto;
  switch (juicio.veredicto) {
    case Veredicto::Fuera:
      veredicto = QStringLiteral("Fuera de especificación ") + Marca(juicio.lado);
      break;
    case Veredicto::Aviso:
      veredicto = QStringLiteral("Aviso: fuera de la banda de aviso ") + Marca(juicio.lado);
      break;
    default:
      veredicto = QStringLiteral("Dentro de especificación");
      break;
  }
  return veredicto + QLatin1Char('\n') + DescribirLimite(*juicio.limite, separador);
}

QString LineaFuera(const Juicio& juicio, const QString& columna, const QString& valor,
                   const QString& separador) {
  if (juicio.veredicto != Veredicto::Fuera || !juicio.limite) return {};
  return QStringLiteral("%1 %2 fuera de especificación (%3) para %4")
      .arg(columna, valor.trimmed(), CotaCruzada(juicio, separador),
           juicio.limite->tipoHarina.trimmed());
}

QString CotaCruzada(const Juicio& juicio, const QString& separador) {
  if (juicio.lado == Lado::Ninguno || !juicio.limite) return {};
  return (juicio.lado == Lado::Arriba ? QStringLiteral("máx. ") : QStringLiteral("mín. ")) +
         TextoDeCota(juicio.cota, DecimalesDeFila(*juicio.limite), separador);
}

QString DescribirCotas(const Limite& limite, const QString& separador) {
  const int decimales = DecimalesDeFila(limite);
  const auto numero = [&](double valor) { return TextoDeCota(valor, decimales, separador); };
  if (limite.minimo && limite.maximo)
    return numero(*limite.minimo) + QStringLiteral(" – ") + numero(*limite.maximo);
  if (limite.maximo) return QStringLiteral("máx. ") + numero(*limite.maximo);
  if (limite.minimo) return QStringLiteral("mín. ") + numero(*limite.minimo);
  return {};
}
