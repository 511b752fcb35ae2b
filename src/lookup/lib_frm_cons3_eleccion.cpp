// Lib_FrmCons3: how a lookup ends. Accepting takes the selected row (or every
// checked row) into the answer; cancelling, by button, Esc or the close box,
// answers nothing. In the list, Insert and Delete keep quantities, a typed
// character goes on to the active search box, and a header click sorts.

#include <QComboBox>

#include "lookup/cantidades.h"
#include "lookup/lib_frm_cons3.h"
#include "lookup/lista_consulta.h"
#include "services/convenciones.h"
#include "services/falla.h"
#include "services/operador.h"
#include "services/teclas.h"

namespace {

const QString kColumnaCantidad = QStringLiteral("**Cantidad**");

}  // namespace

QString Lib_FrmCons3::ValorDeColumna(int item, const QString& nombre) const {
  // A name that matches no column answers an empty text, never the value of
  // another column.
  const int c = IndiceColumna(nombre);
  if (c == 0) return {};
  return c == 1 ? ListView1->Text(item) : ListView1->SubItems(item, c - 1);
}

void Lib_FrmCons3::CmdAceptar_Click() {
  PasosReportados pasos(QStringLiteral("CmdAceptar_Click"));
  if (CheckBoxes) {
    if (!pasos.Paso([&] {
          if (CampoDevuelto.isEmpty()) CampoDevuelto = ListView1->ColumnHeaderText(1);
        }))
      return;
    if (!pasos.Paso([&] {
          if (!Valores) Valores = QStringList();
          for (int item = 0; item < ListView1->ListItemsCount(); ++item)
            if (ListView1->Checked(item)) Valores->append(ValorDeColumna(item, CampoDevuelto));
        }))
      return;
  } else {
    const int item = ListView1->SelectedItem();
    if (item >= 0) {
      QString valor;
      if (!pasos.Paso([&] {
            if (!Valores) Valores = QStringList();
            if (CmpsDevueltos)
              for (const QString& nombre : *CmpsDevueltos) {
                valor = ValorDeColumna(item, nombre);
                Valores->append(valor);
              }
          }))
        return;
      if (!pasos.Paso([&] {
            if (!CampoDevuelto.trimmed().isEmpty()) valor = ValorDeColumna(item, CampoDevuelto);
          }))
        return;
      if (!pasos.Paso([&] { ValorDevuelto = valor; })) return;
    }
  }
  done(QDialog::Accepted);
}

void Lib_FrmCons3::CmdCancelar_Click() { reject(); }

void Lib_FrmCons3::reject() {
  Intentar([&] {
    ValorDevuelto = QString();
    CmpsDevueltos.reset();
    Valores.reset();
  });
  QDialog::reject();
}

bool Lib_FrmCons3::ListView1_KeyDown(int KeyCode, int Shift, const QString& texto) {
  PasosReportados pasos(QStringLiteral("ListView1_KeyDown"));
  switch (KeyCode) {
    case teclas::kEnter:
      pasos.Paso([&] { CmdAceptar_Click(); });
      return true;
    case teclas::kInsertar:
    case teclas::kSuprimir:
      if (UsaCantidades) pasos.Paso([&] { Cantidad(KeyCode, Shift); });
      return true;
    case teclas::kRetroceso:
      pasos.Paso([&] {
        QComboBox* caja = CmbSearch.value(CajaActiva, CmbSearch[0]);
        QString resto = caja->currentText();
        resto.chop(1);
        caja->setEditText(resto);
        caja->setFocus(Qt::OtherFocusReason);
      });
      return true;
    default:
      break;
  }
  // A character typed in the list goes on to the active search box, as typed.
  if (Shift & (teclas::kCtrl | teclas::kAlt)) return false;
  if (texto.isEmpty() || !texto.at(0).isPrint()) return false;
  pasos.Paso([&] {
    QComboBox* caja = CmbSearch.value(CajaActiva, CmbSearch[0]);
    caja->setEditText(caja->currentText() + texto);
    caja->setFocus(Qt::OtherFocusReason);
  });
  return true;
}

void Lib_FrmCons3::Cantidad(int KeyCode, int Shift) {
  const int item = ListView1->SelectedItem();
  if (item < 0) throw Falla(Falla::kArgumentoInvalido, QStringLiteral("No hay una fila elegida."));
  const int columna = IndiceColumna(kColumnaCantidad) - 1;
  if (columna < 0)
    throw Falla(Falla::kArgumentoInvalido,
                QStringLiteral("La consulta no tiene la columna %1.").arg(kColumnaCantidad));
  const QString actual = ListView1->SubItems(item, columna);
  std::optional<cantidades::Cambio> cambio;
  if (KeyCode == teclas::kInsertar && Shift == teclas::kShift) {
    cambio = cantidades::Respuesta(
        ElOperador().PedirTexto(QStringLiteral("Carga de Datos"),
                                QStringLiteral("Ingrese la Cantidad del Articulo..."), actual));
  } else if (KeyCode == teclas::kInsertar && Shift == 0) {
    cambio = cantidades::MasUno(actual);
  } else if (KeyCode == teclas::kSuprimir && Shift == 0) {
    cambio = cantidades::MenosUno(actual);
  }
  if (!cambio) return;
  ListView1->SetSubItems(item, columna, cambio->cantidad);
  if (cambio->marcada) ListView1->SetChecked(item, *cambio->marcada);
}

void Lib_FrmCons3::ListView1_ColumnClick(int seccion) {
  Intentar([&] { ListView1->Ordenar(seccion, ListView1->SortOrder() == 0 ? 1 : 0); });
}
