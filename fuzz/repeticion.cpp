// Runs the fuzz target where no fuzzer is built (the test suite, with g++):
// the seed inputs, then a fixed run of pseudo-random byte strings made from
// them, so that every test run gives the parsers the same strange inputs.

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* datos, size_t largo);

int main() {
  const std::vector<std::string> semillas = {
      "",
      "SELECT tipo_harina AS [HARINA] FROM v_mv_zentalia GROUP BY tipo_harina ORDER BY 1",
      "SELECT TOP 50 nombre FROM t WHERE (a = ')' OR b = \"x\") ORDER BY nombre DESC LIMIT 3",
      "50%_[x]' --",
      "@Server=PC1/SQL1;@DbName=PLANTA;@Usuario=lab;@UsuarioLogeado=ana;",
      "@UsuarioLogeado=ana;@Usuario=lab;@Password==;;",
      "@dbname= PLANTA ;@Server;@Server=/;",
      "[LABORATORIO|HARINA]\nFlatToolbars=0\n[[\n=\n;x\n",
      "-12,5",
      "+.5",
      "1,2,3",
      "--",
      "\xEF\xBB\xBF\xFF\xFE\x00\x01",
      "{V_MV_ZENTALIA.FECHA} >= Date(2004,03,01) AND  {V_MV_ZENTALIA.FECHA} <= Date(2004,03,31)",
      "{v_mv_ZENTALIA.fecha} = cdate('15/03/2004')",
      "NOT ({v_mv_zentalia.tipo_harina} = 'l''a' OR {v_mv_zentalia.humedad} > -1.5)",
      "{v_mv_zentalia.horario} <= \"8:00\" or 3 < {v_mv_zentalia.id}",
      "empresa = 'Molino'",
  };
  std::mt19937 azar(20261210);
  std::size_t corridas = 0;
  for (const std::string& semilla : semillas) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(semilla.data()), semilla.size());
    ++corridas;
  }
  const std::string piezas =
      "@=; \t\n[]|.,-+0123456789ServerDbNameUsuarioLogeado\xC3\xA1\xFF{}()'\"<>/ANDORNOT";
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
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(entrada.data()), entrada.size());
    ++corridas;
  }
  std::printf("%zu entradas sin fallas\n", corridas);
  return 0;
}
