#include "sheet/consultas_planilla.h"

std::optional<ConsultaPlanilla> ConsultaDeColumna(const Dialecto& dialecto, const QString& tag) {
  const QString clave = tag.trimmed();
  const auto es = [&](const char* nombre) {
    return clave.compare(QLatin1String(nombre), Qt::CaseInsensitive) == 0;
  };
  if (es("VT_TipoHarina"))
    return ConsultaPlanilla{QStringLiteral("HARINA"),
                            QStringLiteral("SELECT TIPO_HARINA AS HARINA FROM V_MV_ZENTALIA WHERE "
                                           "TIPO_HARINA<>'' GROUP BY TIPO_HARINA")};
  if (es("VT_caract")) {
    const QString campo = QStringLiteral("CARACTERISTICAS DEL GLUTEN");
    return ConsultaPlanilla{campo, QStringLiteral("SELECT CARACT AS ") + dialecto.Alias(campo) +
                                       QStringLiteral(" FROM V_MV_ZENTALIA WHERE CARACT<>'' "
                                                      "GROUP BY CARACT")};
  }
  if (es("VT_colores"))
    return ConsultaPlanilla{
        QStringLiteral("COLOR"),
        QStringLiteral("SELECT COLOR FROM V_MV_ZENTALIA WHERE COLOR<>'' GROUP BY COLOR")};
  return std::nullopt;
}
