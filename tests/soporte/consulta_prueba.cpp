#include "soporte/consulta_prueba.h"

#include <QComboBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTest>

#include "lookup/lista_consulta.h"
#include "services/lib_datos.h"
#include "sheet/consultas_planilla.h"
#include "soporte/ventana_prueba.h"

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

void Hacer(Lib_FrmCons3& w, const QString& pasos) {
  for (const QString& paso : pasos.split(' ', Qt::SkipEmptyParts)) {
    if (paso == "enter") {
      Tecla(Qt::Key_Return);
    } else if (paso == "esc") {
      Tecla(Qt::Key_Escape);
    } else if (paso == "abajo") {
      Tecla(Qt::Key_Down);
    } else if (paso == "f5") {
      Tecla(Qt::Key_F5);
    } else if (paso == "aceptar") {
      QTest::mouseClick(w.CmdAceptar, Qt::LeftButton);
    } else if (paso == "cancelar") {
      QTest::mouseClick(w.CmdCancelar, Qt::LeftButton);
    } else if (paso == "nueva") {
      QTest::mouseClick(w.CmdNueva, Qt::LeftButton);
    } else if (paso == "cerrar") {
      w.close();
    } else if (paso.startsWith("caja")) {
      w.CmbSearch[paso.mid(4).toInt()]->setFocus();
    } else if (paso.startsWith("clic")) {
      QHeaderView* cabecera = w.ListView1->horizontalHeader();
      const int seccion = paso.mid(4).toInt();
      QTest::mouseClick(
          cabecera->viewport(), Qt::LeftButton, {},
          QPoint(cabecera->sectionViewportPosition(seccion) + 5, cabecera->height() / 2));
    } else if (paso == "doble") {
      QAbstractItemView* lista = w.ListView1;
      const QRect celda = lista->visualRect(lista->currentIndex());
      // A real double click: press and release, then the second press.
      QTest::mouseClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
      QTest::mouseDClick(lista->viewport(), Qt::LeftButton, {}, celda.center());
    } else if (paso.startsWith("marcar:")) {
      for (const QString& fila : paso.mid(7).split(','))
        w.ListView1->model()->setData(w.ListView1->model()->index(fila.toInt(), 0), Qt::Checked,
                                      Qt::CheckStateRole);
    } else {
      Teclear(paso);
    }
  }
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
