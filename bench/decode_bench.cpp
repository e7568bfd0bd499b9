// Decoding rates: a GGA sentence through line assembly, checksum and fix decoding; the UTM projection; an EM38
// record. Goal: at least 1,000,000 items/s each, with no heap allocation per item ("allocs_per_item" 0).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <string_view>

#include "em38/em38_record.h"
#include "gps/line_assembler.h"
#include "gps/nmea_decode.h"
#include "gps/nmea_fields.h"
#include "gps/projection.h"

namespace {
std::atomic<size_t> g_allocations{0};
}

// Counting replacement of the global allocation functions (malloc underneath, so free is the right release).
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }

namespace obrix {
namespace {

// Runs the loop body and reports allocations per item.
template <class Body>
void Measure(benchmark::State& state, Body body) {
  const size_t before = g_allocations.load();
  for (auto _ : state) body();
  const size_t made = g_allocations.load() - before;
  state.SetItemsProcessed(state.iterations());
  state.counters["allocs_per_item"] = double(made) / double(state.iterations());
}

void BM_GgaAssembleCheckDecode(benchmark::State& state) {
  const std::string bytes = "$GPGGA,133524,4336.5940,N,07936.6403,W,8,11,2.0,142.5,M,-35.4,M,,*74\r\n";
  const NmeaTable table = MakeNmeaTable(1, 0);
  const FixDecodeOptions options{0, 0, 0};
  NmeaLineAssembler assembler;
  CurrentFixValues fix;
  // As the GPS reader takes a read: the buffer path of the assembler, the checksum it kept, the decoding.
  Measure(state, [&] {
    std::string_view rest = bytes;
    while (!rest.empty()) {
      size_t used = 0;
      const NmeaLineAssembler::Event event = assembler.Feed(rest, &used);
      rest.remove_prefix(used);
      if (event == NmeaLineAssembler::Event::LineComplete &&
          JudgeLine(assembler.line(), true, assembler.checksum()) == LineVerdict::Checked) {
        FixDecode d = DecodeFixSentence(assembler.line(), fix, table, options);
        fix = d.fix;
        benchmark::DoNotOptimize(d);
      }
    }
  });
}
BENCHMARK(BM_GgaAssembleCheckDecode);

void BM_GeoToUtm(benchmark::State& state) {
  InitProjection();
  double lat = 43.61, lon = -79.61;
  Measure(state, [&] {
    int zone = -9;
    UtmCoordinates u = GeoToUtm(lat, lon, zone, 0);
    benchmark::DoNotOptimize(u);
    lat += 1e-7;
    lon -= 1e-7;
  });
}
BENCHMARK(BM_GeoToUtm);

void BM_Em38Decode(benchmark::State& state) {
  const std::string records[2] = {std::string("T<-0123"), std::string("T#00500")};
  int i = 0;
  Measure(state, [&] {
    Em38Reading r = DecodeEm38Record(records[i++ & 1]);
    benchmark::DoNotOptimize(r);
  });
}
BENCHMARK(BM_Em38Decode);

}  // namespace
}  // namespace obrix
