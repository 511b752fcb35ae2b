#include "report/hoja_certificado.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include "report/lib_reportes.h"
#include "report/texto_reporte.h"
#include "services/guardar_pdf.h"
#include "services/operador.h"

namespace {

using reporte::Fuente;

const QColor kRojo(200, 0, 0);

class Hoja {
 public:
  Hoja(QPagedPaintDevice& d, QPainter& p) : d_(d), p_(p), mm_(d.logicalDpiX() / 25.4) {}

  // A text in a box, wrapped; the height it took.
  double Texto(const QRectF& caja, const QFont& fuente, int alineacion, const QString& texto) {
    p_.setFont(fuente);
    QRectF usado;
    p_.drawText(caja, alineacion | Qt::TextWordWrap, texto, &usado);
    return std::max(usado.height(), QFontMetricsF(fuente, &d_).lineSpacing());
  }

  void Pintar(const Certificado& c, const QDateTime& emitido) {
    const double ancho = d_.width();
    double y = 0;
    p_.setPen(Qt::black);
    const double altoEmpresa =
        Texto(QRectF(0, y, ancho * 0.65, 20 * mm_), Fuente(13, true), Qt::AlignLeft, c.empresa);
    Texto(
        QRectF(ancho * 0.65, y, ancho * 0.35, 10 * mm_), Fuente(8), Qt::AlignRight,
        QStringLiteral("Emitido el %1").arg(emitido.toString(QStringLiteral("dd/MM/yyyy HH:mm"))));
    y += altoEmpresa + 8 * mm_;
    y += Texto(QRectF(0, y, ancho, 20 * mm_), Fuente(18, true), Qt::AlignHCenter, c.titulo);
    y += 8 * mm_;

    const QFont dato = Fuente(10);
    const QFont rotulo = Fuente(10, true);
    const auto renglonDato = [&](const QString& nombre, const QString& valor) {
      Texto(QRectF(0, y, 50 * mm_, 8 * mm_), rotulo, Qt::AlignLeft, nombre);
      y += Texto(QRectF(50 * mm_, y, ancho - 50 * mm_, 20 * mm_), dato, Qt::AlignLeft, valor) +
           1.5 * mm_;
    };
    renglonDato(QStringLiteral("Tipo de harina:"), c.tipoHarina);
    renglonDato(QStringLiteral("Fecha de la muestra:"), c.fecha);
    renglonDato(QStringLiteral("Hora de la muestra:"), c.horario);
    renglonDato(QStringLiteral("Responsable:"), c.responsable);
    y += 5 * mm_;
    y = Tabla(c, y, ancho);
    y += 6 * mm_;

    // The verdict, boxed: what the customer reads first.
    const QFont fuenteVeredicto = Fuente(11, true);
    const QRectF caja(0, y, ancho, 40 * mm_);
    const QRectF medida = QFontMetricsF(fuenteVeredicto, &d_)
                              .boundingRect(caja.adjusted(3 * mm_, 0, -3 * mm_, 0),
                                            Qt::AlignLeft | Qt::TextWordWrap, c.veredicto);
    const double alto = medida.height() + 6 * mm_;
    p_.setPen(QPen(c.cumple ? Qt::black : kRojo, 0.4 * mm_));
    p_.drawRect(QRectF(0, y, ancho, alto));
    Texto(QRectF(3 * mm_, y + 3 * mm_, ancho - 6 * mm_, alto), fuenteVeredicto, Qt::AlignLeft,
          c.veredicto);
    p_.setPen(Qt::black);
    y += alto + 6 * mm_;
    if (!c.observaciones.isEmpty()) {
      Texto(QRectF(0, y, 40 * mm_, 8 * mm_), rotulo, Qt::AlignLeft,
            QStringLiteral("Observaciones:"));
      Texto(QRectF(40 * mm_, y, ancho - 40 * mm_, 40 * mm_), dato, Qt::AlignLeft, c.observaciones);
    }

    // The signature, at the foot of the page.
    const double firma = d_.height() - 25 * mm_;
    p_.setPen(QPen(Qt::black, 0.25 * mm_));
    p_.drawLine(QPointF(ancho - 80 * mm_, firma), QPointF(ancho, firma));
    Texto(QRectF(ancho - 80 * mm_, firma + 1.5 * mm_, 80 * mm_, 8 * mm_), Fuente(9),
          Qt::AlignHCenter, QStringLiteral("Firma y aclaración"));
  }

 private:
  double Tabla(const Certificado& c, double y, double ancho) {
    const QStringList titulos = {QStringLiteral("Análisis"), QStringLiteral("Valor"),
                                 QStringLiteral("Unidad"), QStringLiteral("Especificación"),
                                 QStringLiteral("Dictamen")};
    const std::array<double, 5> partes = {0.27, 0.15, 0.14, 0.22, 0.22};
    const QFont cuerpo = Fuente(10);
    const QFont negrita = Fuente(10, true);
    const double alto = QFontMetricsF(cuerpo, &d_).lineSpacing() + 3 * mm_;
    // A value out of its limits and its verdict in red, the value bold.
    const auto renglon = [&](const QStringList& textos, const QFont& fuente, bool marcada) {
      double x = 0;
      for (int k = 0; k < textos.size(); ++k) {
        const double w = ancho * partes[k];
        p_.setPen(marcada && (k == 1 || k == 4) ? kRojo : QColor(Qt::black));
        Texto(QRectF(x + 1.5 * mm_, y + 1.5 * mm_, w - 3 * mm_, alto),
              k == 1 && marcada ? negrita : fuente,
              (k == 1 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop, textos[k]);
        x += w;
      }
      p_.setPen(QPen(Qt::gray, 0.15 * mm_));
      p_.drawLine(QPointF(0, y + alto), QPointF(ancho, y + alto));
      y += alto;
    };
    p_.fillRect(QRectF(0, y, ancho, alto), QColor(225, 225, 225));
    renglon(titulos, negrita, false);
    for (const RenglonCertificado& r : c.renglones) {
      const bool fuera = r.veredicto == Veredicto::Fuera;
      const QString valor = fuera ? r.valor + QStringLiteral(" ") + Marca(r.lado) : r.valor;
      renglon({r.analisis, valor, r.unidad, r.especificacion, r.dictamen}, cuerpo, fuera);
    }
    p_.setPen(Qt::black);
    return y;
  }

  QPagedPaintDevice& d_;
  QPainter& p_;
  double mm_;
};

}  // namespace

QPageLayout PaginaCertificado() {
  return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 15),
                     QPageLayout::Millimeter);
}

void PintarCertificado(const Certificado& certificado, const QDateTime& emitido,
                       QPagedPaintDevice& dispositivo) {
  QPainter pintor;
  if (!pintor.begin(&dispositivo)) return;
  Hoja(dispositivo, pintor).Pintar(certificado, emitido);
  pintor.end();
}

QString EmitirCertificado(const Certificado& certificado) {
  const QDateTime emitido = QDateTime::currentDateTime();
  const QString salida = LibReportes::Instancia().Salida(QStringLiteral("SalidaCertificado"));
  if (!salida.isEmpty()) {
    GuardarPdf(salida, PaginaCertificado(), certificado.titulo, [&](QPagedPaintDevice& pdf) {
      PintarCertificado(certificado, emitido, pdf);
      return true;
    });
    ElOperador().Informar(QStringLiteral("Certificado guardado en %1").arg(salida));
    return salida;
  }
  ElOperador().VistaPrevia(
      certificado.titulo, PaginaCertificado(),
      [&](QPagedPaintDevice& destino) { PintarCertificado(certificado, emitido, destino); });
  return {};
}
