#pragma once
// Window measures of the design are in twips (1440 to the inch). These convert
// them to and from pixels with the primary screen's logical DPI (96 without a
// screen).

#include <Qt>

namespace twips {

int APixeles(int twips, Qt::Orientation orientacion = Qt::Horizontal);
int DePixeles(int pixeles, Qt::Orientation orientacion = Qt::Horizontal);

}  // namespace twips
