// frmHarina: storing one cell. The only path by which an edited cell reaches
// the database: one UPDATE of one column of the analysis row, which also
// stamps the row's modification moment.

#include <QDateTime>
#include <QLineEdit>

#include "services/convenciones.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"
#include "services/operador.h"
#include "sheet/columnas.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"
#include "sheet/horario.h"
#include "sheet/sentencias.h"

namespace {

const QString kAviso = QStringLiteral("Aviso al operador");

}  // namespace

qint64 frmHarina::ClaveDeFila(int fila) const {
  const QString texto = MSflexGrid1->TextMatrix(fila, 0).trimmed();
  bool esNumero = false;
  const qint64 clave = texto.toLongLong(&esNumero);
  if (!esNumero)
    throw Falla(Falla::kTipoIncompatible,
                QStringLiteral("La fila no tiene una clave de análisis válida («%1»).").arg(texto));
  return clave;
}

bool frmHarina::UpdateaCampo(QLineEdit* TXT) {
  PasosReportados pasos(QStringLiteral("UpdateaCampo"));
  QString campo;
  QString valor;
  if (!pasos.Paso([&] {
        campo = TXT->property("DataField").toString().trimmed();
        valor = TXT->text().trimmed();
      }))
    return false;
  // Skipping a key that cannot be read leaves it at 0, which the guard refuses.
  qint64 id = 0;
  if (!pasos.Paso([&] { id = ClaveDeFila(filaEditor_); })) return false;
  if (campo.compare(QLatin1String("horario"), Qt::CaseInsensitive) == 0)
    valor = FormatearHorario(valor);
  if (id == 0) {
    ElOperador().Avisar(Operador::Estilo::Critico, kAviso,
                        QStringLiteral("Mal Posicionamiento!!!, no se actualizará"));
    return false;
  }

  const TipoCampo tipo = TipoDeCampo(campo);
  if (tipo == TipoCampo::Clave || tipo == TipoCampo::Desconocido) return false;
  QString valorSql;
  try {
    valorSql = sentencias::ValorDeCelda(tipo, valor);
  } catch (const Falla&) {
    // Nothing is written, not even a 0: the operator corrects the entry.
    const QString columna = (MSflexGrid1->TextMatrix(0, columnaEditor_) + QLatin1Char(' ') +
                             MSflexGrid1->TextMatrix(1, columnaEditor_))
                                .trimmed();
    ElOperador().Avisar(
        Operador::Estilo::Exclamacion, kAviso,
        QStringLiteral("«%1» no es un número: la columna %2 solo admite números, con coma o punto "
                       "decimal (por ejemplo 12,5).\nNo se guardó nada.")
            .arg(valor, columna));
    return false;
  }

  int filas = -1;
  bool ejecutada = false;
  if (!pasos.Paso([&] {
        Conexion& conexion = LibDatos::Instancia().Conexion();
        conexion.Execute(sentencias::ActualizarCelda(conexion.dialecto(), Tabla, campo, valorSql,
                                                     QDateTime::currentDateTime(), id),
                         &filas);
        ejecutada = true;
      }))
    return false;
  if (!ejecutada) return false;
  if (filas == 0) {
    ElOperador().Avisar(Operador::Estilo::Exclamacion, kAviso,
                        QStringLiteral("Este análisis ya no está en la base de datos (otra "
                                       "estación lo borró).\nNo se guardó nada: vuelva a cargar "
                                       "la fecha."));
    return false;
  }
  // The cell shows what the database now holds.
  if (tipo == TipoCampo::Numero)
    TXT->setText(valorSql == QLatin1String("NULL") ? QString() : LibUtil::FormatearValor(valorSql));
  else
    TXT->setText(valor);
  return true;
}
