#pragma once
// ModeloGrilla: the texts of the sheet grid as plain lists, shown by a view.
// Each data row is a list of texts, one per column; the two header lines of
// every column are the horizontal header's label; a column's alignment holds
// for its label and every one of its cells. A whole load replaces everything
// at once (Reemplazar), with one reset of the view.
//
// For assistive technology every column has a name and a description, kept
// across loads; a cell reads as its column's name and its value ("HORARIO:
// 08:30:00"), and a header as its column's name. Cells share one vertical
// alignment (centred); a column's alignment only chooses left or right.
//
// A cell may carry a verdict on its value: out of its limits shows on a red
// background, a warning on amber, both in bold (a cue that needs no colour
// vision) with dark text, and the verdict's words in the tool tip and in what
// assistive technology reads. Verdicts are set cell by cell and forgotten
// with the rows they belong to. A number shown with fewer decimals than it
// holds carries its full value for the tool tip. A cell whose entry waits
// for the database to come back says so until it is stored.
//
// A day's load hands over its texts, headers, full values and verdicts as one
// ContenidoGrilla (Reemplazar): one reset of the view, no change per cell.

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>

#include "analisis/limites.h"

// Everything a load shows, at once. completos and juicios may be shorter than
// filas (rows past them have none) and a row's lists may be empty.
struct ContenidoGrilla {
  QList<QStringList> filas;        // [fila][columna]
  QList<QStringList> encabezados;  // [columna] -> {line 1, line 2}
  QList<QStringList> completos;    // [fila][columna], as SetCompleto takes them
  QList<QList<Juicio>> juicios;    // [fila][columna], as SetJuiciosDeFila takes them
  QString separador;               // of the numbers in the verdicts' tool tips
};

class ModeloGrilla : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  QVariant headerData(int seccion, Qt::Orientation orientacion,
                      int rol = Qt::DisplayRole) const override;

  void SetFilas(int filas);
  void SetColumnas(int columnas);
  QString Texto(int fila, int columna) const;
  void SetTexto(int fila, int columna, const QString& texto);
  // linea 0 or 1 of a column's header.
  QString Encabezado(int linea, int columna) const;
  void SetEncabezado(int linea, int columna, const QString& texto);
  void SetAlineacion(int columna, Qt::Alignment alineacion);
  // The column's name and description for assistive technology; without a
  // name, the header's text stands for it.
  void SetAccesible(int columna, const QString& nombre, const QString& descripcion);
  QString NombreAccesible(int columna) const;
  // The verdicts of a whole row at once (juicios[columna], the key column's
  // included): one change of the row for the view, not one per cell. A tool
  // tip is written when asked for, numbers with separador; negrita is the
  // view's font in bold, for the marked cells.
  void SetJuiciosDeFila(int fila, QList<Juicio> juicios, const QString& separador,
                        const QFont& negrita);
  // The verdict of one cell, the row's others as they were: one change of
  // that cell for the view.
  void SetJuicio(int fila, int columna, const Juicio& juicio, const QString& separador,
                 const QFont& negrita);
  Veredicto JuicioEn(int fila, int columna) const;
  // The value a cell holds in full when it shows fewer decimals; its tool tip
  // gives it. Empty takes it away.
  void SetCompleto(int fila, int columna, const QString& completo);
  // A row whose analysis another station deleted while it was edited here:
  // its text grey and struck through, and a tool tip that says so.
  void SetBorrada(int fila, bool borrada);
  // The cells whose entries wait for the database (Clave of row and column):
  // italic on blue, with a tool tip and a spoken word that say so. Replaces
  // the last set.
  void SetPendientes(QSet<quint64> pendientes);
  bool EsPendiente(int fila, int columna) const {
    return pendientes_.contains(Clave(fila, columna));
  }
  static quint64 Clave(int fila, int columna) {
    return (quint64(quint32(fila)) << 32) | quint32(columna);
  }
  // Every cell and header line empty; the sizes stay.
  void Vaciar();
  // New rows, columns, headers, full values and verdicts at once; negrita as
  // for SetJuiciosDeFila.
  void Reemplazar(ContenidoGrilla contenido, const QFont& negrita);

 private:
  // Every cell's verdict, full value and mark forgotten, with the rows they
  // belonged to.
  void OlvidarMarcas();
  QList<QStringList> filas_;
  QList<QStringList> encabezados_;  // [columna] -> {line 1, line 2}
  QList<Qt::Alignment> alineaciones_;
  QStringList nombres_;  // [columna], may be shorter than the columns
  QStringList descripciones_;
  // A row's verdicts are kept as the row gave them, at [columna]: a day's
  // load hands them over a row at a time.
  struct JuiciosDeFila {
    QList<Juicio> juicios;
    QString separador;
  };
  // The verdict of a cell, or null when it has none.
  const Juicio* JuicioDe(int fila, int columna, QString* separador = nullptr) const;
  QHash<int, JuiciosDeFila> juicios_;  // by row, only rows with a verdict
  QSet<int> borradas_;
  QSet<quint64> pendientes_;
  QHash<quint64, QString> completos_;
  QFont negrita_;
};
