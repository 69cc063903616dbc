// Any tables the readers accept (drawn from the fuzzer's bytes: commands with
// legal phrases, any characters in names, navaid and ILS lists, responses,
// the navaid switch), through the grammar writers, must compile without an
// error, in bounded time and memory.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "CompileRoad.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qv::test::road;
  Entropy e(data, size);
  qv::shell::AppState state;
  RandomTables(e, state);
  const qv::speech::CompileResult r = Compile(WriterOutput(state));
  if (!r.Ok()) {
    for (const auto& d : r.diagnostics) std::fprintf(stderr, "%s\n", qPrintable(d.ToString()));
    std::abort();
  }
  return 0;
}
