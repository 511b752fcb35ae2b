// frmHarina: the design layout, in twips, and the resize rules.

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QResizeEvent>
#include <QTabWidget>

#include "services/twips.h"
#include "services/util_kor.h"
#include "sheet/barra_estado.h"
#include "sheet/frm_harina.h"
#include "sheet/grilla.h"

namespace {

void Colocar(QWidget* control, int izquierda, int arriba, int ancho, int alto) {
  control->setGeometry(twips::APixeles(izquierda), twips::APixeles(arriba, Qt::Vertical),
                       twips::APixeles(ancho), twips::APixeles(alto, Qt::Vertical));
}

// A control whose text needs more room than the design gave it grows to its
// natural size (the design's twips were measured for a smaller font), keeping
// its place.
void Crecer(QWidget* control) { control->resize(control->size().expandedTo(control->sizeHint())); }

void Medir(QWidget* control, const TamanoTwips& tamano) {
  control->resize(twips::APixeles(tamano.ancho), twips::APixeles(tamano.alto, Qt::Vertical));
}

}  // namespace

void frmHarina::AplicarDisposicion() {
  // The window opens larger than its design size (7620 x 4080 twips of client
  // area), which was drawn for small screens; the resize rules stretch the
  // controls to whatever size it gets.
  resize(std::max(twips::APixeles(7620), 1100), std::max(twips::APixeles(4080, Qt::Vertical), 640));
  Colocar(Frame2, -15, -75, 7635, 1260);
  Colocar(UtilKor1, 45, 90, 5025, 615);
  Colocar(Label1, 165, 885, 570, 180);
  Colocar(txtFields[0], 795, 840, 1365, 285);
  Colocar(Label3, 2835, 885, 1095, 240);
  Colocar(txtFields[1], 4125, 840, 3345, 285);
  Colocar(SSTab1, -15, 1200, 7635, 2895);
  Colocar(MSflexGrid1, 0, 0, 7620, 2550);
  Colocar(TxtEdit, 3030, 1080, 855, 225);
  Colocar(frmRep, 0, -60, 7605, 2610);
  Colocar(imgRep, 45, 135, 7455, 4260);
  Colocar(Label2, 105, 390, 1215, 180);
  Colocar(txtFields[2], 1275, 360, 1365, 285);
  Colocar(Label4, 2970, 390, 1230, 180);
  Colocar(txtFields[3], 4155, 345, 1365, 285);
  // Nothing in a row covers the control before it: a caption that grew pushes
  // what follows it to the right, just enough.
  for (QLabel* etiqueta : {Label1, Label3, Label2, Label4}) Crecer(etiqueta);
  const QList<QWidget*> filas[] = {{Label1, txtFields[0], Label3, txtFields[1]},
                                   {Label2, txtFields[2], Label4, txtFields[3]}};
  for (const QList<QWidget*>& fila : filas) {
    for (qsizetype i = 1; i < fila.size(); ++i) {
      const int libre = fila[i - 1]->geometry().right() + 6;
      if (fila[i]->x() < libre) fila[i]->move(libre, fila[i]->y());
    }
  }
  // Eight captioned buttons need more than the design's 5025 twips.
  Crecer(UtilKor1);
}

void frmHarina::resizeEvent(QResizeEvent* evento) {
  QWidget::resizeEvent(evento);
  Form_Resize();
}

void frmHarina::Form_Resize() {
  // The status bar keeps the bottom edge; the rules lay out what is above it.
  const QSize exterior = frameGeometry().size() - QSize(0, AltoBarraDeEstado(this));
  disposicion_ = Redimensionar(disposicion_, twips::DePixeles(exterior.width()),
                               twips::DePixeles(exterior.height(), Qt::Vertical));
  Medir(Frame2, disposicion_.banda);
  Medir(SSTab1, disposicion_.tabs);
  Medir(MSflexGrid1, disposicion_.grilla);
  Medir(frmRep, disposicion_.panel);
  Medir(imgRep, disposicion_.imagen);
}
