#pragma once
// Lib_ClsCons3: the lookup request. One process-wide object, gConsulta(),
// made on first use and kept for the whole run. A caller sets CampoDevuelto
// (and Checks, UsaCantidades when it wants them), calls ConsultaSearch with a
// statement or the name of a table registered in "consultas.qvx", and reads
// the answer once the lookup window has closed:
//
//   ValorDevuelto  the chosen row's CampoDevuelto column; an empty text when
//                  the operator cancelled; unset when nothing was chosen or in
//                  check-box mode. Callers take unset and empty alike.
//   Valores        the chosen row's CmpsDevueltos columns, or the checked
//                  rows' CampoDevuelto column; none after a cancel.
//   Cantidades     always an empty collection.
//
// ConsultaSearch never fails: a step that fails is skipped. Checks and
// CampoDevuelto go back to false and empty after every lookup.

#include <QString>
#include <QStringList>
#include <optional>

#include "lookup/mascaras_consultas.h"

class Lib_ClsCons3 {
 public:
  std::optional<QStringList> CmpsDevueltos = QStringList();
  std::optional<QStringList> Valores = QStringList();
  std::optional<QStringList> Cantidades;
  bool Checks = false;
  std::optional<QString> ValorDevuelto;
  QString gRutaMascaraConsultas;        // full path of "consultas.qvx"
  bool gUsarMascarasConsultas = false;  // whether registered tables may be used
  bool UsaCantidades = false;
  QString CampoDevuelto;

  // Sql: a statement, or the name of a registered table, whose statement is
  // built here: its columns and filter, Where appended to the filter, ordered
  // by CampoBusqueda (the first registered column when it comes in empty; the
  // caller sees it), at most "TopConsArt" rows (1000 by default).
  // CmpsDevueltos: the names of the columns Valores answers with; on return
  // it is emptied and set to none. Clave: put in the first search box at load,
  // which selects the first row starting with it.
  void ConsultaSearch(QString Sql, std::optional<QStringList>& CmpsDevueltos, QString& Clave,
                      QString& CampoBusqueda, QString& Where);

 private:
  RegistroMascara registro_;  // the registered definition last used
};

Lib_ClsCons3& gConsulta();
