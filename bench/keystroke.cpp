// Every key typed into the callsign field upper-cases it and searches the whole QSO list for the
// duplicate hint. With 20,000 QSOs logged one keystroke must still take well under 1 ms.
#include <benchmark/benchmark.h>

#include "BenchSupport.h"

namespace keldra {
namespace {

// Types a callsign that is not in the log (the full search every time), then takes it back.
void BM_CallsignKeystroke(benchmark::State& state) {
  bench::BenchContest contest(state.range(0));
  MainWindow& main = contest.main();
  main.call.SetFocus();
  main.call.Type("QX9ZZ");
  for (auto _ : state) {
    main.call.Type("q");
    main.call.Backspace();
  }
  state.SetItemsProcessed(2 * state.iterations());  // keystrokes
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CallsignKeystroke)
    ->Arg(5000)
    ->Arg(20000)
    ->Unit(benchmark::kMicrosecond)
    ->Complexity(benchmark::oN);

}  // namespace
}  // namespace keldra

BENCHMARK_MAIN();
