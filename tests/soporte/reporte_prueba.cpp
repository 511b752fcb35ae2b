#include "soporte/reporte_prueba.h"

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include "soporte/ventana_prueba.h"

namespace {

QString Texto(const char* valor) {
  if (!valor) return QStringLiteral("NULL");
  return QLatin1Char('\'') + QString::fromUtf8(valor).replace('\'', "''") + QLatin1Char('\'');
}

QString Numero(const char* valor) { return valor ? QString::fromLatin1(valor) : "NULL"; }

}  // namespace

qint64 Sembrar(EntornoPrueba& e, const Muestra& m) {
  QString fecha = QString::fromLatin1(m.fecha);
  if (fecha.size() == 10) fecha += QStringLiteral(" 00:00:00");
  e.Ejecutar(QStringLiteral("INSERT INTO v_mv_zentalia (Fecha, responsable, HORARIO, tipo_harina, "
                            "HUMEDAD, FALLINGNUMBER, OBSERVACIONES) VALUES ('%1', 'lab', %2, %3, "
                            "%4, %5, %6)")
                 .arg(fecha, Texto(m.horario), Texto(m.tipo), Numero(m.humedad), Numero(m.falling),
                      Texto(m.observaciones)));
  QSqlQuery clave(e.Otra());
  clave.exec(QStringLiteral("SELECT MAX(ID) FROM v_mv_zentalia"));
  return clave.next() ? clave.value(0).toLongLong() : -1;
}

void FijarEmpresa(EntornoPrueba& e, const QString& nombre) {
  e.Ejecutar(QStringLiteral("UPDATE ta_configuracion SET VALOR = '%1' WHERE CLAVE = 'NOMBRE'")
                 .arg(QString(nombre).replace('\'', "''")));
}

void IrAlReporte(frmHarina& w) {
  auto* barra = w.SSTab1->findChild<QTabBar*>();
  QTest::mouseClick(barra, Qt::LeftButton, {}, barra->tabRect(1).center());
}

void PedirReporte(frmHarina& w, const QString& desde, const QString& hasta) {
  IrAlReporte(w);
  for (const QString& fecha : {desde, hasta}) {
    auto* campo = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (campo && !fecha.isEmpty() && fecha.trimmed().isEmpty())
      campo->setText(fecha);
    else
      Teclear(fecha);
    Tecla(Qt::Key_Return);
  }
  Tecla(Qt::Key_F6);
}

QString TextoPdf(const QString& ruta) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), ruta, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(120000) || pdftotext.exitCode() != 0)
    return QStringLiteral("<pdftotext no pudo leer %1: %2 %3>")
        .arg(ruta, pdftotext.errorString(), QString::fromUtf8(pdftotext.readAllStandardError()));
  // The face joins "fi" and "fl" into one glyph, which pdftotext gives back
  // as its ligature character; a reader sees the two letters.
  return QString::fromUtf8(pdftotext.readAllStandardOutput())
      .replace(QChar(0xFB01), QStringLiteral("fi"))
      .replace(QChar(0xFB02), QStringLiteral("fl"));
}
