// Lib_FrmCons3: the search boxes. Typing selects the first row that starts
// with the text, over the rows already listed; F5 filters on the database and
// reloads; "&Nueva Busqueda" goes back to the statement the window opened
// with.

#include <QComboBox>
#include <QKeyEvent>

#include "analisis/entrada.h"
#include "lookup/filtro_consulta.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/lista_consulta.h"
#include "services/convenciones.h"
#include "services/lib_datos.h"
#include "services/lib_util.h"
#include "services/operador.h"
#include "services/teclas.h"

bool Lib_FrmCons3::eventFilter(QObject* objeto, QEvent* evento) {
  const qsizetype indice = CmbSearch.indexOf(qobject_cast<QComboBox*>(objeto));
  if (indice < 0) return QDialog::eventFilter(objeto, evento);
  const int i = static_cast<int>(indice);
  if (evento->type() == QEvent::FocusIn) CmbSearch_GotFocus(i);
  if (evento->type() != QEvent::KeyPress) return false;
  const auto* tecla = static_cast<QKeyEvent*>(evento);
  bool usada = false;
  EnFrontera(QStringLiteral("CmbSearch_KeyDown"), [&] {
    usada = CmbSearch_KeyDown(i, teclas::CodigoVirtual(tecla->key()),
                              teclas::Modificadores(tecla->modifiers()));
  });
  return usada;
}

void Lib_FrmCons3::CmbSearch_GotFocus(int Index) { CajaActiva = Index; }

void Lib_FrmCons3::CmbSearch_Change(int Index) {
  Intentar([&] {
    const int columna = static_cast<int>(LibUtil::ValorNumerico(QString::number(Index)));
    const int posicion = Busqueda(columna, CmbSearch[Index]->currentText().trimmed());
    if (posicion != 0) {
      ListView1->SetSelectedItem(posicion - 1);
      ListView1->EnsureVisible(posicion - 1);
    }
  });
}

int Lib_FrmCons3::Busqueda(int Clave, const QString& QueValor) {
  int posicion = 0;
  Intentar([&] {
    const int fila = ListView1->Modelo().Buscar(Clave < 1 ? 0 : Clave, QueValor);
    if (fila >= 0) {
      ItemActual = fila;
      posicion = fila + 1;
    }
  });
  return posicion;
}

bool Lib_FrmCons3::CmbSearch_KeyDown(int Index, int KeyCode, int /*Shift*/) {
  switch (KeyCode) {
    case teclas::kF5:
      FiltrarF5(Index);
      return true;
    case teclas::kArriba:
    case teclas::kAbajo:
    case teclas::kRePag:
    case teclas::kAvPag:
      ListView1->setFocus(Qt::OtherFocusReason);
      return true;
    default:
      return false;
  }
}

void Lib_FrmCons3::FiltrarF5(int Index) {
  QComboBox* caja = CmbSearch[Index];
  // No statement is ever built from a text a NUL would cut: the operator
  // corrects the box, which keeps the text.
  if (TieneCaracteresDeControl(caja->currentText())) {
    ElOperador().Avisar(Operador::Estilo::Exclamacion, QStringLiteral("Aviso al operador"),
                        QStringLiteral("La búsqueda tiene caracteres de control (invisibles), "
                                       "que no se pueden buscar: bórrelos y escriba el texto de "
                                       "nuevo.\nNo se buscó nada."));
    return;
  }
  // Each condition is kept apart and the statement rebuilt from the first
  // one: whatever clauses it has, the conditions land where it takes them.
  Intentar([&] {
    // Box i filters column i, found by its place: two columns may share a name.
    filtros_.append({Index, caja->currentText()});
    Sql = filtro_consulta::Filtrada(LibDatos::Instancia().Conexion().dialecto(), SqlInicial,
                                    ListView1->Modelo().Encabezados(), filtros_);
  });
  Intentar([&] { caja->setEditText(QString()); });
  Intentar([&] { Form_Load(); });
}

void Lib_FrmCons3::CmdNueva_Click() {
  Intentar([&] {
    Sql = SqlInicial;
    filtros_.clear();
  });
  Intentar([&] { Form_Load(); });
  Intentar([&] { CmbSearch[0]->setFocus(Qt::OtherFocusReason); });
}

int Lib_FrmCons3::IndiceColumna(const QString& QueValor) const {
  const QString buscado = QueValor.trimmed();
  for (int posicion = 1; posicion <= ListView1->ColumnHeadersCount(); ++posicion)
    if (ListView1->ColumnHeaderText(posicion).trimmed().compare(buscado, Qt::CaseInsensitive) == 0)
      return posicion;
  return 0;
}
