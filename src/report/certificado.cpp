#include "report/certificado.h"

#include "analisis/columnas.h"

namespace {

// Columns the certificate's header gives, or that say nothing of the lot's
// quality.
bool FueraDeLaTabla(const ColumnaAnalisis& columna) {
  for (const char* campo : {"tipo_harina", "HORARIO", "OBSERVACIONES"})
    if (columna.campo.compare(QLatin1String(campo), Qt::CaseInsensitive) == 0) return true;
  return false;
}

QString Celda(const AnalisisCertificado& analisis, const char* campo) {
  const ColumnaAnalisis* columna = CampoPorNombre(QLatin1String(campo));
  return columna ? analisis.celdas.value(columna->indice - 1).trimmed() : QString();
}

}  // namespace

Certificado ArmarCertificado(const AnalisisCertificado& analisis, const QList<Limite>& limites,
                             const QString& separador) {
  Certificado certificado;
  certificado.titulo = QStringLiteral("Certificado de Análisis");
  certificado.empresa = analisis.empresa.trimmed();
  certificado.tipoHarina = Celda(analisis, "tipo_harina");
  certificado.fecha = analisis.fecha.toString(QStringLiteral("dd/MM/yyyy"));
  certificado.horario = Celda(analisis, "HORARIO");
  certificado.responsable = analisis.responsable.trimmed();
  certificado.observaciones = Celda(analisis, "OBSERVACIONES");

  QStringList fuera;
  int juzgados = 0;
  for (const ColumnaAnalisis& columna : ColumnasAnalisis()) {
    if (FueraDeLaTabla(columna)) continue;
    RenglonCertificado renglon;
    renglon.analisis = columna.tituloReporte;
    renglon.valor = analisis.celdas.value(columna.indice - 1).trimmed();
    renglon.unidad = columna.unidad;
    const std::optional<Limite> limite =
        columna.tipo == TipoCampo::Numero
            ? LimiteVigente(limites, certificado.tipoHarina, columna.campo, analisis.fecha)
            : std::nullopt;
    if (limite) renglon.especificacion = DescribirCotas(*limite, separador);
    if (!renglon.valor.isEmpty()) {
      const Juicio juicio =
          Juzgar(limites, certificado.tipoHarina, columna.campo, analisis.fecha, renglon.valor);
      renglon.veredicto = juicio.veredicto;
      renglon.lado = juicio.lado;
      switch (juicio.veredicto) {
        case Veredicto::SinJuicio:
          renglon.dictamen = QStringLiteral("Sin especificación");
          break;
        case Veredicto::Fuera:
          renglon.dictamen = QStringLiteral("No conforme");
          fuera << QStringLiteral("%1 %2 (%3)")
                       .arg(NombreColumna(columna), renglon.valor, CotaCruzada(juicio, separador));
          ++juzgados;
          break;
        case Veredicto::Dentro:
        case Veredicto::Aviso:
          renglon.dictamen = QStringLiteral("Conforme");
          ++juzgados;
          break;
      }
    }
    certificado.renglones << renglon;
  }
  certificado.cumple = juzgados > 0 && fuera.isEmpty();
  if (!fuera.isEmpty())
    certificado.veredicto = QStringLiteral("No cumple: ") + fuera.join(QStringLiteral("; "));
  else if (juzgados > 0)
    certificado.veredicto = QStringLiteral("El lote cumple la especificación");
  else
    certificado.veredicto =
        QStringLiteral("Sin especificación vigente para %1: ningún valor fue juzgado")
            .arg(certificado.tipoHarina);
  return certificado;
}
