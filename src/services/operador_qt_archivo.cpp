// OperadorQt: the save dialog.

#include <QApplication>
#include <QFileDialog>
#include <QRegularExpression>

#include "services/operador_qt.h"

namespace {

// "xlsx" of "Libro de Excel (*.xlsx)".
QString Extension(const QString& filtro) {
  static const QRegularExpression patron(QStringLiteral("\\*\\.(\\w+)"));
  return patron.match(filtro).captured(1);
}

}  // namespace

std::optional<QString> OperadorQt::ElegirArchivo(const QString& titulo, const QString& propuesta,
                                                 const QStringList& filtros) {
  QFileDialog dialogo(QApplication::activeWindow(), titulo, propuesta);
  dialogo.setAcceptMode(QFileDialog::AcceptSave);
  dialogo.setFileMode(QFileDialog::AnyFile);
  dialogo.setNameFilters(filtros);
  if (!filtros.isEmpty()) {
    dialogo.selectNameFilter(filtros.first());
    dialogo.setDefaultSuffix(Extension(filtros.first()));
  }
  // The format chosen gives a bare name its extension, so that the file is
  // written in the format the operator saw chosen.
  QObject::connect(
      &dialogo, &QFileDialog::filterSelected, &dialogo,
      [&dialogo](const QString& filtro) { dialogo.setDefaultSuffix(Extension(filtro)); });
  if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
  return dialogo.selectedFiles().first();
}
