// frmHarina: the database out of reach. Entries confirmed meanwhile stay on
// screen marked as not stored and reach the database, in order, once it is
// back; the status bar says how things stand; closing asks before dropping
// any.

#include <QApplication>
#include <QLineEdit>
#include <QPoint>
#include <QTimer>

#include "services/convenciones.h"
#include "services/lib_campos.h"
#include "services/operador.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

namespace {

// The editor open over a cell holds back the stores of waiting entries: the
// window looks again this often.
constexpr int kEsperaEditorMs = 500;

}  // namespace

void frmHarina::MarcarPendientes() {
  QList<QPoint> celdas;
  for (const Planilla::Pendiente& pendiente : planilla_.Pendientes()) {
    const int fila = planilla_.FilaDe(pendiente.id);
    if (fila >= 0) celdas.append(QPoint(pendiente.indice, fila + MSflexGrid1->FixedRows()));
  }
  MSflexGrid1->SetPendientes(celdas);
  const qsizetype cuantas = planilla_.Pendientes().size();
  if (reconexion_.Activa() || cuantas > 0)
    MostrarConexion(this, cuantas == 0
                              ? QStringLiteral("Sin conexión con la base de datos: reintentando")
                              : QStringLiteral("Sin conexión: %1 sin guardar, reintentando")
                                    .arg(Planilla::Entradas(cuantas)));
  else
    MostrarConexion(this, {});
}

void frmHarina::ConexionPerdida() {
  if (reconexion_.Activa()) return;
  reconexion_.Empezar();
  MarcarPendientes();
  MostrarLinea(this, QStringLiteral("Se perdió la conexión con la base de datos: lo que confirme "
                                    "queda en pantalla y se guarda al volver la conexión"));
}

void frmHarina::ConexionRecuperada() {
  EnFrontera(QStringLiteral("Conexión"), [this] {
    if (planilla_.Pendientes().isEmpty()) {
      MarcarPendientes();
      MostrarLinea(this, QStringLiteral("Conexión con la base de datos recuperada"));
      VerCambiosDeOtros();
      return;
    }
    // An open entry is the operator's: its cell and the questions a store may
    // ask wait until it is closed, as they wait for a dialog the operator is
    // answering (a lookup, a message).
    if (TxtEdit->isVisible() || QApplication::activeModalWidget()) {
      QTimer::singleShot(kEsperaEditorMs, this, &frmHarina::ConexionRecuperada);
      return;
    }
    const Planilla::Reenvio reenvio = planilla_.Reenviar();
    MostrarFilas();
    if (!reenvio.completo) {
      // Lost again on the way: the rest wait for the next try.
      reconexion_.Empezar();
      MarcarPendientes();
      return;
    }
    MarcarPendientes();
    MostrarLinea(this,
                 QStringLiteral("Conexión recuperada: %1")
                     .arg(reenvio.guardadas == 1
                              ? QStringLiteral("1 entrada guardada")
                              : QStringLiteral("%1 entradas guardadas").arg(reenvio.guardadas)));
    VerCambiosDeOtros();
  });
}

bool frmHarina::CerrarConPendientes(bool& sinConexion) {
  sinConexion = false;
  if (planilla_.Pendientes().isEmpty()) return true;
  // One last try before asking: the connection may be back already.
  bool guardadas = false;
  Intentar([&] {
    planilla_.AlDia();
    guardadas = true;
  });
  if (guardadas) return true;
  sinConexion = true;
  const QString texto =
      QStringLiteral(
          "No hay conexión con la base de datos y estas entradas no se guardaron:\n%1\n\n"
          "Si cierra ahora, se pierden. Con «No», la ventana sigue abierta y se guardan "
          "solas cuando vuelva la conexión.\n\n¿Cerrar igual?")
          .arg(planilla_.DescribirPendientes().join(QLatin1Char('\n')));
  if (!ElOperador().Confirmar(QStringLiteral("Entradas sin guardar"), texto,
                              Operador::PorDefecto::No)) {
    MarcarPendientes();
    return false;
  }
  planilla_.OlvidarPendientes();
  return true;
}
