// frmHarina: the idle and loaded states and the controls each one enables.

#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>

#include "services/convenciones.h"
#include "services/util_kor.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::InicializaPantalla() {
  // An entry still open is stored before the sheet goes, and the blank
  // analyses this station left in it go with it.
  Intentar([&] { GuardarEditorAbierto(); });
  Intentar([&] { planilla_.Dejar(); });
  Tabla = QStringLiteral("v_mv_zentalia");
  Intentar([&] { InicializaGrid(); });
  Intentar([&] {
    // GRABAR and PLANILLA are never enabled: every cell is stored at once.
    // CERRAR is left to EstadoPlanilla.
    UtilKor1->cancelarenabled(false);
    UtilKor1->grabarenabled(false);
    UtilKor1->planillaenabled(false);
    UtilKor1->consultaenabled(true);
    UtilKor1->nuevoenabled(false);
    UtilKor1->borrarenabled(false);
    UtilKor1->reporteenabled(false);
    UtilKor1->Habilitar(QStringLiteral("GRAFICO"), false);
    UtilKor1->Habilitar(QStringLiteral("HISTORIAL"), true);
  });
  Intentar([&] {
    bool apagado = false;
    EnabledControls(apagado);
  });
  PlanillaCargada = false;
  Intentar([&] { EstadoPlanilla(PlanillaCargada); });
  Intentar([&] {
    Campo(QStringLiteral("fecha"))
        ->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
  });
  Intentar([&] {
    // The idle window's lookup is the date's calendar, whatever was being
    // edited before.
    ControlActivo = Campo(QStringLiteral("fecha"));
    ControlActivo->setFocus();
  });
}

void frmHarina::EstadoPlanilla(bool& Cargada) {
  if (PlanillaCargada) {
    UtilKor1->cancelarenabled(true);
    UtilKor1->cerrarenabled(false);
    if (MSflexGrid1->Rows() > 2) UtilKor1->reporteenabled(true);
    UtilKor1->Habilitar(QStringLiteral("GRAFICO"), MSflexGrid1->Rows() > 2);
    Campo(QStringLiteral("fecha"))->setEnabled(false);
  } else {
    UtilKor1->cancelarenabled(false);
    UtilKor1->cerrarenabled(true);
    UtilKor1->reporteenabled(false);
    UtilKor1->Habilitar(QStringLiteral("GRAFICO"), false);
    Campo(QStringLiteral("fecha"))->setEnabled(true);
  }
  TxtEdit->hide();
  MostrarPista(this, Cargada);
  // The report tab is reachable only while no sheet is loaded.
  SSTab1->setTabEnabled(1, !Cargada);
}

void frmHarina::EnabledControls(bool& Off) {
  UtilKor1->nuevoenabled(Off);
  UtilKor1->borrarenabled(Off);
}
