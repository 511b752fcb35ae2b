#include "sheet/disposicion.h"

#include "services/convenciones.h"
#include "services/falla.h"

namespace {

// A size property: like the old controls, it refuses a negative value.
void Asignar(int& propiedad, int valor) {
  if (valor < 0)
    throw Falla(Falla::kValorPropiedad, QStringLiteral("Valor de propiedad no válido."));
  propiedad = valor;
}

}  // namespace

Disposicion DisposicionDeDiseno() {
  Disposicion d;
  d.banda = {7635, 1260};
  d.tabs = {7635, 2895};
  d.grilla = {7620, 2550};
  d.panel = {7605, 2610};
  d.imagen = {7455, 4260};
  return d;
}

Disposicion Redimensionar(Disposicion d, int W, int H) {
  Intentar([&] { Asignar(d.banda.ancho, W - 120); });
  Intentar([&] { Asignar(d.tabs.alto, H - d.banda.alto - 400); });
  Intentar([&] { Asignar(d.tabs.ancho, W - 120); });
  Intentar([&] { Asignar(d.grilla.alto, H - d.banda.alto - 800); });
  Intentar([&] { Asignar(d.grilla.ancho, W - 120); });
  Intentar([&] { Asignar(d.panel.alto, d.tabs.alto - 500); });
  Intentar([&] { Asignar(d.panel.ancho, d.tabs.ancho - 120); });
  Intentar([&] { Asignar(d.imagen.alto, d.panel.alto - 200); });
  Intentar([&] { Asignar(d.imagen.ancho, d.panel.ancho - 120); });
  return d;
}
