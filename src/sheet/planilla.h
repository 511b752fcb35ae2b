#pragma once
// Planilla: the loaded day of the sheet, without widgets. It owns the day's
// analyses (typed 64-bit keys, each value as the database holds it) and is the
// one place where the sheet talks to the database: loading a date, storing an
// entry, adding an analysis, deleting analyses, leaving the day. The window
// shows what it holds and turns keys into these operations.
//
// Every change of an analysis made here (a stored cell, a new analysis, a
// deletion, the clean-up of blank ones, a restoration) is recorded in the
// audit trail (services/auditoria.h) in the same transaction: both are
// written or neither. An entry that changes nothing writes neither.
//
// A failure of the database throws Falla and leaves the day as it was; a
// store answers what became of the entry (stored, unchanged, refused with the
// message, its analysis gone, kept), so the entry is never lost in between.
//
// While the database is out of reach a confirmed entry is kept, not lost:
// the cell shows it and it waits, in the order confirmed, until Reenviar
// stores it (planilla_pendientes.cpp). Nothing that would drop or reorder a
// kept entry runs while one waits: loading a day, adding, deleting or
// leaving first store them all, or throw.

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>

#include "analisis/columnas.h"
#include "analisis/limites.h"
#include "analisis/valores.h"
#include "services/auditoria.h"
#include "services/dialecto.h"

class Recordset;
struct EntradaLeida;

class Planilla {
 public:
  // The text a new analysis shows in its flour type until it has one; it is
  // never stored.
  static QString Marcador() { return QStringLiteral("Nuevo"); }

  struct Fila {
    qint64 id = 0;
    QList<QVariant> valores;  // grid columns 1 to 11, at [indice - 1]
    bool marcada = false;     // a new analysis still showing the marker
    bool borrada = false;     // deleted at another station while edited here
  };

  // What another station changed in the loaded day, as Refrescar found it.
  struct Novedades {
    int cambiadas = 0;
    int agregadas = 0;
    int borradas = 0;  // taken out of the day, or marked while edited
    QString linea;     // for the status bar: who changed what, the latest
    bool Vacias() const { return cambiadas == 0 && agregadas == 0 && borradas == 0; }
  };
  // Reads the loaded day again and takes in what other stations changed:
  // values, analyses added (at the end) and deleted. With conservar, a
  // deleted analysis is kept and marked borrada instead (the operator has an
  // entry open; its rows must not move); a later call without it takes it
  // out. What this station wrote itself is already here and changes nothing.
  // Throws Falla when the database fails, leaving the day as it was
  // (planilla_vivo.cpp).
  // The cell (filaEditada, indiceEditado) under an open entry keeps its
  // value as shown.
  Novedades Refrescar(bool conservar, int filaEditada = -1, int indiceEditado = -1);
  // Whether an analysis is kept marked borrada, waiting to be taken out.
  bool HayBorradas() const;

  // Retenido: the database is out of reach; the entry is kept (Pendientes).
  enum class Estado { Guardado, SinCambios, Rechazado, SinClave, FilaBorrada, Retenido };
  struct Resultado {
    Estado estado;
    QString mensaje;  // Rechazado, SinClave, FilaBorrada, Retenido: for the operator
    QString celda;    // Guardado, SinCambios, Retenido: what the cell shows now
  };

  // Reads the day's analyses from the table, ordered by time. A day without any starts with
  // two blank analyses of the responsible person, remembered as created here.
  // tecleada is the date as typed (the design's statements use it).
  void Cargar(const QString& tabla, const QDate& fecha, const QString& tecleada,
              const QString& responsable);

  // Leaves the day: the analyses created here that are still blank in every
  // column are deleted by one statement, which spares a row that another
  // station has written a value into meanwhile.
  void Dejar();

  bool Cargada() const { return cargada_; }
  const QString& Tabla() const { return tabla_; }
  // The day loaded last.
  const QDate& Fecha() const { return fecha_; }
  int Filas() const { return static_cast<int>(filas_.size()); }
  const Fila& FilaEn(int fila) const { return filas_.at(fila); }
  // The grid's text of a cell (indice 1 to 11), the marker included; a
  // number shows at most its column's decimals.
  QString Texto(int fila, int indice, const QString& separador) const;
  // A row as the grid shows it: the key, then grid columns 1 to 11; with
  // completos, at [indice] what Completo gives, from the same pass (left
  // empty when the row shows every value whole).
  QStringList TextosDeFila(int fila, const QString& separador,
                           QStringList* completos = nullptr) const;
  // The cell's whole value when the cell shows it rounded to its column's
  // decimals; empty when it shows it whole.
  QString Completo(int fila, int indice, const QString& separador) const;
  // The cell's value as text, as an editor opens with it and the clipboard
  // takes it: every decimal stored, never the marker.
  QString Valor(int fila, int indice, const QString& separador) const;

  // The verdict of a cell (indice 1 to 11) by the limits of its analysis's
  // flour type in force on the loaded day; SinJuicio for a column that holds
  // no number. The limits are read at the first load of the session.
  Juicio Juzgar(int fila, int indice) const;
  // The verdicts of a whole row, at [indice] (0 and the columns that hold no
  // number: SinJuicio); its flour type read once. Empty while no limits
  // apply to the loaded day.
  QList<Juicio> JuiciosDeFila(int fila) const;
  // Reads the limits again (the editor has saved new ones): the next Juzgar
  // judges by them. Before the first load they wait for it.
  void RecargarLimites();

  // Stores an entry typed over a cell. Checked first (LeerEntrada); an entry
  // that says what the cell already holds writes nothing. An entry that finds
  // the database out of reach, or other entries still waiting, is kept.
  Resultado Guardar(int fila, int indice, const QString& entrada, const QString& separador);

  // An entry confirmed while the database was out of reach, waiting to be
  // stored; its cell shows it meanwhile.
  struct Pendiente {
    qint64 id = 0;
    int indice = 0;
    QString entrada;  // as typed
    QString separador;
    QVariant antes;  // the cell's value before it, as the screen showed it
  };
  const QList<Pendiente>& Pendientes() const { return pendientes_; }
  // Stores the waiting entries in order, each checked against what the
  // screen showed before it, as a store is (a change made meanwhile at
  // another station asks the operator). Stops at the first one that still
  // finds the database out of reach, keeping it and those after it. Those
  // that cannot be stored at all are dropped, and the operator is told.
  struct Reenvio {
    int guardadas = 0;
    QStringList perdidas;  // not stored, and why: "Fila 3, HUMEDAD: motivo"
    bool completo = false;
  };
  Reenvio Reenviar();
  // Drops the waiting entries (the operator said so): their cells show the
  // values they replaced.
  void OlvidarPendientes();
  // "1 entrada", "3 entradas": how the messages count entries.
  static QString Entradas(qsizetype n);
  // "Fila 2, HUMEDAD: 14,3" for each waiting entry, in order.
  QStringList DescribirPendientes() const;
  // Before an operation that needs the database and could drop or reorder
  // waiting entries: stores them (the operator is told of any that could
  // not be); throws Falla (kConexion) saying how many still wait.
  void AlDia();
  // The row of an analysis, or -1.
  int FilaDe(qint64 id) const;

  // A block of values stored from (fila, indice) rightward and downward, each
  // as a typed entry is (checked, stored, unchanged ones not written), with
  // new analyses at the end for rows beyond the day; values past the last
  // column are left out. What was stored, what was added and what was refused
  // ("Fila 3, HUMEDAD: motivo"). A failure of the database throws after what
  // was already stored.
  struct Cambio {
    int fila;
    int indice;
    QString antes;  // the cell's value before, as an entry would write it
  };
  struct Pegado {
    QList<Cambio> cambios;
    int agregadas = 0;  // analyses added at the end
    QStringList rechazos;
    int guardados = 0;
    int retenidos = 0;  // kept until the database is back
  };
  Pegado Pegar(int fila, int indice, const QList<QStringList>& bloque, const QString& separador);
  // Takes a paste back: every cell it changed to its value before, the
  // analyses it added deleted. The caller loads the day again.
  void Deshacer(const Pegado& pegado, const QString& separador);

  // A new blank analysis of the day at the end; its row.
  int Agregar();

  // Deletes the analyses of rows desde to hasta; the caller loads the day
  // again.
  void Borrar(int desde, int hasta);

  // Re-creates an analysis deleted from tabla, under a new key, with the
  // values its deletion recorded, and records a "restauracion" row naming the
  // old key and one per value given back (planilla_registro.cpp). Throws
  // Falla (kArgumentoInvalido) when the trail holds no deletion of that key,
  // or it was restored already.
  struct Restaurado {
    qint64 id = 0;
    QDate dia;
  };
  static Restaurado Restaurar(const QString& tabla, qint64 idBorrado);

 private:
  // Runs cuerpo in a transaction that holds the trail's lock from its start;
  // commits it, or undoes it and throws again.
  static void EnTransaccion(const std::function<void()>& cuerpo);
  // The "baja" rows of the analyses filas reads (FilasCompletas), one per
  // field that holds a value; their keys added to ids.
  static QList<auditoria::Asiento> Bajas(Recordset& filas, const QString& tabla,
                                         QList<qint64>& ids);
  // Stores valor (a number as its statement text, a text as itself, Null for
  // an empty cell; bound, never spliced into the statement) in one column of
  // one analysis, with its trail row, when the database still holds mostrado
  // (what the screen showed, as TextoDeValor writes it) or already holds
  // nuevo. Otherwise writes nothing and answers Conflicto with the database's
  // value in otro.
  enum class Escritura { Hecha, Borrada, Conflicto };
  Escritura Escribir(qint64 id, const ColumnaAnalisis& columna, const QVariant& valor,
                     const QString& nuevo, const QString& mostrado, QVariant& otro);
  // The two statements of a stored cell for a column (the read of its value
  // with the trail's head, and the UPDATE), made once per table and engine.
  struct SentenciasDeCelda {
    QString leer;
    QString actualizar;
  };
  const SentenciasDeCelda& SentenciasDe(const ColumnaAnalisis& columna, const Dialecto& d);
  // Asks the operator whether to keep nuevo over the value otro that another
  // station stored in the cell (planilla_conflicto.cpp), naming who changed
  // it and when by the trail's latest row for it. True to keep.
  // A cell's value as the conflict check compares it: as the trail writes it,
  // a number by its value whatever the engine returned it as.
  static QString Comparable(const ColumnaAnalisis& columna, const QVariant& valor);
  // Two rows' values (grid columns 1 to 11) compared as Comparable does.
  static bool MismosValores(const QList<QVariant>& a, const QList<QVariant>& b);
  // For a delete: what differs between the row as shown and the analysis
  // filas reads (FilasCompletas, not moved), "Fila 2: HUMEDAD 15 → 16";
  // empty when nothing does or the analysis is gone. BorrarIgual asks whether
  // to delete those anyway.
  QString CambioDeOtra(int fila, const Recordset& filas) const;
  static bool BorrarIgual(const QStringList& cambiadas);
  bool MantenerPropio(int fila, const ColumnaAnalisis& columna, const QString& nuevo,
                      const QString& otro) const;

  // The part of Guardar that writes: a valid entry stored over mostrado (as
  // Comparable gives it).
  Resultado Almacenar(int fila, const ColumnaAnalisis& columna, const EntradaLeida& leida,
                      const QString& separador, QString mostrado);
  // Keeps an entry that cannot reach the database now (the row's value
  // becomes it, the value before goes with it).
  Resultado Retener(int fila, int indice, const QString& entrada, const QString& separador,
                    const QString& motivo);
  // What a valid entry makes the cell hold.
  static QVariant ValorDeEntrada(const ColumnaAnalisis& columna, const EntradaLeida& leida);

  // A day without analyses gets its two blank ones, in a transaction that
  // holds the day's lock and looks again before inserting.
  void EmpezarDia();
  qint64 Insertar();
  // What a cell shows of a value (Mostrar), a number's texts shared with the
  // same value's earlier in the load.
  Mostrado MostrarEnCarga(const ColumnaAnalisis& columna, const QVariant& valor,
                          const QString& separador) const;

  QString tabla_ = QStringLiteral("v_mv_zentalia");
  bool cargada_ = false;
  QDate fecha_;
  QString tecleada_;
  QString responsable_;
  QList<Fila> filas_;
  std::optional<QList<Limite>> limites_;
  IndiceDeLimites indice_;  // of limites_
  // Those in force on the loaded day, for judging its cells.
  LimitesDelDia delDia_;
  QDate diaJuzgado_;  // the day delDia_ holds the rows of
  // The analyses created here for the loaded day, for Dejar.
  QList<qint64> creadas_;
  QList<Pendiente> pendientes_;
  // The texts of the loaded day's decimal numbers, by grid column and value
  // (the double's bits): a day repeats its values (the same moisture, the
  // same ash), and each is written once and then shared. Forgotten at every
  // load and when the separator changes.
  mutable QList<QHash<quint64, Mostrado>> mostrados_;
  mutable QString separadorMostrados_;
  QHash<const ColumnaAnalisis*, SentenciasDeCelda> sentenciasCelda_;
  QString tablaSentencias_;  // and the engine, that sentenciasCelda_ were made for
  Motor motorSentencias_ = Motor::Sqlite;
};
