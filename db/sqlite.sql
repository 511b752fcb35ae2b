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

CREATE TABLE IF NOT EXISTS ta_configuracion (
  CLAVE VARCHAR(50) NOT NULL,
  VALOR VARCHAR(255)
);

CREATE INDEX IF NOT EXISTS ix_ta_configuracion_clave ON ta_configuracion (CLAVE);

INSERT INTO ta_configuracion (CLAVE, VALOR)
  SELECT 'NOMBRE', 'Laboratorio de Calidad'
  WHERE NOT EXISTS (SELECT 1 FROM ta_configuracion WHERE CLAVE = 'NOMBRE');
