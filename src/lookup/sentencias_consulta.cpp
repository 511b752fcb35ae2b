#include "lookup/sentencias_consulta.h"

#include <QRegularExpression>
#include <cmath>

#include "services/lib_util.h"

namespace sentencias_consulta {

namespace {

constexpr int kFilasPorDefecto = 1000;

// The text without the bytes 0 and 255 the old file format leaves in unused
// space, trimmed of blanks.
QString Limpio(const QString& texto) {
  return LibUtil::QuitarCaracteres(texto, QString(QChar(0)), QString(QChar(0xFF))).trimmed();
}

QString Columnas(const QString& campos) {
  QString lista =
      LibUtil::Reemplazar(Limpio(campos), QStringLiteral("|"), QStringLiteral(",")).trimmed();
  if (lista.startsWith(QLatin1Char(','))) lista.remove(0, 1);
  if (lista.endsWith(QLatin1Char(','))) lista.chop(1);
  if (lista.trimmed().isEmpty()) return QStringLiteral("*");
  return lista;
}

// A condition that opens with its connective, as a caller's where does when
// the registered filter is blank, loses it.
QString SinConectorInicial(const QString& condicion) {
  static const QRegularExpression conector(QStringLiteral("^\\s*(AND|OR)\\s+"),
                                           QRegularExpression::CaseInsensitiveOption);
  QString resto = condicion;
  return resto.remove(conector);
}

}  // namespace

int LimiteFilas(const QString& topConsArt) {
  const double valor = LibUtil::NumeroInicial(topConsArt);
  if (valor == 0.0 || !std::isfinite(valor)) return kFilasPorDefecto;
  // nearbyint rounds a half to the even neighbour in the default rounding mode.
  const double redondeado = std::nearbyint(valor);
  if (redondeado < 1.0 || redondeado > 2147483647.0) return kFilasPorDefecto;
  return static_cast<int>(redondeado);
}

bool EsSentencia(const QString& sql) {
  return sql.contains(QLatin1String("SELECT"), Qt::CaseInsensitive);
}

bool TieneOrden(const QString& sql) {
  return sql.contains(QLatin1String("ORDER BY"), Qt::CaseInsensitive);
}

QString Registrada(const Dialecto& dialecto, int limite, const RegistroMascara& registro,
                   QString& campoBusqueda, const QString& where) {
  const QString tabla = Limpio(registro.Tabla);
  const QString campos = Columnas(registro.Campos);
  // A blank column list ("*") has no first column to order by.
  if (campoBusqueda.isEmpty() && campos != QLatin1String("*"))
    campoBusqueda = campos.section(QLatin1Char(','), 0, 0);

  QString condicion = Limpio(registro.Filtro) + QLatin1Char(' ') + where;
  if (condicion.trimmed().isEmpty()) {
    if (tabla.compare(QLatin1String("VT_PROVEEDORES"), Qt::CaseInsensitive) == 0 ||
        tabla.compare(QLatin1String("VT_CLIENTES"), Qt::CaseInsensitive) == 0)
      condicion = QStringLiteral("Dada_De_Baja = 0");
    else if (tabla.compare(QLatin1String("V_MA_ARTICULOS"), Qt::CaseInsensitive) == 0)
      condicion = QStringLiteral("SUSPENDIDO = 0");
  } else {
    condicion = SinConectorInicial(condicion);
  }
  const QString w = condicion.trimmed().isEmpty() ? QString() : QStringLiteral(" WHERE ");
  QString resto = campos + QStringLiteral(" FROM ") + tabla + w + condicion;
  if (!campoBusqueda.trimmed().isEmpty() && campoBusqueda.trimmed() != QLatin1String("*"))
    resto += QStringLiteral(" ORDER BY ") + campoBusqueda;
  return dialecto.SelectTop(limite, resto);
}

}  // namespace sentencias_consulta
