#include "report/formula_reporte.h"

#include <QTime>

#include "analisis/columnas.h"
#include "services/falla.h"
#include "services/fechas.h"

namespace formula {

namespace {

// The class a formula gives a field of v_mv_zentalia, by what it holds.
Clase ClaseDe(TipoCampo tipo) {
  switch (tipo) {
    case TipoCampo::Clave:
    case TipoCampo::Numero:
      return Clase::Numero;
    case TipoCampo::Momento:
      return Clase::Fecha;
    case TipoCampo::Hora:
      return Clase::Hora;
    case TipoCampo::Texto:
    case TipoCampo::Desconocido:
      break;
  }
  return Clase::Texto;
}

const QString kTabla = QStringLiteral("v_mv_zentalia");

enum class Ficha { Campo, Numero, Texto, Palabra, Comparador, Abre, Cierra, Coma, Menos, Fin };

struct Token {
  Ficha ficha;
  QString texto;       // Campo: between the braces; Texto: unquoted; Comparador: as written
  qsizetype posicion;  // 0-based, in the formula
};

// A reading failure at a position of the formula.
struct Tropiezo {
  qsizetype posicion;
  QString porque;
};

std::vector<Token> Fichas(const QString& f) {
  std::vector<Token> fichas;
  qsizetype i = 0;
  const qsizetype n = f.size();
  while (i < n) {
    const QChar c = f.at(i);
    if (c.isSpace()) {
      ++i;
      continue;
    }
    const qsizetype inicio = i;
    if (c == QLatin1Char('{')) {
      const qsizetype cierre = f.indexOf(QLatin1Char('}'), i + 1);
      if (cierre < 0) throw Tropiezo{i, QStringLiteral("falta la llave que cierra el campo")};
      fichas.push_back({Ficha::Campo, f.mid(i + 1, cierre - i - 1), inicio});
      i = cierre + 1;
    } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
      QString texto;
      ++i;
      for (;;) {
        if (i >= n) throw Tropiezo{inicio, QStringLiteral("falta la comilla que cierra el texto")};
        if (f.at(i) == c) {
          if (i + 1 < n && f.at(i + 1) == c) {
            texto += c;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        texto += f.at(i++);
      }
      fichas.push_back({Ficha::Texto, texto, inicio});
    } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && f.at(i + 1).isDigit())) {
      while (i < n && f.at(i).isDigit()) ++i;
      if (i < n && f.at(i) == QLatin1Char('.')) {
        ++i;
        if (i >= n || !f.at(i).isDigit())
          throw Tropiezo{inicio, QStringLiteral("número mal escrito")};
        while (i < n && f.at(i).isDigit()) ++i;
      }
      QString numero = f.mid(inicio, i - inicio);
      if (numero.startsWith(QLatin1Char('.'))) numero.prepend(QLatin1Char('0'));
      fichas.push_back({Ficha::Numero, numero, inicio});
    } else if (c.isLetter() || c == QLatin1Char('_')) {
      while (i < n && (f.at(i).isLetterOrNumber() || f.at(i) == QLatin1Char('_'))) ++i;
      fichas.push_back({Ficha::Palabra, f.mid(inicio, i - inicio), inicio});
    } else if (c == QLatin1Char('<') || c == QLatin1Char('>') || c == QLatin1Char('=')) {
      QString comparador(c);
      ++i;
      if (c == QLatin1Char('<') && i < n &&
          (f.at(i) == QLatin1Char('=') || f.at(i) == QLatin1Char('>')))
        comparador += f.at(i++);
      else if (c == QLatin1Char('>') && i < n && f.at(i) == QLatin1Char('='))
        comparador += f.at(i++);
      fichas.push_back({Ficha::Comparador, comparador, inicio});
    } else if (c == QLatin1Char('(')) {
      fichas.push_back({Ficha::Abre, QString(c), i++});
    } else if (c == QLatin1Char(')')) {
      fichas.push_back({Ficha::Cierra, QString(c), i++});
    } else if (c == QLatin1Char(',')) {
      fichas.push_back({Ficha::Coma, QString(c), i++});
    } else if (c == QLatin1Char('-')) {
      fichas.push_back({Ficha::Menos, QString(c), i++});
    } else {
      throw Tropiezo{i, QStringLiteral("el carácter «%1» no pertenece a una fórmula").arg(c)};
    }
  }
  fichas.push_back({Ficha::Fin, QString(), n});
  return fichas;
}

Comparador DeTexto(const QString& t) {
  if (t == QLatin1String("=")) return Comparador::Igual;
  if (t == QLatin1String("<>")) return Comparador::Distinto;
  if (t == QLatin1String("<")) return Comparador::Menor;
  if (t == QLatin1String("<=")) return Comparador::MenorIgual;
  if (t == QLatin1String(">")) return Comparador::Mayor;
  return Comparador::MayorIgual;
}

// The comparator seen from the other side: a < b is b > a.
Comparador Girado(Comparador c) {
  switch (c) {
    case Comparador::Menor:
      return Comparador::Mayor;
    case Comparador::MenorIgual:
      return Comparador::MayorIgual;
    case Comparador::Mayor:
      return Comparador::Menor;
    case Comparador::MayorIgual:
      return Comparador::MenorIgual;
    case Comparador::Igual:
    case Comparador::Distinto:
      break;
  }
  return c;
}

bool EsPalabra(const Token& t, const char* palabra) {
  return t.ficha == Ficha::Palabra &&
         t.texto.compare(QLatin1String(palabra), Qt::CaseInsensitive) == 0;
}

// The reader goes one call deeper for each parenthesis and each NOT; past this
// many levels open at once a formula is refused before the stack runs out. No
// formula a person writes comes near it.
constexpr int kNivelesMaximos = 100;

class Lector {
 public:
  explicit Lector(std::vector<Token> fichas) : fichas_(std::move(fichas)) {}

  Condicion Todo() {
    Condicion condicion = O();
    if (Actual().ficha != Ficha::Fin)
      throw Tropiezo{Actual().posicion, QStringLiteral("sobra texto")};
    return condicion;
  }

 private:
  const Token& Actual() const { return fichas_[i_]; }
  Token Tomar() { return fichas_[i_ < fichas_.size() - 1 ? i_++ : i_]; }
  void Esperar(Ficha ficha, const QString& que) {
    if (Actual().ficha != ficha)
      throw Tropiezo{Actual().posicion, QStringLiteral("se esperaba ") + que};
    Tomar();
  }

  Condicion Unir(Condicion::Tipo tipo, Condicion primera, Condicion (Lector::*siguiente)(),
                 const char* palabra) {
    if (!EsPalabra(Actual(), palabra)) return primera;
    Condicion union_;
    union_.tipo = tipo;
    union_.hijos.push_back(std::move(primera));
    while (EsPalabra(Actual(), palabra)) {
      Tomar();
      union_.hijos.push_back((this->*siguiente)());
    }
    return union_;
  }

  // One more level for as long as it lives.
  class Nivel {
   public:
    Nivel(Lector& lector, qsizetype posicion) : lector_(lector) {
      if (lector_.niveles_ == kNivelesMaximos)
        throw Tropiezo{posicion,
                       QStringLiteral("anida más de %1 paréntesis o NOT").arg(kNivelesMaximos)};
      ++lector_.niveles_;
    }
    ~Nivel() { --lector_.niveles_; }
    Nivel(const Nivel&) = delete;
    Nivel& operator=(const Nivel&) = delete;

   private:
    Lector& lector_;
  };

  Condicion O() { return Unir(Condicion::Tipo::O, Y(), &Lector::Y, "OR"); }
  Condicion Y() { return Unir(Condicion::Tipo::Y, No(), &Lector::No, "AND"); }

  Condicion No() {
    if (!EsPalabra(Actual(), "NOT")) return Comparacion();
    const Nivel nivel(*this, Tomar().posicion);
    Condicion no;
    no.tipo = Condicion::Tipo::No;
    no.hijos.push_back(No());
    return no;
  }

  Condicion Comparacion() {
    if (Actual().ficha == Ficha::Abre) {
      const Nivel nivel(*this, Tomar().posicion);
      Condicion dentro = O();
      Esperar(Ficha::Cierra, QStringLiteral("«)»"));
      return dentro;
    }
    const qsizetype inicio = Actual().posicion;
    Operando izquierdo = LeerOperando();
    if (Actual().ficha != Ficha::Comparador)
      throw Tropiezo{Actual().posicion,
                     QStringLiteral("se esperaba una comparación (=, <>, <, <=, >, >=)")};
    Comparador comparador = DeTexto(Tomar().texto);
    Operando derecho = LeerOperando();
    if (izquierdo.tipo != Operando::Tipo::Campo) {
      if (derecho.tipo != Operando::Tipo::Campo)
        throw Tropiezo{inicio, QStringLiteral("la comparación no nombra ningún campo")};
      std::swap(izquierdo, derecho);
      comparador = Girado(comparador);
    }
    Comprobar(izquierdo, derecho, inicio);
    Condicion comparacion;
    comparacion.izquierdo = std::move(izquierdo);
    comparacion.comparador = comparador;
    comparacion.derecho = std::move(derecho);
    return comparacion;
  }

  // The kinds must agree; a time is normalised to hh:mm:ss.
  static void Comprobar(const Operando& campo, Operando& otro, qsizetype posicion) {
    const auto distinta = [&](const QString& que) {
      return Tropiezo{posicion,
                      QStringLiteral("el campo %1 no se compara con %2").arg(campo.campo, que)};
    };
    switch (otro.tipo) {
      case Operando::Tipo::Campo:
        if (otro.clase != campo.clase) throw distinta(QStringLiteral("el campo ") + otro.campo);
        return;
      case Operando::Tipo::Fecha:
        if (campo.clase != Clase::Fecha) throw distinta(QStringLiteral("una fecha"));
        return;
      case Operando::Tipo::Numero:
        if (campo.clase != Clase::Numero) throw distinta(QStringLiteral("un número"));
        return;
      case Operando::Tipo::Texto:
        if (campo.clase == Clase::Texto) return;
        if (campo.clase == Clase::Hora) {
          const QString hora = otro.valor.trimmed();
          QTime tiempo = QTime::fromString(hora, QStringLiteral("H:mm:ss"));
          if (!tiempo.isValid()) tiempo = QTime::fromString(hora, QStringLiteral("H:mm"));
          if (!tiempo.isValid())
            throw distinta(QStringLiteral("«%1», que no es una hora").arg(otro.valor));
          otro.valor = tiempo.toString(QStringLiteral("HH:mm:ss"));
          return;
        }
        throw distinta(QStringLiteral("un texto"));
    }
  }

  Operando LeerOperando() {
    const Token t = Tomar();
    Operando operando;
    switch (t.ficha) {
      case Ficha::Campo:
        return Campo(t);
      case Ficha::Numero:
        operando.tipo = Operando::Tipo::Numero;
        operando.valor = t.texto;
        return operando;
      case Ficha::Menos:
        if (Actual().ficha != Ficha::Numero)
          throw Tropiezo{t.posicion, QStringLiteral("el signo menos va delante de un número")};
        operando.tipo = Operando::Tipo::Numero;
        operando.valor = QLatin1Char('-') + Tomar().texto;
        return operando;
      case Ficha::Texto:
        operando.tipo = Operando::Tipo::Texto;
        operando.valor = t.texto;
        return operando;
      case Ficha::Palabra:
        if (EsPalabra(t, "cdate") || EsPalabra(t, "date")) return Fecha(t);
        throw Tropiezo{t.posicion, QStringLiteral("«%1» no es un campo ni un valor").arg(t.texto)};
      default:
        break;
    }
    throw Tropiezo{t.posicion, t.ficha == Ficha::Fin
                                   ? QStringLiteral("la fórmula termina antes de tiempo")
                                   : QStringLiteral("se esperaba un campo o un valor")};
  }

  static Operando Campo(const Token& t) {
    const QStringList partes = t.texto.split(QLatin1Char('.'));
    if (partes.size() != 2)
      throw Tropiezo{t.posicion, QStringLiteral("el campo {%1} no es {TABLA.CAMPO}").arg(t.texto)};
    if (partes[0].trimmed().compare(kTabla, Qt::CaseInsensitive) != 0)
      throw Tropiezo{t.posicion,
                     QStringLiteral("la tabla «%1» no es la del reporte").arg(partes[0])};
    // Any field of the record, spelled as the report spells it.
    for (const ColumnaAnalisis& columna : CamposAnalisis()) {
      if (partes[1].trimmed().compare(columna.campo, Qt::CaseInsensitive) == 0) {
        Operando operando;
        operando.tipo = Operando::Tipo::Campo;
        operando.campo = columna.campo;
        operando.clase = ClaseDe(columna.tipo);
        return operando;
      }
    }
    throw Tropiezo{t.posicion, QStringLiteral("la tabla no tiene el campo «%1»").arg(partes[1])};
  }

  // cdate('d/m/y'), cdate(y, m, d), Date(y, m, d), Date('d/m/y').
  Operando Fecha(const Token& nombre) {
    Esperar(Ficha::Abre, QStringLiteral("«(» después de ") + nombre.texto);
    std::optional<QDate> fecha;
    if (Actual().ficha == Ficha::Texto) {
      const Token texto = Tomar();
      fecha = fechas::LeerFecha(texto.texto);
      if (!fecha)
        throw Tropiezo{texto.posicion, QStringLiteral("«%1» no es una fecha").arg(texto.texto)};
    } else {
      int partes[3] = {0, 0, 0};
      for (int k = 0; k < 3; ++k) {
        if (k > 0) Esperar(Ficha::Coma, QStringLiteral("«,» entre el año, el mes y el día"));
        if (Actual().ficha != Ficha::Numero || Actual().texto.contains(QLatin1Char('.')))
          throw Tropiezo{Actual().posicion, QStringLiteral("se esperaba un número entero")};
        partes[k] = Tomar().texto.left(6).toInt();
      }
      const QDate dia(partes[0], partes[1], partes[2]);
      if (!dia.isValid() || partes[0] < 1000)
        throw Tropiezo{nombre.posicion, QStringLiteral("%1(%2,%3,%4) no es una fecha")
                                            .arg(nombre.texto)
                                            .arg(partes[0])
                                            .arg(partes[1])
                                            .arg(partes[2])};
      fecha = dia;
    }
    Esperar(Ficha::Cierra, QStringLiteral("«)»"));
    Operando operando;
    operando.tipo = Operando::Tipo::Fecha;
    operando.fecha = *fecha;
    return operando;
  }

  std::vector<Token> fichas_;
  std::size_t i_ = 0;
  int niveles_ = 0;
};

}  // namespace

std::optional<Condicion> LeerFormula(const QString& formula) {
  if (formula.trimmed().isEmpty()) return std::nullopt;
  try {
    return Lector(Fichas(formula)).Todo();
  } catch (const Tropiezo& tropiezo) {
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("La fórmula de selección «%1» no se puede leer: %2 (carácter %3).")
                    .arg(formula, tropiezo.porque, QString::number(tropiezo.posicion + 1)));
  }
}

std::optional<Asignacion> LeerAsignacion(const QString& texto) {
  const qsizetype igual = texto.indexOf(QLatin1Char('='));
  if (igual < 0) return std::nullopt;
  Asignacion asignacion{texto.left(igual).trimmed(), texto.mid(igual + 1).trimmed()};
  if (asignacion.nombre.isEmpty()) return std::nullopt;
  QString& valor = asignacion.valor;
  // The text goes into the assignment as it is: a quote inside it is not
  // doubled, so only the outer pair is taken off.
  for (const QChar comilla : {QLatin1Char('\''), QLatin1Char('"')}) {
    if (valor.size() >= 2 && valor.startsWith(comilla) && valor.endsWith(comilla)) {
      valor = valor.mid(1, valor.size() - 2);
      break;
    }
  }
  return asignacion;
}

}  // namespace formula
