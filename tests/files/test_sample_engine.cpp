// The sample engine: every file the engine group declares, real PE images
// with the right versions where they are programs, realistic sizes and
// data that compresses like real files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <set>

#include "platform/sim/PeVersionReader.h"
#include "tools/sample-engine/SampleEngine.h"

namespace {

TEST(SampleEngine, HoldsTheEngineGroupsFilesWithTheirVersions) {
  struct Case {
    sample_engine::Release release;
    size_t count;
    const char* prefix;
  };
  for (const Case c : {Case{sample_engine::Release::v82, 31, "8.2."},
                       Case{sample_engine::Release::v75, 27, "7.5."}}) {
    SCOPED_TRACE(c.prefix);
    const auto files = sample_engine::BuildEngine(c.release);
    ASSERT_EQ(files.size(), c.count);
    std::set<std::string> names;
    size_t total = 0, packed = 0;
    for (const auto& f : files) {
      SCOPED_TRACE(f.name);
      names.insert(f.name);
      total += f.bytes.size();
      platform::sim::SpanSource source(f.bytes);
      const auto data = platform::sim::ReadPeVersionInfo(source);
      if (f.version.empty()) {
        EXPECT_EQ(data, nullptr);
      } else {
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(f.version.rfind(c.prefix, 0), 0u);
        EXPECT_EQ(data->StringValue("040904E4", "FileVersion"), f.version);
        EXPECT_EQ(data->StringValue("040904E4", "OLESelfRegister").has_value(),
                  f.name == "QDLSQ32.DLL");
        EXPECT_GE(f.bytes.size(), 20u * 1024);
      }
      std::vector<uint8_t> out(compressBound(f.bytes.size()));
      uLongf len = out.size();
      ASSERT_EQ(compress2(out.data(), &len, f.bytes.data(), f.bytes.size(), 6), Z_OK);
      packed += len;
    }
    EXPECT_EQ(names.size(), c.count);  // no name twice
    EXPECT_TRUE(names.count("QDENG32.DLL") && names.count("QDENG32.CNF"));
    // Neither noise nor zeros: compresses like real program files.
    EXPECT_GT(total, 2u * 1024 * 1024);
    EXPECT_GT(packed * 6, total);
    EXPECT_LT(packed * 2, total);
  }
}

TEST(SampleEngine, IsTheSameEveryTime) {
  const auto a = sample_engine::BuildEngine(sample_engine::Release::v82);
  const auto b = sample_engine::BuildEngine(sample_engine::Release::v82);
  ASSERT_EQ(a.size(), b.size());
  for (size_t i = 0; i < a.size(); ++i) EXPECT_EQ(a[i].bytes, b[i].bytes) << a[i].name;
}

}  // namespace
