#include "services/lib_entorno.h"

#include <QPalette>
#include <QWidget>

void LibEntorno::AplicarEstilo(QWidget* ventana) {
  QPalette paleta = ventana->palette();
  paleta.setColor(QPalette::Window, QColor(0xEE, 0xF1, 0xF4));
  paleta.setColor(QPalette::Base, Qt::white);
  paleta.setColor(QPalette::Highlight, QColor(0x2F, 0x6F, 0xB3));
  paleta.setColor(QPalette::HighlightedText, Qt::white);
  ventana->setPalette(paleta);
  ventana->setAutoFillBackground(true);
}
