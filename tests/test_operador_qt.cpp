// The program's own two-answer questions, as the operator meets them: the
// button Enter presses and the one Escape presses, in the real message box.

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <functional>

#include "services/operador_qt.h"

namespace {

// Presses tecla in the message box once it is shown, then runs the question.
bool Responder(Qt::Key tecla, const std::function<bool()>& pregunta) {
  QTimer::singleShot(0, [tecla] {
    QWidget* caja = QApplication::activeModalWidget();
    if (caja) QTest::keyClick(caja, tecla);
  });
  return pregunta();
}

}  // namespace

class PruebaOperadorQt : public QObject {
  Q_OBJECT

 private slots:
  void dosRespuestas_data();
  void dosRespuestas();
};

void PruebaOperadorQt::dosRespuestas_data() {
  QTest::addColumn<QString>("pregunta");
  QTest::addColumn<int>("tecla");
  QTest::addColumn<bool>("primera");  // the first answer (Sí, Guardar el mío)
  QTest::newRow("confirmar, Enter con Sí") << "si" << int(Qt::Key_Return) << true;
  QTest::newRow("confirmar, Enter con No") << "no" << int(Qt::Key_Return) << false;
  QTest::newRow("confirmar, Escape") << "si" << int(Qt::Key_Escape) << false;
  QTest::newRow("conflicto, Enter guarda el mío") << "conflicto" << int(Qt::Key_Return) << true;
  QTest::newRow("conflicto, Escape toma el otro") << "conflicto" << int(Qt::Key_Escape) << false;
}

void PruebaOperadorQt::dosRespuestas() {
  QFETCH(QString, pregunta);
  QFETCH(int, tecla);
  QFETCH(bool, primera);
  OperadorQt operador;
  const bool respuesta = Responder(static_cast<Qt::Key>(tecla), [&] {
    if (pregunta == QLatin1String("conflicto"))
      return operador.ResolverConflicto(QStringLiteral("Cambio de otra estación"),
                                        QStringLiteral("Su valor: 14.5")) ==
             Operador::Resolucion::Mantener;
    return operador.Confirmar(
        QStringLiteral("Borrar"), QStringLiteral("¿Borrar?"),
        pregunta == QLatin1String("si") ? Operador::PorDefecto::Si : Operador::PorDefecto::No);
  });
  QCOMPARE(respuesta, primera);
}

QTEST_MAIN(PruebaOperadorQt)
#include "test_operador_qt.moc"
