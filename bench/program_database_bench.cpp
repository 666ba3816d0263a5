// The program database: reading it whole from the folder the build installs it from (meant to
// take under 50 ms), and what recognising a program costs at Load: the SHA-1 of a program of
// 3.5 KB, the look-up and the copy of its entry.
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "files/program_database.h"
#include "platform/sha1.h"

namespace pellark {
namespace {

void ReadDatabase(benchmark::State& state) {
  for (auto _ : state) {
    const DatabaseRead read = ProgramDatabase::Read(PELLARK_DATABASE_DIR);
    if (!read.database) {
      state.SkipWithError(("no database: " + read.error).c_str());
      return;
    }
    benchmark::DoNotOptimize(read.database->FileCount());
  }
}

// As Load recognises a program.
std::optional<KnownProgram> Recognise(const ProgramDatabase& database,
                                      const std::vector<std::uint8_t>& bytes) {
  const KnownProgram* known = database.FindSha1(Sha1Hex(bytes));
  if (known == nullptr) return std::nullopt;
  return *known;
}

void LookUp(benchmark::State& state, const std::vector<std::uint8_t>& bytes, bool known) {
  const DatabaseRead read = ProgramDatabase::Read(PELLARK_DATABASE_DIR);
  if (!read.database) {
    state.SkipWithError(("no database: " + read.error).c_str());
    return;
  }
  if (Recognise(*read.database, bytes).has_value() != known) {
    state.SkipWithError(known ? "the program is not in the database" : "the program is known");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(Recognise(*read.database, bytes));
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}

// A program of the archive, 3580 bytes, that the database knows.
void LookUpKnownProgram(benchmark::State& state) {
  std::ifstream file(PELLARK_SHARED_DIR "/roms/applejak.ch8", std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  LookUp(state, bytes, true);
}

// As many made-up bytes as fit in memory from 200h, of no program the database knows.
void LookUpUnknownProgram(benchmark::State& state) {
  std::vector<std::uint8_t> bytes(3584);
  for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<std::uint8_t>(k * 37);
  LookUp(state, bytes, false);
}

BENCHMARK(ReadDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(LookUpKnownProgram)->Unit(benchmark::kMicrosecond);
BENCHMARK(LookUpUnknownProgram)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pellark

BENCHMARK_MAIN();
