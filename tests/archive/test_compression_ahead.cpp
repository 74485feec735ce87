// Compression ahead: a build packing file by file gets the same archive,
// byte for byte, whether its members were compressed ahead on several
// threads or one by one; also when the build skips primed files, packs
// files nobody primed, meets sources larger than the memory budget, or a
// source that is gone.
#include "archive/CompressionAhead.h"
#include "framework/Strings.h"
#include "test_cmp_TVrexCompress_fixture.h"

namespace archive_test {
namespace {

class AheadTest : public ArchiveTest {
 protected:
  AheadTest() {
    for (int i = 0; i < 40; ++i) {
      const size_t size = i % 7 == 0 ? 0 : size_t(i) * 9973 % 300000;
      const std::string path = P("C:\\TREE\\F" + std::to_string(i) + ".BIN");
      Write(path, i % 2 ? Sample(size, uint32_t(i)) : Noise(size, uint32_t(i)));
      paths_.push_back(path);
    }
  }
  ~AheadTest() override { CompressionAhead().Stop(); }

  // Packs `packed` one Compress per file, as a build does, after priming
  // `primed`; returns the archive's bytes.
  std::string Pack(const std::vector<std::string>& primed, const std::vector<std::string>& packed,
                   unsigned workers, uint64_t budget = TCompressionAhead::kDefaultBudget) {
    const std::string archive = P("C:\\OUT\\files.1");
    if (Exists(archive)) platform::files().DeleteFile(archive);
    CompressionAhead().Prime(primed, colMax, workers, budget);
    Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
    c->SetCompressedFile(archive);
    int id = 0;
    for (const std::string& path : packed) {
      TStringList one;
      one.Add(path);
      c->SetFilesToProcess(&one);
      c->Compress(lzcOnlyAdd, id++);
    }
    CompressionAhead().Stop();
    return Read(archive);
  }

  std::vector<std::string> paths_;
};

TEST_F(AheadTest, ManyWorkersWriteTheArchiveOfOne) {
  const std::string single = Pack({}, paths_, 1);
  std::vector<std::string> skipping;  // every third primed file is not packed
  for (size_t i = 0; i < paths_.size(); ++i)
    if (i % 3) skipping.push_back(paths_[i]);
  std::vector<std::string> reversed(paths_.rbegin(), paths_.rend());

  struct Case {
    const char* what;
    std::vector<std::string> primed, packed;
    unsigned workers;
    uint64_t budget;
  };
  const Case cases[] = {
      {"four workers", paths_, paths_, 4, TCompressionAhead::kDefaultBudget},
      {"sixteen workers, 300 KB in flight", paths_, paths_, 16, 300000},
      {"sources over the budget go one by one", paths_, paths_, 3, 100000},
      {"nothing primed", {}, paths_, 4, TCompressionAhead::kDefaultBudget},
      {"primed in the other order", reversed, paths_, 4, TCompressionAhead::kDefaultBudget},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    EXPECT_TRUE(Pack(k.primed, k.packed, k.workers, k.budget) == single);
  }
  SCOPED_TRACE("primed files skipped");
  EXPECT_TRUE(Pack(paths_, skipping, 4) == Pack({}, skipping, 1));

  // And the archive is a good one.
  Owned<TVrexCompress> r{new TVrexCompress(nullptr)};
  r->SetCompressedFile(P("C:\\OUT\\files.1"));
  for (int i = 0; i < r->FileCount(); ++i) EXPECT_NO_THROW(r->VerifyMember(i));
}

TEST_F(AheadTest, ASourceGoneAfterPrimingFailsAsItWouldAlone) {
  // The budget holds F0 to F4 open ahead; F5 goes before it is opened.
  CompressionAhead().Prime(paths_, colMax, 4, 100000);
  platform::files().DeleteFile(paths_[5]);
  Owned<TVrexCompress> c{new TVrexCompress(nullptr)};
  c->SetCompressedFile(P("C:\\OUT\\files.1"));
  TStringList list;
  for (int i = 0; i <= 5; ++i) list.Add(paths_[size_t(i)]);
  c->SetFilesToProcess(&list);
  EXPECT_THAT([&] { c->Compress(lzcOverwrite, 0); },
              ThrowsMessage<EVrexCompress>(HasSubstr("Cannot open the file " + paths_[5])));
  EXPECT_FALSE(Exists(P("C:\\OUT\\files.1")));
}

}  // namespace
}  // namespace archive_test
