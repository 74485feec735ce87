// Throughput of the archive's codecs against plain zlib on the same data
// (the sample engine's 31 files, about 3.5 MB): the compression stream
// against a deflate loop and compress2, the member decoder against an
// inflate loop with the same buffer sizes and uncompress. After the run the
// ratios ours/plain are printed; the layering should cost under 10%.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "archive/MemberDecoder.h"
#include "archive/ZlibStreams.h"
#include "tools/sample-engine/SampleEngine.h"

namespace {

using Bytes = std::vector<uint8_t>;

// All engine files back to back: one member's worth of realistic data.
const Bytes& Source() {
  static const Bytes data = [] {
    Bytes all;
    for (const auto& f : sample_engine::BuildEngine(sample_engine::Release::v82))
      all.insert(all.end(), f.bytes.begin(), f.bytes.end());
    return all;
  }();
  return data;
}

int LevelOf(int64_t arg) {
  return arg == 9 ? 9 : (arg == 1 ? 1 : Z_DEFAULT_COMPRESSION);
}
TCompressionLevel ColOf(int64_t arg) {
  return arg == 9 ? colMax : (arg == 1 ? colFastest : colDefault);
}

const Bytes& Packed() {
  static const Bytes packed = [] {
    Bytes out(compressBound(Source().size()));
    uLongf len = out.size();
    compress2(out.data(), &len, Source().data(), Source().size(), 9);
    out.resize(len);
    return out;
  }();
  return packed;
}

// ---- compression ----

void BM_CompressionStream(benchmark::State& state) {
  const Bytes& src = Source();
  TMemoryStream dest;
  dest.Bytes().reserve(src.size());
  for (auto _ : state) {
    dest.Clear();
    TCompressionStream z(ColOf(state.range(0)), dest);
    // The archive copies a source file into the stream in 64 KB pieces.
    for (size_t at = 0; at < src.size(); at += 65536)
      z.Write(src.data() + at, std::min<size_t>(65536, src.size() - at));
    z.Finish();
    benchmark::DoNotOptimize(dest.Bytes().data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(src.size()));
}

void BM_PlainDeflateLoop(benchmark::State& state) {
  const Bytes& src = Source();
  Bytes dest;
  dest.reserve(src.size());
  std::vector<uint8_t> buffer(65536);
  for (auto _ : state) {
    dest.clear();
    z_stream z{};
    deflateInit2(&z, LevelOf(state.range(0)), Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY);
    for (size_t at = 0; at <= src.size(); at += 65536) {
      const bool last = at + 65536 >= src.size();
      z.next_in = const_cast<Bytef*>(src.data() + at);
      z.avail_in = static_cast<uInt>(std::min<size_t>(65536, src.size() - at));
      do {
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
        dest.insert(dest.end(), buffer.data(), buffer.data() + (buffer.size() - z.avail_out));
      } while (z.avail_out == 0);
      if (last) break;
    }
    deflateEnd(&z);
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(src.size()));
}

void BM_PlainCompress2(benchmark::State& state) {
  const Bytes& src = Source();
  Bytes dest(compressBound(src.size()));
  for (auto _ : state) {
    uLongf len = dest.size();
    compress2(dest.data(), &len, src.data(), src.size(), LevelOf(state.range(0)));
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(src.size()));
}

// ---- decoding ----

class MemoryArchive : public TMemberDecoderHost {
 public:
  explicit MemoryArchive(const Bytes& packed) : volume_(packed) {}
  void Reset() {
    volume_.SetPosition(0);
    dest_.Clear();
    stats_ = {};
    stats_.FileSize = stats_.TotalSize = static_cast<int32_t>(Source().size());
  }
  TStream& VolumeStream() override { return volume_; }
  int CurrentVolume() const override { return 0; }
  void OpenVolume(int) override {}
  int64_t Offset() const override { return 0; }
  int EndVolume() const override { return 0; }
  int64_t EndPosition() const override { return volume_.Size() - 1; }
  TStream& Destination() override { return dest_; }
  bool Abort() const override { return false; }
  void ProcessMessages() override {}
  TlzhFileStats& FileStats() override { return stats_; }
  void Status() override {}
  void DoFullDisk() override {}
  TMemoryStream& Dest() { return dest_; }

 private:
  mutable TMemoryStream volume_;
  TMemoryStream dest_;
  TlzhFileStats stats_;
};

void BM_MemberDecoder(benchmark::State& state) {
  MemoryArchive archive(Packed());
  archive.Dest().Bytes().reserve(Source().size());
  for (auto _ : state) {
    archive.Reset();
    benchmark::DoNotOptimize(DecodeMember(archive));
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Source().size()));
}

void BM_PlainInflateLoop(benchmark::State& state) {
  const Bytes& packed = Packed();
  Bytes dest;
  dest.reserve(Source().size());
  std::vector<uint8_t> out(4096);
  for (auto _ : state) {
    dest.clear();
    z_stream z{};
    inflateInit2(&z, 15);
    size_t at = 0;
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
      if (z.avail_in == 0) {
        z.next_in = const_cast<Bytef*>(packed.data() + at);
        z.avail_in = static_cast<uInt>(std::min<size_t>(65536, packed.size() - at));
        at += z.avail_in;
      }
      z.next_out = out.data();
      z.avail_out = static_cast<uInt>(out.size());
      rc = inflate(&z, Z_NO_FLUSH);
      if (rc < 0) break;
      dest.insert(dest.end(), out.data(), out.data() + (out.size() - z.avail_out));
    }
    inflateEnd(&z);
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Source().size()));
}

void BM_PlainUncompress(benchmark::State& state) {
  const Bytes& packed = Packed();
  Bytes dest(Source().size());
  for (auto _ : state) {
    uLongf len = dest.size();
    uncompress(dest.data(), &len, packed.data(), packed.size());
    benchmark::DoNotOptimize(dest.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(Source().size()));
}

BENCHMARK(BM_CompressionStream)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainDeflateLoop)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainCompress2)->Arg(1)->Arg(6)->Arg(9)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemberDecoder)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainInflateLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainUncompress)->Unit(benchmark::kMillisecond);

// Records each run's time per iteration so the ratios can be printed.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Iteration) times_[r.benchmark_name()] = r.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
  void PrintRatios() const {
    std::printf("\nours / plain zlib (CPU time per run; 1.00 = same cost)\n");
    for (const char* level : {"1", "6", "9"}) {
      const std::string ours = std::string("BM_CompressionStream/") + level;
      Ratio(ours, std::string("BM_PlainDeflateLoop/") + level);
      Ratio(ours, std::string("BM_PlainCompress2/") + level);
    }
    Ratio("BM_MemberDecoder", "BM_PlainInflateLoop");
    Ratio("BM_MemberDecoder", "BM_PlainUncompress");
  }

 private:
  void Ratio(const std::string& ours, const std::string& plain) const {
    const auto a = times_.find(ours), b = times_.find(plain);
    if (a == times_.end() || b == times_.end() || b->second <= 0) return;
    std::printf("  %-24s / %-24s %.3f\n", ours.c_str(), plain.c_str(), a->second / b->second);
  }
  std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.PrintRatios();
  benchmark::Shutdown();
  return 0;
}
