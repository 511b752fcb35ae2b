#pragma once
// Names and descriptions, in Spanish, for assistive technology: every control
// of the sheet window (found by its object name), each button of the command
// bar, and each column of the grid. A screen reader reads them as the control
// takes the focus; the labels in front of the header fields are their buddies.

class QWidget;

void NombrarControles(QWidget* ventana);
