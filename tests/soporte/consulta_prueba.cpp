#include "soporte/consulta_prueba.h"

#include <QTest>

#include "lookup/lista_consulta.h"
#include "services/lib_datos.h"
#include "sheet/consultas_planilla.h"

QString Texto(const std::optional<QString>& valor) { return valor ? *valor : kSinValor; }

QString Lista(const std::optional<QStringList>& valores) {
  return valores ? valores->join('|') : kNinguna;
}

void Depositos(EntornoPrueba& e) {
  e.Ejecutar("CREATE TABLE ta_deposito (iddeposito INTEGER, descripcion VARCHAR(40))");
  e.Ejecutar(
      "INSERT INTO ta_deposito VALUES (3, 'Sur'), (1, 'Central'), (5, 'Puerto'), (2, 'Norte')");
}

QString SqlDepositos() {
  const Dialecto& d = LibDatos::Instancia().Conexion().dialecto();
  return "SELECT iddeposito AS " + d.Alias("Depósito") + ", descripcion AS " +
         d.Alias("Descripción") + " FROM ta_deposito";
}

QString ConsultaDeColumnaPrueba(const QString& tag) {
  return ConsultaDeColumna(LibDatos::Instancia().Conexion().dialecto(), tag)->sql;
}

bool Mostrar(Lib_FrmCons3& w, const QString& sql) {
  w.Sql = sql;
  w.OrdenarPorLwv = !sql.contains("ORDER BY", Qt::CaseInsensitive);
  w.Form_Load();
  w.show();
  w.activateWindow();
  return QTest::qWaitForWindowActive(&w);
}

QString Seleccionado(const Lib_FrmCons3& w) {
  const int item = w.ListView1->SelectedItem();
  return item < 0 ? kSinValor : w.ListView1->Text(item);
}

QStringList Primeros(const Lib_FrmCons3& w) {
  QStringList textos;
  for (int i = 0; i < w.ListView1->ListItemsCount(); ++i) textos << w.ListView1->Text(i);
  return textos;
}
