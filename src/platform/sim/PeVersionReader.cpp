// PE version resource reader: the resource directory and the version tree,
// over the shared PE image view. Positions are named offsets into the
// resource structures; arithmetic is done in 64 bits against known sizes,
// so no field read from the file can overflow a bounds check.
#include "platform/sim/PeVersionReader.h"

#include <algorithm>
#include <string>

#include "framework/Utf8.h"

namespace platform::sim {
namespace {

using pe::Le16;
using pe::Le32;

// Resource directory table, its entries and data entries.
constexpr uint64_t kResDirNamedCount = 12;
constexpr uint64_t kResDirIdCount = 14;
constexpr uint64_t kResDirHeaderSize = 16;
constexpr uint64_t kResEntrySize = 8;
constexpr uint32_t kResSubdirectoryFlag = 0x80000000u;
constexpr uint32_t kResNameIsStringFlag = 0x80000000u;
constexpr uint64_t kResDataEntrySize = 16;
constexpr uint32_t kRtVersion = 16;
constexpr uint32_t kVsVersionInfoId = 1;
// Version tree nodes.
constexpr size_t kNodeHeaderSize = 6;  // wLength, wValueLength, wType
constexpr size_t kFixedFileInfoSize = 52;
constexpr int kMaxNodeDepth = 8;
constexpr size_t kMaxNodes = 8192;

// The value (OffsetToData) of an entry of the resource directory at root +
// dirOffset: the first numeric entry equal to the first of `ids` that has
// one; when none matches and `anyAsLast` is set, the first entry.
bool FindEntry(const PeImage& image, uint32_t root, uint32_t dirOffset,
               std::span<const uint32_t> ids, bool anyAsLast, uint32_t& value) {
  // Resource addresses are 32-bit: a directory past that range is damage.
  const uint64_t dir = uint64_t(root) + dirOffset;
  if (dir > UINT32_MAX - kResDirHeaderSize) return false;
  uint8_t head[kResDirHeaderSize];
  if (!image.Read(dir, head, sizeof head)) return false;
  const uint32_t named = Le16(head + kResDirNamedCount);
  const uint32_t count = named + Le16(head + kResDirIdCount);
  if (count == 0) return false;
  std::vector<uint8_t> entries(size_t(count) * kResEntrySize);
  if (!image.Read(dir + kResDirHeaderSize, entries.data(), entries.size())) return false;
  for (uint32_t id : ids) {
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* e = entries.data() + size_t(i) * kResEntrySize;
      const uint32_t name = Le32(e);
      if ((name & kResNameIsStringFlag) == 0 && name == id) {
        value = Le32(e + 4);
        return true;
      }
    }
  }
  if (!anyAsLast) return false;
  value = Le32(entries.data() + 4);
  return true;
}

bool IsSubdirectory(uint32_t value) {
  return (value & kResSubdirectoryFlag) != 0;
}
uint32_t SubdirectoryOffset(uint32_t value) {
  return value & ~kResSubdirectoryFlag;
}

// ---- the version tree ----

struct Node {
  std::u16string key;
  uint16_t type = 0;         // 1: text value, 0: binary value
  uint16_t valueLength = 0;  // as stored: characters for text, bytes for binary
  size_t valueStart = 0;
  size_t end = 0;  // end of this node, within the block
  std::vector<Node> children;
};

size_t Align4(size_t v) {
  return (v + 3) & ~size_t(3);
}

bool KeyEquals(const std::u16string& key, std::u16string_view wanted) {
  if (key.size() != wanted.size()) return false;
  for (size_t i = 0; i < key.size(); ++i) {
    char16_t a = key[i], b = wanted[i];
    if (a >= u'a' && a <= u'z') a = static_cast<char16_t>(a - 32);
    if (b >= u'a' && b <= u'z') b = static_cast<char16_t>(b - 32);
    if (a != b) return false;
  }
  return true;
}

class TreeParser {
 public:
  explicit TreeParser(std::span<const uint8_t> block) : b_(block) {}

  // Parses the node at `pos`, which must lie before `limit`; false when
  // no valid node starts there (the caller stops at it).
  bool ParseNode(size_t pos, size_t limit, int depth, Node& node) {
    if (++nodes_ > kMaxNodes) return false;
    if (pos > limit || limit - pos < kNodeHeaderSize) return false;
    const size_t length = Le16(&b_[pos]);
    if (length < kNodeHeaderSize) return false;
    node.end = std::min(limit, pos + length);
    node.valueLength = Le16(&b_[pos + 2]);
    node.type = Le16(&b_[pos + 4]);
    size_t p = pos + kNodeHeaderSize;
    for (;;) {
      if (node.end - p < 2) return false;  // key without its terminator
      const char16_t c = Le16(&b_[p]);
      p += 2;
      if (c == 0) break;
      node.key.push_back(c);
    }
    node.valueStart = Align4(p);
    const size_t valueBytes = size_t(node.valueLength) * (node.type == 1 ? 2 : 1);
    const size_t childStart = Align4(node.valueStart + valueBytes);
    if (depth < kMaxNodeDepth) {
      size_t c = childStart;
      while (c < node.end) {
        Node child;
        if (!ParseNode(c, node.end, depth + 1, child)) break;
        const size_t childLength = Le16(&b_[c]);
        node.children.push_back(std::move(child));
        c = Align4(c + childLength);
      }
    }
    return true;
  }

 private:
  std::span<const uint8_t> b_;
  size_t nodes_ = 0;
};

const Node* FindChild(const Node& parent, std::u16string_view key) {
  for (const Node& child : parent.children)
    if (KeyEquals(child.key, key)) return &child;
  return nullptr;
}

class BlockVersionData : public VersionInfoData {
 public:
  BlockVersionData(std::vector<uint8_t> block, Node root)
      : block_(std::move(block)), root_(std::move(root)) {}

  std::optional<FixedFileInfo> Fixed() const override {
    const size_t start = root_.valueStart;
    if (root_.valueLength < kFixedFileInfoSize || start > root_.end ||
        root_.end - start < kFixedFileInfoSize)
      return std::nullopt;
    const uint8_t* p = block_.data() + start;
    FixedFileInfo f;
    uint32_t* fields[] = {&f.signature,     &f.strucVersion,     &f.fileVersionMS,
                          &f.fileVersionLS, &f.productVersionMS, &f.productVersionLS,
                          &f.fileFlagsMask, &f.fileFlags,        &f.fileOS,
                          &f.fileType,      &f.fileSubtype,      &f.fileDateMS,
                          &f.fileDateLS};
    for (size_t i = 0; i < std::size(fields); ++i) *fields[i] = Le32(p + 4 * i);
    return f;
  }

  std::vector<VersionTranslation> Translations() const override {
    std::vector<VersionTranslation> out;
    const Node* var = FindChild(root_, u"VarFileInfo");
    const Node* tr = var ? FindChild(*var, u"Translation") : nullptr;
    if (tr == nullptr || tr->valueStart > tr->end) return out;
    const size_t bytes = std::min<size_t>(tr->valueLength, tr->end - tr->valueStart);
    for (size_t i = 0; i + 4 <= bytes; i += 4) {
      const uint8_t* p = block_.data() + tr->valueStart + i;
      out.push_back({Le16(p), Le16(p + 2)});
    }
    return out;
  }

  std::optional<std::string> StringValue(std::string_view table,
                                         std::string_view key) const override {
    const Node* sfi = FindChild(root_, u"StringFileInfo");
    const Node* tab = sfi ? FindChild(*sfi, Utf8ToUtf16(table)) : nullptr;
    const Node* str = tab ? FindChild(*tab, Utf8ToUtf16(key)) : nullptr;
    if (str == nullptr) return std::nullopt;
    // Callers of the system read the value up to its terminator; an empty
    // declared value is "" rather than whatever bytes follow the key.
    std::u16string text;
    if (str->valueLength != 0) {
      for (size_t p = str->valueStart; p < str->end && str->end - p >= 2; p += 2) {
        const char16_t c = Le16(block_.data() + p);
        if (c == 0) break;
        text.push_back(c);
      }
    }
    return Utf16ToUtf8(text);
  }

 private:
  std::vector<uint8_t> block_;
  Node root_;
};

}  // namespace

std::optional<std::vector<uint8_t>> FindPeVersionResource(ByteSource& file, uint16_t userLanguage) {
  const auto image = PeImage::Open(file);
  if (!image) return std::nullopt;
  const auto resources = image->DataDirectory(pe::kResourceDirectory);
  if (!resources || resources->rva == 0) return std::nullopt;
  const uint32_t resourceRva = resources->rva;

  // Type 16, then name 1, then the language the system would pick.
  const uint32_t type[] = {kRtVersion};
  const uint32_t name[] = {kVsVersionInfoId};
  const uint16_t primary = userLanguage & 0x3FF;
  const uint32_t languages[] = {0x0000, userLanguage, primary, uint32_t(primary | 0x0400), 0x0409};
  uint32_t value = 0;
  if (!FindEntry(*image, resourceRva, 0, type, false, value) || !IsSubdirectory(value))
    return std::nullopt;
  if (!FindEntry(*image, resourceRva, SubdirectoryOffset(value), name, false, value) ||
      !IsSubdirectory(value))
    return std::nullopt;
  if (!FindEntry(*image, resourceRva, SubdirectoryOffset(value), languages, true, value) ||
      IsSubdirectory(value))
    return std::nullopt;
  const uint64_t dataEntry = uint64_t(resourceRva) + value;
  uint8_t entry[kResDataEntrySize];
  if (dataEntry > UINT32_MAX || !image->Read(dataEntry, entry, sizeof entry)) return std::nullopt;
  const uint32_t dataRva = Le32(entry);
  const size_t size = std::min<size_t>(Le32(entry + 4), kMaxVersionBlock);
  if (size < kNodeHeaderSize) return std::nullopt;
  std::vector<uint8_t> block(size);
  if (!image->Read(dataRva, block.data(), block.size())) return std::nullopt;
  return block;
}

std::unique_ptr<VersionInfoData> ParseVersionBlock(std::span<const uint8_t> block) {
  if (block.size() > kMaxVersionBlock) block = block.first(kMaxVersionBlock);
  Node root;
  TreeParser parser(block);
  if (!parser.ParseNode(0, block.size(), 0, root)) return nullptr;
  return std::make_unique<BlockVersionData>(std::vector<uint8_t>(block.begin(), block.end()),
                                            std::move(root));
}

std::unique_ptr<VersionInfoData> ReadPeVersionInfo(ByteSource& file, uint16_t userLanguage) {
  auto block = FindPeVersionResource(file, userLanguage);
  if (!block) return nullptr;
  return ParseVersionBlock(*block);
}

}  // namespace platform::sim
