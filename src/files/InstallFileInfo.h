// The 72-byte file-information record that build mode writes for every
// packed install file (size, date, component name, version), and the
// process-wide table of the install files' unique ids (0..1999) that link a
// file to its archive member.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "framework/DateTime.h"

// One file-information record. Texts are cut to fit their zero-terminated
// fields (39 and 19 bytes) without splitting a UTF-8 sequence.
struct TFileInfoRecord {
  static constexpr size_t kSize = 72;
  static constexpr size_t kSizeOffset = 0;
  static constexpr size_t kDateOffset = 4;
  static constexpr size_t kNameOffset = 12;
  static constexpr size_t kNameWidth = 40;
  static constexpr size_t kVersionOffset = 52;
  static constexpr size_t kVersionWidth = 20;

  uint32_t Size = 0;
  TDateTime Date = 0;
  std::string Name;
  std::string Version;

  std::array<uint8_t, kSize> Encode() const;
  // Reads a record; a field without its terminator ends at the field's end.
  static TFileInfoRecord Decode(const uint8_t* bytes);
};

// `text` cut to at most `maxBytes` bytes, ending on a whole UTF-8 sequence.
std::string CutUtf8(const std::string& text, size_t maxBytes);

// The unique-id table: one in-use flag per id. A new file takes the lowest
// free id; loading a form clears the table once (the first file to finish
// loading) and each loaded file marks its streamed id.
class TUniqueIdTable {
 public:
  static constexpr int kCount = 2000;

  // The lowest free id, marked; 0 when all are taken.
  int Allocate() noexcept;
  // Ids outside 0..1999 are ignored.
  void Mark(int id) noexcept;
  void Release(int id) noexcept;
  bool InUse(int id) const noexcept;
  // Clears the table the first time it is called since the last reset.
  void ClearOnceForLoading() noexcept;
  void Reset() noexcept;

 private:
  std::array<bool, kCount> used_{};
  bool clearedForLoading_ = false;
};

// The program's table; a process-state reset empties it.
TUniqueIdTable& UniqueIdTable();
