#pragma once
// The stations of the load test (test_carga.cpp): what each one stores, and
// the station itself, which the test binary runs as a process of its own.
// A station writes what it got to "resultado_<n>" in the test's temporary
// folder: "clave <key>" for each analysis it added, in order; "fila <row>"
// for each row of its sheet after it took in the others' changes (Linea);
// "falla ..." and "pregunta ..." for what went wrong and what its operator
// was asked.

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>
#include <utility>

namespace carga {

constexpr int kEstaciones = 5;
constexpr int kCompartidos = 100;  // analyses of the day before the stations start
constexpr int kPropios = 50;       // analyses each station adds
// The shared analyses' column each station owns (grid columns): HUMEDO, SECO,
// FALLINGNUMBER, HUMEDAD, CENIZAS.
constexpr int kColumnaDe[kEstaciones] = {3, 4, 6, 7, 8};
constexpr int kHorario = 2;
constexpr int kObservaciones = 11;
inline const QString kTabla = QStringLiteral("v_mv_zentalia");
inline const QDate kFecha{2004, 3, 15};
// A day nobody began: every station opens it at the same moment.
inline const QDate kNuevo{2004, 3, 16};
// How long a station waits for the others at a meeting point, and the test
// for a station, before it gives up: a hang fails instead of holding the run.
constexpr int kEsperaMaxima = 90000;

// The operator a station's trail rows are signed by.
QString Firma(int estacion);

// A station's entries, as an operator types them (decimal comma): for the
// shared analysis r, and for its own analysis j (grid column, entry).
QString EntradaCompartida(int estacion, int r);
QList<std::pair<int, QString>> EntradasPropias(int estacion, int j);

// The file of a station's mark or result in the test's folder.
QString Marca(const QString& carpeta, const QString& que, int estacion);

// A row of the sheet or of the table: the key, then grid columns 1 to 11,
// normalized as the tests compare values.
QString Linea(qint64 id, const QList<QVariant>& valores);

// The station PRUEBA_ESTACION (0 to 4), on the database PRUEBA_PARAMETROS
// names, meeting the others in the folder PRUEBA_CARPETA; its exit code, 0
// when every value was stored and its sheet read back.
int Estacion();

}  // namespace carga
