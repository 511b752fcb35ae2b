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
       250 + (r * 13) % 201,
       round(13 + (r % 21) * 0.1, 1),
       round(0.45 + (r % 26) * 0.01, 3),
       CASE r % 3 WHEN 0 THEN 'Blanco' WHEN 1 THEN 'Blanco cremoso' ELSE 'Crema' END,
       round(25 + (r % 7) * 0.05 - 0.15, 2),
       CASE WHEN (r + n * 5) % 11 = 0 THEN 'Repetir gluten: muestra con 5'' de reposo'
            WHEN (r + n * 3) % 13 = 0 THEN 'Silo 3, lote de trigo nuevo'
            ELSE NULL END
FROM muestras
ORDER BY n DESC, t;
