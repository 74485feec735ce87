// Hive file writer (see HiveWriter.h).
#include "platform/sim/HiveWriter.h"

#include <string>

#include "platform/sim/HiveReader.h"
#include "platform/sim/HiveSyntax.h"

namespace platform::sim {
namespace {

constexpr size_t kChunk = 64 * 1024;

class ChunkedOut {
 public:
  explicit ChunkedOut(const std::function<void(std::string_view)>& sink) : sink_(sink) {
    buf_.reserve(kChunk + 4096);
  }
  std::string& Buffer() { return buf_; }
  void MaybeFlush() {
    if (buf_.size() >= kChunk) Flush();
  }
  void Flush() {
    if (!buf_.empty()) sink_(buf_);
    buf_.clear();
  }

 private:
  const std::function<void(std::string_view)>& sink_;
  std::string buf_;
};

// `path` holds "ROOT\...\key" on entry and is restored on return. The
// recursion is bounded by the key depth limit.
void WriteKey(const HiveKey& key, std::string& path, bool isRoot, ChunkedOut& out) {
  std::string& b = out.Buffer();
  if (!isRoot || key.ValueCount() > 0) {
    b += "\n[";
    b += path;
    b += "]\n";
  }
  key.ForEachValue([&](const std::string& name, const RegValue& value) {
    const size_t lineStart = b.size();
    if (name.empty())
      b += '@';
    else
      AppendQuoted(b, name);
    b += '=';
    AppendValueData(b, value, /*wrap=*/true, b.size() - lineStart);
    b += '\n';
    out.MaybeFlush();
  });
  out.MaybeFlush();
  for (const auto& [upper, child] : key.SubKeys()) {
    const size_t keep = path.size();
    path += '\\';
    path += child->Name();
    WriteKey(*child, path, false, out);
    path.resize(keep);
  }
}

}  // namespace

void WriteHiveText(const Hive& hive, const std::function<void(std::string_view)>& sink) {
  ChunkedOut out(sink);
  out.Buffer() += "REGEDIT4\n";
  out.Buffer() += kGenerationComment;
  out.Buffer() += std::to_string(hive.generation);
  out.Buffer() += '\n';
  std::string path = hive.RootName();
  WriteKey(hive.Root(), path, true, out);
  out.Flush();
}

}  // namespace platform::sim
