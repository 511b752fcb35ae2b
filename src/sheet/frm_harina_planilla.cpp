// frmHarina: the grid of the day sheet.

#include <QFontMetrics>

#include "services/twips.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

void frmHarina::InicializaGrid() {
  MSflexGrid1->Clear();
  MSflexGrid1->SetRows(30);
  MSflexGrid1->SetCols(12);
  // The idle grid's widths are runs of capital X in the window's font.
  const QFontMetrics medida(font());
  const auto equis = [&](int cuantas) {
    return twips::DePixeles(medida.horizontalAdvance(QString(cuantas, QLatin1Char('X'))));
  };
  MSflexGrid1->SetColWidth(0, 0);
  for (int c : {1, 2, 3}) MSflexGrid1->SetColWidth(c, equis(50));
  MSflexGrid1->SetColWidth(4, equis(10));
  MSflexGrid1->SetColWidth(5, equis(8));
  MSflexGrid1->SetColWidth(6, equis(20));
  for (int c = 7; c <= 11; ++c) MSflexGrid1->SetColWidth(c, equis(10));
  MSflexGrid1->setEnabled(true);
}
