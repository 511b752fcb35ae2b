// frmHarina: the report tab and the report request.

#include <QLineEdit>
#include <QTabWidget>

#include "report/lib_reportes.h"
#include "services/convenciones.h"
#include "services/lib_util.h"
#include "services/util_kor.h"
#include "session/configuracion.h"
#include "session/estado_sesion.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::SSTab1_Click() {
  if (SSTab1->currentIndex() == 1) {
    Intentar([&] { UtilKor1->reporteenabled(true); });
    Intentar([&] { Campo(QStringLiteral("fechadesde"))->setFocus(); });
  } else {
    // A load made from the report tab disables that tab, which brings the
    // sheet's tab forward: the loaded sheet keeps its report.
    Intentar([&] { UtilKor1->reporteenabled(PlanillaCargada && MSflexGrid1->Rows() > 2); });
  }
}

QString frmHarina::FormulaDelReporte() const {
  QString formula;
  if (PlanillaCargada) {
    formula = QStringLiteral("{v_mv_ZENTALIA.fecha} = cdate('") +
              Campo(QStringLiteral("fecha"))->text() + QStringLiteral("')");
  } else {
    const bool desde = !Campo(QStringLiteral("FechaDesde"))->text().trimmed().isEmpty();
    if (desde)
      formula = QStringLiteral("{V_MV_ZENTALIA.FECHA} >= ") +
                LibUtil::FechaFormula(Campo(QStringLiteral("FECHADESDE"))->text());
    if (!Campo(QStringLiteral("FechaHasta"))->text().trimmed().isEmpty()) {
      if (desde) formula += QStringLiteral(" AND ");
      formula += QStringLiteral(" {V_MV_ZENTALIA.FECHA} <= ") +
                 LibUtil::FechaFormula(Campo(QStringLiteral("FECHAHASTA"))->text());
    }
  }
  return formula;
}

void frmHarina::ImprimeReporte() {
  const QString formula = FormulaDelReporte();
  QString empresa = QStringLiteral("empresa = '") + ValorConfiguracion(QStringLiteral("NOMBRE")) +
                    QLatin1Char('\'');
  QString nombre = QStringLiteral("NOMBREREP= 'Análisis de Harina'");
  QString parametros = QStringLiteral("Parametros = ''");
  LibReportes& reportes = LibReportes::Instancia();
  reportes.OpcionA = true;
  reportes.OpcionB = true;
  reportes.OpcionC = false;
  reportes.EmitirReporte(QStringLiteral("Rp_ZENTALIA"), {QString(), QString()}, formula, QString(),
                         empresa, nombre, parametros, {}, {}, QString(), QString(), QString());
}
