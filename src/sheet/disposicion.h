#pragma once
// The sheet window's resize rules, as a pure function over sizes in twips.
// The header band keeps its height and stretches in width; the tabs, the grid,
// the report panel and its picture take the remaining height and the full
// width. Positions never change, nor does anything inside the header band.

struct TamanoTwips {
  int ancho = 0;
  int alto = 0;
};

struct Disposicion {
  TamanoTwips banda;   // Frame2
  TamanoTwips tabs;    // SSTab1
  TamanoTwips grilla;  // MSflexGrid1
  TamanoTwips panel;   // frmRep
  TamanoTwips imagen;  // imgRep
};

// The design sizes of the window's controls.
Disposicion DisposicionDeDiseno();

// The nine assignments for a window of outer size W x H, in order, each on its
// own: a size that comes out negative is refused and that control keeps the
// size it had, while the other assignments still apply (the later ones reading
// the sizes as the earlier ones left them).
Disposicion Redimensionar(Disposicion actual, int W, int H);
