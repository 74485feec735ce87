// A bounds-checked view of a PE image shared by the simulated machine's PE
// readers: the byte sources they read from, the DOS and PE headers, the data
// directories, the section table and reads by relative virtual address as a
// mapped image would see them. The input is outside data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform {
class File;
}

namespace platform::sim {

// Random access to the bytes of a file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual uint64_t Size() = 0;
  // Reads exactly `length` bytes at `offset`; false when they are not all
  // there (nothing is promised about `out` then).
  virtual bool ReadAt(uint64_t offset, void* out, size_t length) = 0;
};

// A ByteSource over bytes in memory (not owned).
class SpanSource : public ByteSource {
 public:
  explicit SpanSource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  uint64_t Size() override { return bytes_.size(); }
  bool ReadAt(uint64_t offset, void* out, size_t length) override;

 private:
  std::span<const uint8_t> bytes_;
};

// A ByteSource through an open file of the machine (not owned): each read
// seeks, so nothing more than the headers and the data asked for is read.
// The file's OsErrors pass through.
class FileSource : public ByteSource {
 public:
  explicit FileSource(File& file);
  uint64_t Size() override { return size_; }
  bool ReadAt(uint64_t offset, void* out, size_t length) override;

 private:
  File& file_;
  uint64_t size_;
};

namespace pe {

// Little-endian fields; the caller has checked the bytes exist.
inline uint16_t Le16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t Le32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Indexes into the optional header's data directory table.
inline constexpr uint32_t kExportDirectory = 0;
inline constexpr uint32_t kResourceDirectory = 2;

}  // namespace pe

struct PeDataDirectory {
  uint32_t rva = 0;
  uint32_t size = 0;
};

// The headers of a PE image and the mapping of its sections. Keeps a
// reference to the source, which must outlive it.
class PeImage {
 public:
  // The image in `file`, or nullopt when it has no "MZ" header, no "PE\0\0"
  // signature where that header points, no complete file header or an
  // optional header that is neither PE32 nor PE32+. A missing, empty or
  // oversized section table is no error here: the image then maps nothing
  // and every read by address fails.
  static std::optional<PeImage> Open(ByteSource& file);

  uint16_t Machine() const { return machine_; }
  uint16_t Characteristics() const { return characteristics_; }
  bool IsPe32() const { return pe32_; }  // else PE32+

  // Entry `index` of the data directory table, or nullopt when the optional
  // header's declared size or its count of entries does not include it, or
  // the file ends before it.
  std::optional<PeDataDirectory> DataDirectory(uint32_t index) const;

  // The file offset of `length` bytes at `rva`, when the file data of the
  // first section holding `rva` backs all of them; bytes a section only
  // zero-fills count as missing.
  std::optional<uint64_t> RvaToOffset(uint64_t rva, size_t length) const;

  // Reads by address; false when RvaToOffset has no answer or the file
  // cannot supply the bytes.
  bool Read(uint64_t rva, void* out, size_t length) const;
  bool Read16(uint64_t rva, uint16_t& v) const;
  bool Read32(uint64_t rva, uint32_t& v) const;

 private:
  struct Section {
    uint32_t virtualAddress = 0;
    uint32_t mappedSize = 0;  // bytes of the section backed by file data
    uint32_t rawPointer = 0;
  };

  explicit PeImage(ByteSource& file) : file_(&file) {}
  void LoadSections(uint16_t count, uint64_t tableOffset);

  ByteSource* file_;
  uint16_t machine_ = 0;
  uint16_t characteristics_ = 0;
  bool pe32_ = false;
  uint64_t optionalHeader_ = 0;  // file offset
  uint16_t optionalHeaderSize_ = 0;
  std::vector<Section> sections_;
};

}  // namespace platform::sim
