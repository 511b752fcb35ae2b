#pragma once
// ModeloConsulta: the rows of a lookup as plain vectors, shown by a view.
// Each column keeps all its texts in one buffer with their end offsets, so a
// hundred thousand rows cost little more than their characters; a row's
// check mark, colour and bold setting are one entry each, kept only when used.
// The rows shown may be in another order than they were read (a permutation),
// and every search and every accessor speaks the order shown.
//
// Rows are never edited by the view; SetTexto and SetMarcada are the window's.

#include <QAbstractTableModel>
#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QStringList>
#include <QStringView>
#include <deque>
#include <vector>

// The texts of one column, in the order they were read. While every text
// fits in Latin-1 (most names do, Spanish ones included) they are kept one
// byte a character; the first text that does not turns the whole column to
// UTF-16. A load holds them while the engine still holds its own copy of the
// rows it sorted: half the room is what keeps the load's peak low. For the
// same reason the texts are read into runs that are never moved, not into a
// growing buffer whose every growth is a copy, and put together in one
// buffer by Cerrar, once the engine has let its rows go.
class ColumnaTextos {
 public:
  void Agregar(QStringView texto);
  // The texts in one buffer, once the last one is in; the accessors below
  // read a closed column.
  void Cerrar();
  qsizetype Filas() const { return static_cast<qsizetype>(fines_.size() + finesLeidos_.size()); }
  QString Texto(qsizetype fila) const;
  // The column's texts as it keeps them: Latin-1 (Latina) or UTF-16.
  bool Latina() const { return !ancha_; }
  QLatin1StringView Latino(qsizetype fila) const;
  QStringView Ancho(qsizetype fila) const;
  // The longest text, in characters.
  qsizetype Mayor() const { return mayor_; }
  // Whether, once closed, the column's order without regard to case is the
  // one its trimmed texts' prefixes follow: no text starts with a blank and
  // none holds a character outside the basic plane, whose case the sort's
  // comparison and the search's may fold apart.
  bool Buscable() const { return !blancoInicial_ && !sustitutos_; }

 private:
  qsizetype Inicio(qsizetype fila) const { return fila == 0 ? 0 : fines_[fila - 1]; }

  // While reading.
  std::deque<unsigned char> latinosLeidos_;
  std::deque<char16_t> anchosLeidos_;
  std::deque<quint32> finesLeidos_;
  // Closed.
  QByteArray latinos_;
  QString anchos_;
  std::vector<quint32> fines_;
  bool ancha_ = false;
  qsizetype mayor_ = 0;
  bool blancoInicial_ = false;
  bool sustitutos_ = false;
};

// What one load read: the columns and, when any row has one, each row's
// colour and bold setting.
struct FilasLeidas {
  std::vector<ColumnaTextos> columnas;
  std::vector<QColor> colores;  // empty, or one per row (invalid: no colour)
  std::vector<char> negritas;   // empty, or one per row
};

class ModeloConsulta : public QAbstractTableModel {
  Q_OBJECT

 public:
  using QAbstractTableModel::QAbstractTableModel;

  int rowCount(const QModelIndex& padre = {}) const override;
  int columnCount(const QModelIndex& padre = {}) const override;
  QVariant data(const QModelIndex& indice, int rol = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& indice, const QVariant& valor, int rol) override;
  QVariant headerData(int seccion, Qt::Orientation orientacion,
                      int rol = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& indice) const override;

  // New headers and no rows.
  void Encabezados(const QStringList& textos);
  const QStringList& Encabezados() const { return encabezados_; }
  // Every row of a load at once, unchecked, in the order read.
  void Reemplazar(FilasLeidas filas);
  void Vaciar();

  // Check boxes in column 0, checked by the operator's click.
  void SetCasillas(bool casillas);
  bool Casillas() const { return casillas_; }

  int Filas() const { return static_cast<int>(filas_); }
  // The longest text read into a column, in characters.
  qsizetype Mayor(int columna) const;
  // The row's text in a column (rows in the order shown).
  QString Texto(int fila, int columna) const;
  void SetTexto(int fila, int columna, const QString& texto);
  bool Marcada(int fila) const;
  void SetMarcada(int fila, bool marcada);

  // Shows the rows sorted by a column's texts, without regard to case; rows
  // with equal texts keep their order.
  void Ordenar(int columna, Qt::SortOrder orden);

  // The first row, in the order shown, whose text in the column, trimmed of
  // blanks, starts with `clave` without regard to case; -1 when none does.
  // Rows shown sorted by that column are searched by halves; others are read
  // in turn, plain ASCII texts compared without Unicode's case tables.
  int Buscar(int columna, QStringView clave) const;

 private:
  int BuscarPorMitades(int columna, QStringView buscada) const;
  int BuscarEnOrden(int columna, QStringView buscada) const;
  int Fisica(int fila) const { return orden_.empty() ? fila : orden_[fila]; }
  // Drops every row; the caller resets the model around it.
  void OlvidarFilas();
  // The text of a row read (fisica) in a column, as f(QLatin1StringView) or
  // f(QStringView), whichever way the column keeps it; an empty QStringView
  // for none.
  template <typename F>
  decltype(auto) Ver(int fisica, int columna, F&& f) const;

  QStringList encabezados_;
  FilasLeidas leidas_;
  std::vector<int> orden_;    // shown row -> row read; empty while they agree
  std::vector<char> marcas_;  // per row read
  // Texts changed after the load (quantities): row read * columns + column.
  QHash<qint64, QString> cambios_;
  qsizetype filas_ = 0;
  bool casillas_ = false;
  // The column the rows shown are sorted by, and how; -1 when unsorted.
  int columnaOrden_ = -1;
  Qt::SortOrder sentidoOrden_ = Qt::AscendingOrder;
};
