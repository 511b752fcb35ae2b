#pragma once
// The quality limits of an analysis column for a flour type, and the
// judging of a value against them. Pure: the same rows, date and value give
// the same verdict.
//
// The rows that judge an analysis are those of its flour type (compared
// without case and surrounding blanks) and its column with the latest
// vigente_desde on or before the analysis's date: a change of limits
// never re-judges the past. Any bound may be missing (a one-sided limit); an
// empty value, or one that is no number, is never judged.

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <optional>

// One row of ta_limites.
struct Limite {
  QString tipoHarina;
  QString campo;  // the analysis column's field name (HUMEDAD, CENIZAS, ...)
  std::optional<double> minimo;
  std::optional<double> maximo;
  std::optional<double> avisoMinimo;  // the inner warning band
  std::optional<double> avisoMaximo;
  QDate vigenteDesde;

  friend bool operator==(const Limite&, const Limite&) = default;
};

enum class Veredicto {
  SinJuicio,  // no limits for it, or an empty value
  Dentro,
  Aviso,  // within the limits but outside the warning band
  Fuera,
};

// Which bound the value crossed.
enum class Lado { Ninguno, Arriba, Abajo };

struct Juicio {
  Veredicto veredicto = Veredicto::SinJuicio;
  Lado lado = Lado::Ninguno;
  double cota = 0;               // the bound crossed, when lado is not Ninguno
  std::optional<Limite> limite;  // the row that judged, when there is one

  friend bool operator==(const Juicio&, const Juicio&) = default;
};

// The row in force for that flour type, field and date; none when no row
// applies.
std::optional<Limite> LimiteVigente(const QList<Limite>& limites, const QString& tipoHarina,
                                    const QString& campo, const QDate& fecha);

// Every row by flour type and field (without case or blanks), for finding
// the rows of any date without a pass over every row; made once when the
// rows are read.
class IndiceDeLimites {
 public:
  IndiceDeLimites() = default;
  explicit IndiceDeLimites(const QList<Limite>& limites);

 private:
  friend class LimitesDelDia;
  QHash<QString, QList<Limite>> porClave_;  // the latest vigente_desde first
};

// The rows in force on one date, by flour type and field: the same verdicts
// as Juzgar on the whole list for that date, each found by one hash lookup
// instead of a pass over every row (a day's load judges hundreds of cells).
class LimitesDelDia {
 public:
  LimitesDelDia() = default;
  LimitesDelDia(const QList<Limite>& limites, const QDate& fecha);
  LimitesDelDia(const IndiceDeLimites& indice, const QDate& fecha);
  bool Vacio() const { return vigentes_.isEmpty(); }
  Juicio Juzgar(const QString& tipoHarina, const QString& campo, const QString& valor) const;
  // A number already read.
  Juicio Juzgar(const QString& tipoHarina, const QString& campo, double valor) const;

 private:
  const Limite* Vigente(const QString& tipoHarina, const QString& campo) const;

  QHash<QString, Limite> vigentes_;  // by flour type and field, without case or blanks
  // The rows found for a flour type and field as the cells spell them: a day
  // asks for the same few pairs hundreds of times, and a short list of a few
  // types, each with its six fields, is read faster than any hash of two texts.
  struct Hallado {
    QString campo;
    const Limite* limite;
  };
  struct HalladosDelTipo {
    QString tipo;
    QList<Hallado> campos;
  };
  mutable QList<HalladosDelTipo> hallados_;
};

// A number against one row: outside minimo..maximo is Fuera, inside them but
// outside avisoMinimo..avisoMaximo is Aviso; a value equal to a bound is
// within it. A row without any bound (the editor writes one to lift a
// column's limits from a date on) judges nothing: SinJuicio.
Juicio Juzgar(const Limite& limite, double valor);

// A cell's text (either decimal separator) for that flour type, field and
// date. An empty text, or one that is no number, is SinJuicio.
Juicio Juzgar(const QList<Limite>& limites, const QString& tipoHarina, const QString& campo,
              const QDate& fecha, const QString& valor);

// "▲" above the maximum, "▼" below the minimum, nothing otherwise.
QString Marca(Lado lado);

// The row as the operator reads it, numbers with the given separator:
// "0000 · HUMEDAD: máx. 15,0 · aviso > 14,5 · vigente desde 01/01/2026".
// Every number of the row shows as many decimals as the most precise of them.
QString DescribirLimite(const Limite& limite, const QString& separador);

// What a cell's tool tip says of its verdict: the verdict in words with its
// mark, then the row that judged it; empty for SinJuicio.
// "Fuera de especificación ▲\n0000 · HUMEDAD: máx. 15,0 · ...".
QString DescribirJuicio(const Juicio& juicio, const QString& separador);

// The status bar's line for a value stored out of its limits, naming the
// column as the operator knows it and the value as the cell shows it:
// "HUMEDAD 15,3 fuera de especificación (máx. 15,0) para 0000". Empty for
// any other verdict.
QString LineaFuera(const Juicio& juicio, const QString& columna, const QString& valor,
                   const QString& separador);

// A number of a limit as the operator reads it ("15,0", "0,492").
QString TextoDeCota(double valor, int decimales, const QString& separador);

// The bounds of a row alone, as a certificate's table gives them: "24 – 34",
// "máx. 15,0", "mín. 250"; the warning band is the lab's own and is left out.
// Empty for a row with neither bound.
QString DescribirCotas(const Limite& limite, const QString& separador);

// The bound a value crossed, as the operator reads it: "máx. 15,0" or
// "mín. 250"; empty for a verdict with no bound crossed.
QString CotaCruzada(const Juicio& juicio, const QString& separador);
