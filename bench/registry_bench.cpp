// Costs of the simulated registry: loading a hive (first access of a new
// instance), saving it (folding one change into the hive file), and 10,000
// single string writes into a 100,000-value hive. Plain reads and writes of
// a file of the same size are the baseline (what copying the hive costs).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Registry.h"
#include "platform/sim/SimRegistry.h"

namespace fs = std::filesystem;
using platform::RegValue;
using platform::RootKey;

namespace {

constexpr int kValuesPerKey = 100;

// A registry directory with `values` string values under HKLM\Bench, 100
// per key, folded into the hive file.
class BenchHive {
 public:
  explicit BenchHive(int values) {
    char tmpl[] = "/tmp/pellmore-regbench-XXXXXX";
    if (!mkdtemp(tmpl)) abort();
    top_ = tmpl;
    dir_ = (top_ / "registry").string();
    auto reg = platform::sim::OpenSimRegistry(dir_);
    for (int k = 0; k * kValuesPerKey < values; ++k) {
      const std::string key = KeyName(k);
      reg->CreateKey(RootKey::LocalMachine, key);
      for (int v = 0; v < kValuesPerKey && k * kValuesPerKey + v < values; ++v)
        reg->WriteValue(RootKey::LocalMachine, key, "Value" + std::to_string(v),
                        RegValue::Str("C:\\Program Files\\Quenby\\Database Engine\\file" +
                                      std::to_string(v) + ".dll"));
    }
    reg->Flush(RootKey::LocalMachine, "Bench");
  }
  ~BenchHive() { fs::remove_all(top_); }

  static std::string KeyName(int k) { return "Bench\\Key" + std::to_string(k); }
  const std::string& Dir() const { return dir_; }
  std::string HiveFile() const { return dir_ + "/HKEY_LOCAL_MACHINE.reg"; }

 private:
  fs::path top_;
  std::string dir_;
};

void BM_LoadHive(benchmark::State& state) {
  BenchHive hive(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto reg = platform::sim::OpenSimRegistry(hive.Dir());
    benchmark::DoNotOptimize(
        reg->ReadValue(RootKey::LocalMachine, BenchHive::KeyName(0), "Value0"));
  }
  state.counters["bytes"] = static_cast<double>(fs::file_size(hive.HiveFile()));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_SaveHive(benchmark::State& state) {
  BenchHive hive(static_cast<int>(state.range(0)));
  auto reg = platform::sim::OpenSimRegistry(hive.Dir());
  uint32_t n = 0;
  for (auto _ : state) {
    reg->WriteValue(RootKey::LocalMachine, BenchHive::KeyName(0), "Counter",
                    RegValue::DWordValue(++n));
    reg->Flush(RootKey::LocalMachine, "Bench");  // rewrites the whole hive
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Baseline: reading the hive file's bytes, and writing them to a new file
// with fsync and rename (what a save must do at least).
void BM_RawReadFile(benchmark::State& state) {
  BenchHive hive(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::ifstream in(hive.HiveFile(), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    benchmark::DoNotOptimize(text);
  }
}

void BM_RawWriteFile(benchmark::State& state) {
  BenchHive hive(static_cast<int>(state.range(0)));
  std::ifstream in(hive.HiveFile(), std::ios::binary);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string tmp = hive.Dir() + "/copy.tmp", dest = hive.Dir() + "/copy.reg";
  for (auto _ : state) {
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, text.data(), text.size()) != static_cast<ssize_t>(text.size()))
      abort();
    ::fsync(fd);
    ::close(fd);
    ::rename(tmp.c_str(), dest.c_str());
  }
}

// 10,000 writes as WriteRegString makes them (create the key, write the
// value), each a separate locked change, into a 100,000-value hive.
void BM_SingleWrites(benchmark::State& state) {
  BenchHive hive(100000);
  auto reg = platform::sim::OpenSimRegistry(hive.Dir());
  int round = 0;
  for (auto _ : state) {
    for (int i = 0; i < 10000; ++i) {
      const std::string key = BenchHive::KeyName(i % 1000);
      reg->CreateKey(RootKey::LocalMachine, key);
      reg->WriteValue(
          RootKey::LocalMachine, key, "Value" + std::to_string(i % kValuesPerKey),
          RegValue::Str("round " + std::to_string(round) + " write " + std::to_string(i)));
    }
    ++round;
  }
  state.counters["journal_bytes"] =
      static_cast<double>(fs::file_size(hive.Dir() + "/HKEY_LOCAL_MACHINE.journal"));
  state.SetItemsProcessed(state.iterations() * 10000);
}

}  // namespace

BENCHMARK(BM_LoadHive)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawReadFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveHive)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawWriteFile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleWrites)->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
