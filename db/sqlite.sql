-- Schema of the embedded database (SQLite). The program runs it on a new file.
-- Column names are matched without regard to case by SQLite itself. Moments are
-- stored as 'yyyy-MM-dd HH:mm:ss' texts, so that they sort and compare as
-- moments; times of day as 'HH:mm:ss'.

CREATE TABLE IF NOT EXISTS v_mv_zentalia (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  Fecha DATETIME,
  responsable VARCHAR(50),
  fecha_alta DATETIME,
  fecha_modificacion DATETIME,
  tipo_harina VARCHAR(25),
  HORARIO TIME,
  HUMEDO NUMERIC,
  SECO NUMERIC,
  CARACT VARCHAR(100),
  FALLINGNUMBER NUMERIC,
  HUMEDAD NUMERIC,
  CENIZAS NUMERIC,
  COLOR VARCHAR(50),
  CONTROLPESAJE NUMERIC,
  OBSERVACIONES TEXT
);

CREATE INDEX IF NOT EXISTS ix_v_mv_zentalia_fecha ON v_mv_zentalia (Fecha);

-- The sheet's lookups list each column's distinct values; these indexes let
-- the engine seek from one value to the next instead of reading every row.
CREATE INDEX IF NOT EXISTS ix_v_mv_zentalia_tipo_harina ON v_mv_zentalia (tipo_harina);

CREATE INDEX IF NOT EXISTS ix_v_mv_zentalia_caract ON v_mv_zentalia (CARACT);

CREATE INDEX IF NOT EXISTS ix_v_mv_zentalia_color ON v_mv_zentalia (COLOR);

CREATE TABLE IF NOT EXISTS ta_configuracion (
  CLAVE VARCHAR(50) NOT NULL,
  VALOR VARCHAR(255)
);

CREATE INDEX IF NOT EXISTS ix_ta_configuracion_clave ON ta_configuracion (CLAVE);

INSERT INTO ta_configuracion (CLAVE, VALOR)
  SELECT 'NOMBRE', 'Laboratorio de Calidad'
  WHERE NOT EXISTS (SELECT 1 FROM ta_configuracion WHERE CLAVE = 'NOMBRE');

-- The quality limits of each flour type (tipo_harina, compared without
-- case and surrounding blanks) for one analysis column (campo, its field name):
-- minimo and maximo the limits proper, aviso_minimo and aviso_maximo an inner
-- warning band; any of them may be empty. An analysis is judged by the rows
-- with the latest vigente_desde on or before its date.
CREATE TABLE IF NOT EXISTS ta_limites (
  ID INTEGER PRIMARY KEY AUTOINCREMENT,
  tipo_harina VARCHAR(25) NOT NULL,
  campo VARCHAR(30) NOT NULL,
  minimo NUMERIC,
  maximo NUMERIC,
  aviso_minimo NUMERIC,
  aviso_maximo NUMERIC,
  vigente_desde DATE NOT NULL
);

CREATE INDEX IF NOT EXISTS ix_ta_limites_tipo ON ta_limites (tipo_harina, campo, vigente_desde);

-- The audit trail: one row per change of an analysis or of a limit, written
-- in the same transaction as the change. accion is "alta" (a new analysis:
-- campo Fecha, its day), "modificacion" (one stored cell), "baja" (one row per
-- field that held a value when the analysis was deleted, so it can be rebuilt),
-- "restauracion" (campo ID names the deleted key in valor_anterior, then one
-- row per value given back) or "especificacion" (one changed field of
-- ta_limites). Values are texts as stored, empty for Null; moments and dates
-- as 'yyyy-MM-dd HH:mm:ss', numbers with a point. momento is
-- 'yyyy-MM-dd HH:mm:ss.zzz': the server's clock on PostgreSQL, the station's
-- on SQLite.
--
-- huella chains the rows in the order of id: the SHA-256, in 64 lower-case
-- hex digits, of this text (UTF-8), where P is the previous row's huella (empty
-- for the first row) and each field is written as its length in UTF-8 bytes,
-- ":", the field, and a line feed:
--   P "\n" momento estacion operador accion tabla id_fila campo
--   valor_anterior valor_nuevo
-- (id_fila in decimal). A changed field, a row taken out or moved breaks
-- the chain at that row. Rows are appended under a lock that every writer
-- takes first (SQLite: the write transaction; PostgreSQL: the transaction's
-- advisory lock (2, 0)), so the stations share one chain.
--
-- ID has no AUTOINCREMENT: rows are only ever appended, so the rowid (the
-- highest plus one) already numbers them in the chain's order, without
-- rewriting sqlite_sequence at every insert.
CREATE TABLE IF NOT EXISTS ta_auditoria (
  ID INTEGER PRIMARY KEY,
  momento VARCHAR(23) NOT NULL,
  estacion VARCHAR(255) NOT NULL,
  operador VARCHAR(255) NOT NULL,
  accion VARCHAR(20) NOT NULL,
  tabla VARCHAR(64) NOT NULL,
  id_fila BIGINT NOT NULL,
  campo VARCHAR(64) NOT NULL,
  valor_anterior TEXT NOT NULL,
  valor_nuevo TEXT NOT NULL,
  huella VARCHAR(64) NOT NULL
);

CREATE INDEX IF NOT EXISTS ix_ta_auditoria_fila ON ta_auditoria (tabla, id_fila);

-- The version of this schema, in one row. The program upgrades an older
-- database by numbered steps (src/services/esquema.cpp) and refuses a newer
-- one; a database of the lab without this table is at version 1. This file is
-- always the whole current schema: on an existing database, let the program
-- upgrade it rather than running this file.
CREATE TABLE IF NOT EXISTS ta_version_esquema (
  version INTEGER NOT NULL
);

INSERT INTO ta_version_esquema (version)
  SELECT 5
  WHERE NOT EXISTS (SELECT 1 FROM ta_version_esquema);
