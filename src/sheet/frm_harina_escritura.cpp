// frmHarina: storing one cell. The only path by which an edited cell reaches
// the database: one UPDATE of one column of the analysis row, which also
// stamps the row's modification moment.

#include <QDateTime>
#include <QLineEdit>

#include "services/convenciones.h"
#include "services/lib_campos.h"
#include "services/lib_datos.h"
#include "services/operador.h"
#include "sheet/columnas.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"
#include "sheet/entrada.h"
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

qint64 frmHarina::ClaveDeFilaOCero(int fila) const {
  return MSflexGrid1->TextMatrix(fila, 0).trimmed().toLongLong();
}

bool frmHarina::UpdateaCampo(QLineEdit* TXT) {
  PasosReportados pasos(QStringLiteral("UpdateaCampo"));
  QString campo;
  QString entrada;
  if (!pasos.Paso([&] {
        campo = TXT->property("DataField").toString().trimmed();
        entrada = TXT->text();
      }))
    return false;
  const ColumnaPlanilla* columna = ColumnaPorIndice(columnaEditor_);
  if (!columna || columna->dataField.compare(campo, Qt::CaseInsensitive) != 0) return false;
  const QString separador = LibCampos::SeparadorDecimal();
  // Confirmed as it was: nothing to write, and the modification moment stays.
  if (EntradaSinCambios(*columna, entrada, textoOriginal_, separador)) {
    TXT->setText(MSflexGrid1->TextMatrix(filaEditor_, columnaEditor_));
    return true;
  }
  // Skipping a key that cannot be read leaves it at 0, which the guard refuses.
  qint64 id = 0;
  if (!pasos.Paso([&] { id = ClaveDeFila(filaEditor_); })) return false;
  if (id == 0) {
    ElOperador().Avisar(Operador::Estilo::Critico, kAviso,
                        QStringLiteral("Mal Posicionamiento!!!, no se actualizará"));
    return false;
  }
  // Nothing is written, not even a 0, for an entry that is not what the
  // column holds: the operator corrects it.
  const EntradaLeida leida = LeerEntrada(*columna, entrada, separador);
  if (!leida.valida) {
    ElOperador().Avisar(Operador::Estilo::Exclamacion, kAviso, leida.motivo);
    return false;
  }

  int filas = -1;
  bool ejecutada = false;
  if (!pasos.Paso([&] {
        Conexion& conexion = LibDatos::Instancia().Conexion();
        conexion.Execute(sentencias::ActualizarCelda(conexion.dialecto(), Tabla, campo, leida.sql,
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
  // The cell shows what the database now holds; a new analysis's marker goes
  // once it has a flour type.
  TXT->setText(leida.celda);
  textoOriginal_ = leida.celda;
  if (columna->indice == 1 && !leida.celda.isEmpty()) marcadas_.remove(id);
  return true;
}
