// Runs the fuzz target where no fuzzer is built (the test suite, with g++):
// the seed corpus (the folder given as argument), a few inputs too large to
// keep as seeds, then a fixed run of pseudo-random byte strings made from
// them, so that every test run gives the parsers the same strange inputs.

#include <QDirIterator>
#include <QFile>
#include <QStringList>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo);

namespace {

std::string Repetido(const std::string& pieza, int veces) {
  std::string texto;
  for (int i = 0; i < veces; ++i) texto += pieza;
  return texto;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "uso: %s CARPETA_DE_SEMILLAS\n", argv[0]);
    return 2;
  }
  // In the order of their names, whatever order the disk lists them in.
  QStringList rutas;
  QDirIterator archivos(QString::fromLocal8Bit(argv[1]), QDir::Files, QDirIterator::Subdirectories);
  while (archivos.hasNext()) rutas << archivos.next();
  rutas.sort();
  std::vector<std::string> semillas;
  for (const QString& ruta : rutas) {
    QFile archivo(ruta);
    if (!archivo.open(QIODevice::ReadOnly)) return 2;
    semillas.push_back(archivo.readAll().toStdString());
  }
  if (semillas.empty()) {
    std::fprintf(stderr, "%s no tiene semillas\n", argv[1]);
    return 2;
  }
  // Nesting and lengths past what the parsers' stacks and numbers hold: run
  // once, too large to be worth mutating.
  const std::string campo = "{v_mv_zentalia.id} = 1";
  const std::vector<std::string> extremos = {
      std::string(20000, '(') + campo + std::string(20000, ')'),
      Repetido("NOT ", 20000) + campo,
      Repetido("NOT (", 10000) + campo,
      std::string(309, '9'),
      "-0," + std::string(400, '0') + "1",
      Repetido("@Server=", 5000),
  };

  std::size_t corridas = 0;
  const auto probar = [&corridas](const std::string& entrada) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(entrada.data()), entrada.size());
    ++corridas;
  };
  for (const std::string& semilla : semillas) probar(semilla);
  for (const std::string& extremo : extremos) probar(extremo);
  std::mt19937 azar(20261210);
  const std::string piezas =
      "@=; \t\n[]|.,-+0123456789ServerDbNameUsuarioLogeado\xC3\xA1\xFF{}()'\"<>/%_\\ANDORNOT";
  for (int i = 0; i < 20000; ++i) {
    std::string entrada = semillas[azar() % semillas.size()];
    const int cambios = 1 + static_cast<int>(azar() % 8);
    for (int c = 0; c < cambios; ++c) {
      const std::size_t lugar = entrada.empty() ? 0 : azar() % (entrada.size() + 1);
      switch (azar() % 3) {
        case 0:
          entrada.insert(lugar, 1, piezas[azar() % piezas.size()]);
          break;
        case 1:
          if (!entrada.empty() && lugar < entrada.size()) entrada.erase(lugar, 1);
          break;
        default:
          entrada.insert(lugar, 1, static_cast<char>(azar() % 256));
      }
    }
    probar(entrada);
  }
  std::printf("%zu entradas sin fallas\n", corridas);
  return 0;
}
