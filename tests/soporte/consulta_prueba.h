#pragma once
// The lookup window in tests: shown non-modally over a statement of the test
// database, and read back as the operator sees it.

#include <QString>
#include <QStringList>
#include <optional>

#include "lookup/lib_frm_cons3.h"
#include "soporte/entorno_prueba.h"

inline const QString kSinValor = QStringLiteral("<sin valor>");
inline const QString kNinguna = QStringLiteral("<ninguna>");

// An optional answer as text: kSinValor or kNinguna when there is none.
QString Texto(const std::optional<QString>& valor);
QString Lista(const std::optional<QStringList>& valores);

// Four deposits, read in another order than their keys, and the statement
// that lists them with the aliases "Depósito" and "Descripción".
void Depositos(EntornoPrueba& e);
QString SqlDepositos();
// The statement of a sheet column's lookup, on the session's engine.
QString ConsultaDeColumnaPrueba(const QString& tag);

// The window loaded with a statement (sorted by the list when it has no
// ORDER BY), shown and active, the focus in box 0. False when it did not
// become active.
bool Mostrar(Lib_FrmCons3& w, const QString& sql);

// The operator's steps in the window, words separated by blanks: enter, esc,
// abajo, f5 (keys to the focused control), aceptar, cancelar, nueva (a click
// on the button), cerrar (the close box), cajaN (search box N takes the
// focus), clicN (a click on header N), doble (a double click on the current
// row), marcar:i,j (rows i and j checked); any other word is typed.
void Hacer(Lib_FrmCons3& w, const QString& pasos);

// The selected item's text (kSinValor when none), and every item's text in
// the order shown.
QString Seleccionado(const Lib_FrmCons3& w);
QStringList Primeros(const Lib_FrmCons3& w);
