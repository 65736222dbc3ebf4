// The calculator runs inside the locator field's change handler on every sixth keystroke and
// once per QSO when the statistics or the editing window recompute a whole log: it must stay
// well under a microsecond per call.
#include "geo/Locator.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

const std::vector<std::string>& Others() {
  static const std::vector<std::string> others = {"JN71GD", "JN91GD", "JN81HD", "JN80GD",
                                                  "JN82GD", "JL81GD", "JN61AX", "KN04RR",
                                                  "JO60LJ", "IN83FD", "JN45OL", "JM77QA"};
  return others;
}

void BM_CalculateLocators(benchmark::State& state) {
  const auto& others = Others();
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(keldra::CalculateLocators("JN81GD", others[i]));
    i = (i + 1) % others.size();
  }
}
BENCHMARK(BM_CalculateLocators);

void BM_PathBetween(benchmark::State& state) {
  const keldra::LocatorPoint own = keldra::LocatorCentre("JN81GD");
  const keldra::LocatorPoint other = keldra::LocatorCentre("JN71GD");
  for (auto _ : state) {
    benchmark::DoNotOptimize(keldra::PathBetween(own, other));
  }
}
BENCHMARK(BM_PathBetween);

}  // namespace

BENCHMARK_MAIN();
