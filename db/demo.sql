-- Demo data for the embedded database: four weeks of analyses up to today, so
-- that a newcomer sees a working sheet. Run on a file that already has the
-- schema (sqlite.sql); the values vary by a fixed rule, so every run gives the
-- same sheets for the same days.

UPDATE ta_configuracion SET VALOR = 'Molino Harinero La Espiga S.A.' WHERE CLAVE = 'NOMBRE';

WITH RECURSIVE
  dias(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM dias WHERE n < 27),
  turnos(t, hora) AS (
    VALUES (0, '06:15:00'), (1, '08:40:00'), (2, '11:05:00'),
           (3, '13:30:00'), (4, '16:10:00'), (5, '19:45:00')),
  muestras AS (
    SELECT n, t, hora, (n * 37 + t * 11) % 97 AS r
    FROM dias, turnos
    WHERE (n * 7 + t) % 9 <> 4          -- some shifts take no sample
      AND strftime('%w', date('now', 'localtime', '-' || n || ' days')) <> '0')
INSERT INTO v_mv_zentalia (Fecha, responsable, fecha_alta, fecha_modificacion, tipo_harina,
                           HORARIO, HUMEDO, SECO, CARACT, FALLINGNUMBER, HUMEDAD, CENIZAS,
                           COLOR, CONTROLPESAJE, OBSERVACIONES)
SELECT date('now', 'localtime', '-' || n || ' days') || ' 00:00:00',
       CASE t % 3 WHEN 0 THEN 'Marta Giménez' WHEN 1 THEN 'Luis Acosta' ELSE 'Ana Ferreyra' END,
       date('now', 'localtime', '-' || n || ' days') || ' ' || hora,
       date('now', 'localtime', '-' || n || ' days') || ' ' || hora,
       CASE r % 4 WHEN 0 THEN '000' WHEN 1 THEN '0000' WHEN 2 THEN '000' ELSE 'Integral' END,
       hora,
       round(24 + (r % 41) * 0.25, 1),
       round(8 + (r % 33) * 0.125, 2),
       CASE r % 5 WHEN 0 THEN 'Elástico' WHEN 1 THEN 'Tenaz' WHEN 2 THEN 'Extensible'
                  WHEN 3 THEN 'Normal' ELSE 'Algo tenaz' END,
       270 + (r * 13) % 131,
       round(13 + (r % 17) * 0.1, 1),
       CASE r % 4 WHEN 1 THEN round(0.44 + (r % 6) * 0.01, 3)
                  WHEN 3 THEN round(1.20 + (r % 9) * 0.05, 3)
                  ELSE round(0.55 + (r % 10) * 0.01, 3) END,
       CASE r % 3 WHEN 0 THEN 'Blanco' WHEN 1 THEN 'Blanco cremoso' ELSE 'Crema' END,
       round(25 + (r % 7) * 0.05 - 0.15, 2),
       CASE WHEN (r + n * 5) % 11 = 0 THEN 'Repetir gluten: muestra con 5'' de reposo'
            WHEN (r + n * 3) % 13 = 0 THEN 'Silo 3, lote de trigo nuevo'
            ELSE NULL END
FROM muestras
ORDER BY n DESC, t;

-- The quality limits of each flour type. The ash of 0000 was looser until the
-- contract of this year: analyses before it are judged by the older row.
INSERT INTO ta_limites (tipo_harina, campo, minimo, maximo, aviso_minimo, aviso_maximo,
                        vigente_desde)
VALUES ('0000', 'CENIZAS', NULL, 0.520, NULL, NULL, '2020-01-01'),
       ('0000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2026-01-01'),
       ('0000', 'CENIZAS', NULL, 0.492, NULL, NULL, '2026-01-01'),
       ('0000', 'HUMEDO', 24, 34, NULL, NULL, '2026-01-01'),
       ('0000', 'SECO', 8, 12, NULL, NULL, '2026-01-01'),
       ('0000', 'FALLINGNUMBER', 250, 400, 280, NULL, '2026-01-01'),
       ('000', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2026-01-01'),
       ('000', 'CENIZAS', NULL, 0.650, NULL, NULL, '2026-01-01'),
       ('000', 'HUMEDO', 24, 34, NULL, NULL, '2026-01-01'),
       ('000', 'SECO', 8, 12, NULL, NULL, '2026-01-01'),
       ('000', 'FALLINGNUMBER', 250, 400, 280, NULL, '2026-01-01'),
       ('Integral', 'HUMEDAD', NULL, 15.0, NULL, 14.5, '2026-01-01'),
       ('Integral', 'HUMEDO', 24, 34, NULL, NULL, '2026-01-01'),
       ('Integral', 'SECO', 8, 12, NULL, NULL, '2026-01-01'),
       ('Integral', 'FALLINGNUMBER', 250, 400, 280, NULL, '2026-01-01');

-- A few results out of its limits, the first on today's sheet.
UPDATE v_mv_zentalia SET HUMEDAD = 15.3
  WHERE ID = (SELECT MAX(ID) FROM v_mv_zentalia WHERE tipo_harina = '0000');
UPDATE v_mv_zentalia SET CENIZAS = 0.512
  WHERE ID = (SELECT ID FROM v_mv_zentalia WHERE tipo_harina = '0000' ORDER BY ID DESC
              LIMIT 1 OFFSET 3);
UPDATE v_mv_zentalia SET FALLINGNUMBER = 238
  WHERE ID = (SELECT ID FROM v_mv_zentalia WHERE tipo_harina = '000' ORDER BY ID DESC
              LIMIT 1 OFFSET 2);
UPDATE v_mv_zentalia SET HUMEDO = 35.2, SECO = 12.4
  WHERE ID = (SELECT ID FROM v_mv_zentalia WHERE tipo_harina = 'Integral' ORDER BY ID DESC
              LIMIT 1 OFFSET 6);
