#include "report/reporte_zentalia.h"

#include <QPagedPaintDevice>
#include <algorithm>

#include "report/paginas_reporte.h"
#include "report/pintor_reporte.h"

QPageLayout PaginaReporte() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(10, 10, 10, 10),
                     QPageLayout::Millimeter);
}

struct ReporteDispuesto::Disposicion : reporte::Disposicion {
  Disposicion(const ContenidoReporte& contenido, QPagedPaintDevice& d)
      : reporte::Disposicion(contenido, d, true) {}
};

ReporteDispuesto::ReporteDispuesto(const ContenidoReporte& contenido) : contenido_(contenido) {}
ReporteDispuesto::~ReporteDispuesto() = default;

bool ReporteDispuesto::Pintar(QPagedPaintDevice& dispositivo,
                              const std::function<bool(qint64)>& avanzar) {
  auto hallada = std::find_if(disposiciones_.begin(), disposiciones_.end(),
                              [&](const auto& d) { return d->Sirve(dispositivo); });
  if (hallada == disposiciones_.end())
    hallada = disposiciones_.insert(disposiciones_.end(),
                                    std::make_unique<Disposicion>(contenido_, dispositivo));
  Disposicion& d = **hallada;
  return reporte::Pintor(contenido_, dispositivo, d.m, d.lineas, d.textos, d.marcados)
      .Pintar(d.paginas, 0, static_cast<int>(d.paginas.size()), avanzar);
}

bool PintarReporte(const ContenidoReporte& contenido, QPagedPaintDevice& dispositivo,
                   const std::function<bool(qint64)>& avanzar) {
  return ReporteDispuesto(contenido).Pintar(dispositivo, avanzar);
}
