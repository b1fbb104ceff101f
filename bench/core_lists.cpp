// The frame loop's list walks: every entity updated once per frame while some remove themselves
// and others are appended, and the random draws the entities make meanwhile.
#include <benchmark/benchmark.h>

#include "core/list.h"
#include "core/random.h"

namespace {

struct Entity : TObject {
  int life = 0;
};

void BM_WalkWithRemovalAndAppend(benchmark::State& state) {
  TList list;
  const int population = static_cast<int>(state.range(0));
  for (int i = 0; i < population; ++i) list.AddLast(new Entity);
  SeedRandom(1);
  for (auto _ : state) {
    for (TListEnum e = list.ObjectEnumerator(); e.HasNext();) {
      auto* entity = static_cast<Entity*>(e.NextObject());
      if (!entity) continue;
      if (++entity->life > 30) {
        list.Remove(entity);  // searches the list from its head, as the game does
        list.AddLast(new Entity);
      }
    }
  }
  state.SetItemsProcessed(state.iterations() * population);
}
BENCHMARK(BM_WalkWithRemovalAndAppend)->Arg(100)->Arg(1000);

void BM_RandomRange(benchmark::State& state) {
  SeedRandom(1);
  double sum = 0;
  for (auto _ : state) sum += RandomRange(0, 360);
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomRange);

}  // namespace
