#pragma once
// The help window that F1 opens from the sheet window: the key tables of the
// sheet, the command bar and the lookups, read from the same text the README
// shows (doc/teclas.md, carried inside the program). It is not modal: the
// operator keeps it open beside the sheet; F1 again brings it to the front,
// Esc or its button closes it.

class QDialog;
class QString;
class QWidget;

// F1 anywhere in the window opens (or raises) the help window.
void InstalarAyuda(QWidget* ventana);

// Opens the help window of the window, made on first use; returns it.
QDialog* MostrarAyuda(QWidget* ventana);

// The key tables, as Markdown.
QString TextoDeTeclas();
