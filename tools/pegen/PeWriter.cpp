// PE32 and PE32+ image writer. Layout: headers (DOS header with its stub,
// PE signature, COFF header, optional header, section table), then .text,
// .rdata (imports, exports, constants), .data (payload) and .rsrc (the
// version resource), each aligned to 0x200 in the file and 0x1000 in memory.
#include "tools/pegen/PeWriter.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "framework/Utf8.h"

namespace pegen {
namespace {

constexpr uint32_t kFileAlignment = 0x200;
constexpr uint32_t kSectionAlignment = 0x1000;
constexpr uint32_t kNewHeaderOffset = 0x80;
constexpr uint32_t kOptionalHeaderSize32 = 224, kOptionalHeaderSize64 = 240;
constexpr uint32_t kSectionHeaderSize = 40;
constexpr uint32_t kDataDirectories = 16;
constexpr uint16_t kMachineI386 = 0x14C, kMachineAmd64 = 0x8664;

// Section characteristics.
constexpr uint32_t kCode = 0x00000020, kInitData = 0x00000040;
constexpr uint32_t kExecute = 0x20000000, kRead = 0x40000000, kWrite = 0x80000000;

// COFF characteristics.
constexpr uint16_t kRelocsStripped = 0x0001, kExecutable = 0x0002, kLineNumsStripped = 0x0004,
                   kLocalSymsStripped = 0x0008, kLargeAddressAware = 0x0020, kMachine32 = 0x0100,
                   kDll = 0x2000;

constexpr uint32_t AlignUp(uint32_t v, uint32_t a) {
  return (v + a - 1) & ~(a - 1);
}

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}
void Add16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Add32(std::vector<uint8_t>& b, uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void AddText(std::vector<uint8_t>& b, const std::string& s) {
  b.insert(b.end(), s.begin(), s.end());
  b.push_back(0);
}
void PadTo(std::vector<uint8_t>& b, size_t alignment) {
  while (b.size() % alignment != 0) b.push_back(0);
}

// A tiny x86 assembler for the stubs: raw bytes plus short jumps to labels.
class Assembler {
 public:
  void Bytes(std::initializer_list<uint8_t> bytes) { code_.insert(code_.end(), bytes); }
  void Imm32(uint32_t v) { Add32(code_, v); }
  // The rel32 that ends an x86-64 RIP-relative instruction: the distance
  // from the instruction's end to `targetRva`, the code starting at `codeRva`.
  void RipRel32(uint32_t targetRva, uint32_t codeRva) {
    const uint32_t end = codeRva + static_cast<uint32_t>(code_.size()) + 4;
    Add32(code_, targetRva - end);
  }
  int Label() {
    labels_.push_back(-1);
    return static_cast<int>(labels_.size() - 1);
  }
  void Bind(int label) { labels_[label] = static_cast<int>(code_.size()); }
  // Short jump (EB, or a 7x condition code) to a label.
  void Jump8(uint8_t opcode, int label) {
    code_.push_back(opcode);
    fixups_.push_back({code_.size(), label});
    code_.push_back(0);
  }
  size_t Here() const { return code_.size(); }
  std::vector<uint8_t> Finish() {
    for (const auto& f : fixups_) {
      const int target = labels_.at(f.label);
      const long rel = static_cast<long>(target) - static_cast<long>(f.at + 1);
      if (target < 0 || rel < -128 || rel > 127) throw std::logic_error("short jump out of range");
      code_[f.at] = static_cast<uint8_t>(static_cast<int8_t>(rel));
    }
    return code_;
  }

 private:
  struct Fixup {
    size_t at;
    int label;
  };
  std::vector<uint8_t> code_;
  std::vector<int> labels_;
  std::vector<Fixup> fixups_;
};

// Relative virtual addresses the EXE code refers to. i386 code holds them
// as absolute addresses (image base added), x86-64 code RIP-relative.
struct CodeAddresses {
  uint32_t exitProcessSlot = 0;     // the IAT entry
  uint32_t getCommandLineSlot = 0;  // the IAT entry
  uint32_t pattern = 0;             // "/REGSERVER"
};

struct Code {
  std::vector<uint8_t> bytes;
  uint32_t entry = 0;                   // offset of the entry point
  std::vector<uint32_t> exportOffsets;  // offsets of the export stubs, in sorted order
};

// DllMain(hinst, reason, reserved): return TRUE. Each export: return its
// value and pop its arguments (stdcall; x86-64 has one calling convention,
// in which the caller cleans up).
Code DllCode(const std::vector<Export>& sorted, bool x64) {
  Assembler a;
  Code c;
  c.entry = 0;
  a.Bytes({0xB8, 0x01, 0x00, 0x00, 0x00});  // mov eax, 1
  if (x64)
    a.Bytes({0xC3});  // ret
  else
    a.Bytes({0xC2, 0x0C, 0x00});  // ret 12
  for (const Export& e : sorted) {
    while (a.Here() % 4 != 0) a.Bytes({0xCC});
    c.exportOffsets.push_back(static_cast<uint32_t>(a.Here()));
    a.Bytes({0xB8});  // mov eax, imm32
    a.Imm32(e.result);
    if (e.argumentBytes == 0 || x64) {
      a.Bytes({0xC3});  // ret
    } else {
      a.Bytes({0xC2, static_cast<uint8_t>(e.argumentBytes),
               static_cast<uint8_t>(e.argumentBytes >> 8)});
    }
  }
  c.bytes = a.Finish();
  return c;
}

// One step of the /REGSERVER search, the same bytes in 32- and 64-bit
// code: the pattern's next character in al from [edi/rdi] (its end: jump
// to `found`), the command line's in dl from [ebx/rbx] folded to upper
// case; a difference jumps to `next`.
void CompareCharacter(Assembler& a, int found, int next) {
  const int noCase = a.Label();
  a.Bytes({0x8A, 0x07});        // mov al, [edi]
  a.Bytes({0x84, 0xC0});        // test al, al
  a.Jump8(0x74, found);         // jz found
  a.Bytes({0x8A, 0x13});        // mov dl, [ebx]
  a.Bytes({0x80, 0xFA, 'a'});   // cmp dl, 'a'
  a.Jump8(0x72, noCase);        // jb
  a.Bytes({0x80, 0xFA, 'z'});   // cmp dl, 'z'
  a.Jump8(0x77, noCase);        // ja
  a.Bytes({0x80, 0xEA, 0x20});  // sub dl, 20h
  a.Bind(noCase);
  a.Bytes({0x38, 0xD0});  // cmp al, dl
  a.Jump8(0x75, next);    // jne next
}

// The x86-64 form of ExeCode: the same steps with RIP-relative addresses,
// the first argument in ecx and 40 bytes of stack for the callee's shadow
// space that also align the stack to 16.
Code ExeCode64(const PeOptions& o, const CodeAddresses& at, uint32_t textRva) {
  Assembler a;
  Code c;
  c.entry = 0;
  auto exitWith = [&](uint32_t code) {
    a.Bytes({0xB9});  // mov ecx, imm32
    a.Imm32(code);
    a.Bytes({0xFF, 0x15});  // call qword [rip + ExitProcess]
    a.RipRel32(at.exitProcessSlot, textRva);
    a.Bytes({0xCC});
  };
  a.Bytes({0x48, 0x83, 0xEC, 0x28});  // sub rsp, 40
  if (!o.regServerExitCode) {
    exitWith(o.exitCode);
    c.bytes = a.Finish();
    return c;
  }
  const int scan = a.Label(), compare = a.Label(), next = a.Label(), found = a.Label(),
            notFound = a.Label();
  a.Bytes({0xFF, 0x15});  // call qword [rip + GetCommandLineA]
  a.RipRel32(at.getCommandLineSlot, textRva);
  a.Bytes({0x48, 0x89, 0xC6});  // mov rsi, rax
  a.Bind(scan);
  a.Bytes({0x48, 0x8D, 0x3D});  // lea rdi, [rip + pattern]
  a.RipRel32(at.pattern, textRva);
  a.Bytes({0x48, 0x89, 0xF3});  // mov rbx, rsi
  a.Bind(compare);
  CompareCharacter(a, found, next);
  a.Bytes({0x48, 0xFF, 0xC7, 0x48, 0xFF, 0xC3});  // inc rdi; inc rbx
  a.Jump8(0xEB, compare);
  a.Bind(next);
  a.Bytes({0x80, 0x3E, 0x00});  // cmp byte [rsi], 0
  a.Jump8(0x74, notFound);
  a.Bytes({0x48, 0xFF, 0xC6});  // inc rsi
  a.Jump8(0xEB, scan);
  a.Bind(found);
  exitWith(*o.regServerExitCode);
  a.Bind(notFound);
  exitWith(o.exitCode);
  c.bytes = a.Finish();
  return c;
}

// The EXE entry point: ExitProcess(code), or with /REGSERVER anywhere in
// GetCommandLineA() (ASCII case ignored) ExitProcess(regServerCode).
Code ExeCode(const PeOptions& o, const CodeAddresses& rvas, uint32_t imageBase32,
             uint32_t textRva) {
  if (o.machine == Machine::Amd64) return ExeCode64(o, rvas, textRva);
  CodeAddresses at = rvas;
  for (uint32_t* v : {&at.exitProcessSlot, &at.getCommandLineSlot, &at.pattern})
    if (*v != 0) *v += imageBase32;
  Assembler a;
  Code c;
  c.entry = 0;
  auto exitWith = [&](uint32_t code) {
    a.Bytes({0x68});  // push imm32
    a.Imm32(code);
    a.Bytes({0xFF, 0x15});  // call dword [ExitProcess]
    a.Imm32(at.exitProcessSlot);
    a.Bytes({0xCC});
  };
  if (!o.regServerExitCode) {
    exitWith(o.exitCode);
    c.bytes = a.Finish();
    return c;
  }
  const int scan = a.Label(), compare = a.Label(), next = a.Label(), found = a.Label(),
            notFound = a.Label();
  a.Bytes({0xFF, 0x15});  // call dword [GetCommandLineA]
  a.Imm32(at.getCommandLineSlot);
  a.Bytes({0x89, 0xC6});  // mov esi, eax
  a.Bind(scan);
  a.Bytes({0xBF});  // mov edi, pattern
  a.Imm32(at.pattern);
  a.Bytes({0x89, 0xF3});  // mov ebx, esi
  a.Bind(compare);
  CompareCharacter(a, found, next);
  a.Bytes({0x47, 0x43});  // inc edi; inc ebx
  a.Jump8(0xEB, compare);
  a.Bind(next);
  a.Bytes({0x80, 0x3E, 0x00});  // cmp byte [esi], 0
  a.Jump8(0x74, notFound);
  a.Bytes({0x46});  // inc esi
  a.Jump8(0xEB, scan);
  a.Bind(found);
  exitWith(*o.regServerExitCode);
  a.Bind(notFound);
  exitWith(o.exitCode);
  c.bytes = a.Finish();
  return c;
}

struct RData {
  std::vector<uint8_t> bytes;
  uint32_t importDir = 0, importSize = 0, iat = 0, iatSize = 0;
  uint32_t exportDir = 0, exportSize = 0;
  CodeAddresses addresses;
};

// Imports of kernel32 (EXE) and the export directory (DLL), laid out for
// a section starting at `rva`.
RData BuildRData(const PeOptions& o, uint32_t rva, uint32_t textRva,
                 const std::vector<Export>& sorted, const Code& code) {
  RData r;
  auto& b = r.bytes;
  if (o.kind == ImageKind::Exe) {
    std::vector<std::string> names = {"ExitProcess"};
    if (o.regServerExitCode) names.push_back("GetCommandLineA");
    const uint32_t slots = static_cast<uint32_t>(names.size()) + 1;
    // Thunks are pointer-sized; a name's RVA sits in the low bits.
    const uint32_t thunk = o.machine == Machine::Amd64 ? 8 : 4;
    auto addThunk = [&](uint32_t v) {
      Add32(b, v);
      if (thunk == 8) Add32(b, 0);
    };
    // IAT first, then the import descriptors, the lookup table, names.
    r.iat = rva;
    r.iatSize = slots * thunk;
    const uint32_t descriptors = r.iat + r.iatSize;
    r.importDir = descriptors;
    r.importSize = 2 * 20;
    const uint32_t lookup = descriptors + r.importSize;
    uint32_t hintNames = lookup + slots * thunk;
    std::vector<uint32_t> nameRvas;
    std::vector<uint8_t> names_blob;
    for (const auto& n : names) {
      nameRvas.push_back(hintNames + static_cast<uint32_t>(names_blob.size()));
      Add16(names_blob, 0);
      AddText(names_blob, n);
      PadTo(names_blob, 2);
    }
    const uint32_t dllName = hintNames + static_cast<uint32_t>(names_blob.size());
    for (uint32_t v : nameRvas) addThunk(v);  // IAT (bound by the loader)
    addThunk(0);
    Add32(b, lookup);  // OriginalFirstThunk
    Add32(b, 0);
    Add32(b, 0);
    Add32(b, dllName);
    Add32(b, r.iat);  // FirstThunk
    for (int i = 0; i < 5; ++i) Add32(b, 0);
    for (uint32_t v : nameRvas) addThunk(v);
    addThunk(0);
    b.insert(b.end(), names_blob.begin(), names_blob.end());
    AddText(b, "KERNEL32.dll");
    PadTo(b, 4);
    r.addresses.exitProcessSlot = r.iat;
    if (o.regServerExitCode) r.addresses.getCommandLineSlot = r.iat + thunk;
    r.addresses.pattern = rva + static_cast<uint32_t>(b.size());
    AddText(b, "/REGSERVER");
    PadTo(b, 4);
  }
  if (o.kind == ImageKind::Dll && !sorted.empty()) {
    const uint32_t n = static_cast<uint32_t>(sorted.size());
    PadTo(b, 4);
    r.exportDir = rva + static_cast<uint32_t>(b.size());
    const uint32_t functions = r.exportDir + 40;
    const uint32_t namePointers = functions + 4 * n;
    const uint32_t ordinals = namePointers + 4 * n;
    uint32_t strings = ordinals + 2 * n;
    const uint32_t moduleName = strings;
    const std::string module = o.moduleName.empty() ? "MODULE.DLL" : o.moduleName;
    strings += static_cast<uint32_t>(module.size() + 1);
    Add32(b, 0);                // Characteristics
    Add32(b, o.timeDateStamp);  // TimeDateStamp
    Add32(b, 0);                // Major/MinorVersion
    Add32(b, moduleName);
    Add32(b, 1);  // Base
    Add32(b, n);  // NumberOfFunctions
    Add32(b, n);  // NumberOfNames
    Add32(b, functions);
    Add32(b, namePointers);
    Add32(b, ordinals);
    for (uint32_t off : code.exportOffsets) Add32(b, textRva + off);
    uint32_t s = strings;
    for (const Export& e : sorted) {
      Add32(b, s);
      s += static_cast<uint32_t>(e.name.size() + 1);
    }
    for (uint32_t i = 0; i < n; ++i) Add16(b, static_cast<uint16_t>(i));
    AddText(b, module);
    for (const Export& e : sorted) AddText(b, e.name);
    r.exportSize = rva + static_cast<uint32_t>(b.size()) - r.exportDir;
    PadTo(b, 4);
  }
  return r;
}

// ---- version resource ----

std::vector<uint8_t> Utf16Bytes(const std::string& utf8, bool terminate) {
  std::vector<uint8_t> out;
  for (char16_t c : Utf8ToUtf16(utf8)) Add16(out, static_cast<uint16_t>(c));
  if (terminate) Add16(out, 0);
  return out;
}

// One node: wLength, wValueLength, wType, key, padding, value, then each
// child on a 4-byte boundary. wLength excludes trailing padding.
std::vector<uint8_t> VersionNode(const std::string& key, uint16_t type,
                                 const std::vector<uint8_t>& value, uint16_t valueLength,
                                 const std::vector<std::vector<uint8_t>>& children) {
  std::vector<uint8_t> b(6, 0);
  const auto k = Utf16Bytes(key, true);
  b.insert(b.end(), k.begin(), k.end());
  PadTo(b, 4);
  b.insert(b.end(), value.begin(), value.end());
  for (const auto& child : children) {
    PadTo(b, 4);
    b.insert(b.end(), child.begin(), child.end());
  }
  if (b.size() > 0xFFFF) throw std::length_error("version resource node longer than 65535 bytes");
  Put16(b, 0, static_cast<uint16_t>(b.size()));
  Put16(b, 2, valueLength);
  Put16(b, 4, type);
  return b;
}

std::string Hex4(uint16_t v) {
  static const char* digits = "0123456789ABCDEF";
  std::string s(4, '0');
  for (int i = 3; i >= 0; --i, v >>= 4) s[i] = digits[v & 0xF];
  return s;
}

// A resource directory table with one entry.
void AddDirectory(std::vector<uint8_t>& b, uint32_t id, uint32_t value) {
  for (int i = 0; i < 3; ++i) Add32(b, 0);  // Characteristics, TimeDateStamp, Version
  Add16(b, 0);                              // named entries
  Add16(b, 1);                              // id entries
  Add32(b, id);
  Add32(b, value);
}

std::vector<uint8_t> BuildResources(const VersionResource& v, ImageKind kind, uint32_t rva) {
  const std::vector<uint8_t> block = BuildVersionBlock(v, kind);
  uint16_t language = v.resourceLanguage;
  if (language == 0 && !v.tables.empty()) language = v.tables.front().language;
  std::vector<uint8_t> b;
  AddDirectory(b, 16, 0x80000000u | 0x18);  // RT_VERSION
  AddDirectory(b, 1, 0x80000000u | 0x30);   // VS_VERSION_INFO
  AddDirectory(b, language, 0x48);          // data entry
  Add32(b, rva + 0x58);
  Add32(b, static_cast<uint32_t>(block.size()));
  Add32(b, 0);
  Add32(b, 0);
  b.insert(b.end(), block.begin(), block.end());
  PadTo(b, 4);
  return b;
}

struct Section {
  std::string name;
  std::vector<uint8_t> data;
  uint32_t characteristics = 0;
  uint32_t rva = 0;
  uint32_t rawPointer = 0;
};

}  // namespace

std::vector<uint8_t> BuildVersionBlock(const VersionResource& v, ImageKind kind) {
  std::vector<uint8_t> fixed;
  Add32(fixed, 0xFEEF04BDu);
  Add32(fixed, 0x00010000u);
  Add32(fixed, (uint32_t(v.fileVersion[0]) << 16) | v.fileVersion[1]);
  Add32(fixed, (uint32_t(v.fileVersion[2]) << 16) | v.fileVersion[3]);
  Add32(fixed, (uint32_t(v.productVersion[0]) << 16) | v.productVersion[1]);
  Add32(fixed, (uint32_t(v.productVersion[2]) << 16) | v.productVersion[3]);
  Add32(fixed, v.fileFlagsMask);
  Add32(fixed, v.fileFlags);
  Add32(fixed, v.fileOS);
  Add32(fixed, v.fileType != 0 ? v.fileType : (kind == ImageKind::Exe ? 1u : 2u));
  Add32(fixed, v.fileSubtype);
  Add32(fixed, 0);
  Add32(fixed, 0);

  std::vector<std::vector<uint8_t>> top;
  if (!v.tables.empty()) {
    std::vector<std::vector<uint8_t>> tables;
    for (const StringTable& t : v.tables) {
      std::vector<std::vector<uint8_t>> strings;
      for (const VersionString& s : t.strings) {
        const auto value = Utf16Bytes(s.value, true);
        strings.push_back(
            VersionNode(s.key, 1, value, static_cast<uint16_t>(value.size() / 2), {}));
      }
      tables.push_back(VersionNode(Hex4(t.language) + Hex4(t.codePage), 1, {}, 0, strings));
    }
    top.push_back(VersionNode("StringFileInfo", 1, {}, 0, tables));
  }
  if (!v.omitVarFileInfo) {
    std::vector<uint8_t> pairs;
    if (v.translations.empty()) {
      for (const StringTable& t : v.tables) {
        Add16(pairs, t.language);
        Add16(pairs, t.codePage);
      }
    } else {
      for (const auto& t : v.translations) {
        Add16(pairs, t.language);
        Add16(pairs, t.codePage);
      }
    }
    const auto var = VersionNode("Translation", 0, pairs, static_cast<uint16_t>(pairs.size()), {});
    top.push_back(VersionNode("VarFileInfo", 1, {}, 0, {var}));
  }
  return VersionNode("VS_VERSION_INFO", 0, fixed, static_cast<uint16_t>(fixed.size()), top);
}

std::vector<uint8_t> BuildPe(const PeOptions& o) {
  const bool dll = o.kind == ImageKind::Dll;
  const bool x64 = o.machine == Machine::Amd64;
  uint64_t imageBase = o.imageBase;
  if (imageBase == 0)
    imageBase = x64 ? (dll ? 0x180000000ull : 0x140000000ull) : (dll ? 0x10000000u : 0x00400000u);
  if (!x64 && imageBase > 0xFFFFFFFFu)
    throw std::invalid_argument("a 32-bit image's base must be below 4 GB");
  const uint32_t optionalHeaderSize = x64 ? kOptionalHeaderSize64 : kOptionalHeaderSize32;
  std::vector<Export> sorted = dll ? o.exports : std::vector<Export>{};
  std::sort(sorted.begin(), sorted.end(),
            [](const Export& a, const Export& b) { return a.name < b.name; });

  // Code size does not depend on the addresses it holds: lay out with
  // placeholders first, then generate again with the real ones.
  const uint32_t textRva = kSectionAlignment;
  const auto base32 = static_cast<uint32_t>(imageBase);
  Code code = dll ? DllCode(sorted, x64) : ExeCode(o, CodeAddresses{}, base32, textRva);
  const uint32_t rdataRva =
      textRva + AlignUp(static_cast<uint32_t>(code.bytes.size()), kSectionAlignment);
  RData rdata = BuildRData(o, rdataRva, textRva, sorted, code);
  if (!dll) code = ExeCode(o, rdata.addresses, base32, textRva);

  std::vector<Section> sections;
  sections.push_back({".text", code.bytes, kCode | kExecute | kRead, textRva, 0});
  uint32_t next = rdataRva;
  auto addSection = [&](const char* name, std::vector<uint8_t> data, uint32_t flags) {
    sections.push_back({name, std::move(data), flags, next, 0});
    next += AlignUp(static_cast<uint32_t>(sections.back().data.size()), kSectionAlignment);
  };
  if (!rdata.bytes.empty()) addSection(".rdata", rdata.bytes, kInitData | kRead);
  if (!o.payload.empty()) addSection(".data", o.payload, kInitData | kRead | kWrite);
  uint32_t rsrcRva = 0, rsrcSize = 0;
  if (o.version) {
    rsrcRva = next;
    auto res = BuildResources(*o.version, o.kind, rsrcRva);
    rsrcSize = static_cast<uint32_t>(res.size());
    addSection(".rsrc", std::move(res), kInitData | kRead);
  }

  const uint32_t headersSize = kNewHeaderOffset + 4 + 20 + optionalHeaderSize +
                               kSectionHeaderSize * static_cast<uint32_t>(sections.size());
  const uint32_t sizeOfHeaders = AlignUp(headersSize, kFileAlignment);
  uint32_t raw = sizeOfHeaders;
  uint32_t sizeOfCode = 0, sizeOfData = 0;
  for (Section& s : sections) {
    s.rawPointer = raw;
    const uint32_t rawSize = AlignUp(static_cast<uint32_t>(s.data.size()), kFileAlignment);
    raw += rawSize;
    ((s.characteristics & kCode) ? sizeOfCode : sizeOfData) += rawSize;
  }
  const Section& last = sections.back();
  const uint32_t sizeOfImage =
      last.rva + AlignUp(static_cast<uint32_t>(last.data.size()), kSectionAlignment);

  std::vector<uint8_t> f(raw, 0);
  // DOS header and the usual stub that prints a refusal under DOS.
  f[0] = 'M';
  f[1] = 'Z';
  Put16(f, 0x02, 0x90);
  Put16(f, 0x04, 3);
  Put16(f, 0x08, 4);
  Put16(f, 0x0C, 0xFFFF);
  Put16(f, 0x10, 0xB8);
  Put16(f, 0x18, 0x40);
  Put32(f, 0x3C, kNewHeaderOffset);
  const uint8_t stub[] = {0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09,
                          0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21};
  std::copy(std::begin(stub), std::end(stub), f.begin() + 0x40);
  const std::string message = "This program cannot be run in DOS mode.\r\r\n$";
  std::copy(message.begin(), message.end(), f.begin() + 0x40 + sizeof stub);

  size_t p = kNewHeaderOffset;
  f[p] = 'P';
  f[p + 1] = 'E';
  p += 4;
  Put16(f, p + 0, x64 ? kMachineAmd64 : kMachineI386);
  Put16(f, p + 2, static_cast<uint16_t>(sections.size()));
  Put32(f, p + 4, o.timeDateStamp);
  Put16(f, p + 16, static_cast<uint16_t>(optionalHeaderSize));
  uint16_t characteristics = kExecutable | kLineNumsStripped | kLocalSymsStripped;
  characteristics |= x64 ? kLargeAddressAware : kMachine32;
  characteristics |= dll ? kDll : kRelocsStripped;
  Put16(f, p + 18, characteristics);
  p += 20;

  // PE32+ widens the image base and the four stack and heap sizes to 64
  // bits and drops BaseOfData, which moves every later field.
  const size_t opt = p;
  Put16(f, opt + 0, x64 ? 0x20B : 0x10B);
  f[opt + 2] = 2;  // linker version
  f[opt + 3] = 25;
  Put32(f, opt + 4, sizeOfCode);
  Put32(f, opt + 8, sizeOfData);
  Put32(f, opt + 16, textRva + code.entry);
  Put32(f, opt + 20, textRva);
  if (x64) {
    Put32(f, opt + 24, static_cast<uint32_t>(imageBase));
    Put32(f, opt + 28, static_cast<uint32_t>(imageBase >> 32));
  } else {
    Put32(f, opt + 24, sections.size() > 1 ? sections[1].rva : 0);
    Put32(f, opt + 28, base32);
  }
  Put32(f, opt + 32, kSectionAlignment);
  Put32(f, opt + 36, kFileAlignment);
  // Operating system and subsystem 4.0; 64-bit Windows began at 5.2.
  Put16(f, opt + 40, x64 ? 5 : 4);
  Put16(f, opt + 42, x64 ? 2 : 0);
  Put16(f, opt + 44, 1);  // image version 1.0
  Put16(f, opt + 48, x64 ? 5 : 4);
  Put16(f, opt + 50, x64 ? 2 : 0);
  Put32(f, opt + 56, sizeOfImage);
  Put32(f, opt + 60, sizeOfHeaders);
  Put16(f, opt + 68, o.console ? 3 : 2);
  const size_t sizeField = x64 ? 8 : 4;  // stack reserve, stack commit, heap reserve, heap commit
  const uint32_t sizes[] = {0x100000, 0x1000, 0x100000, 0x1000};
  for (size_t i = 0; i < 4; ++i) Put32(f, opt + 72 + i * sizeField, sizes[i]);
  const size_t afterSizes = opt + 72 + 4 * sizeField;  // LoaderFlags
  Put32(f, afterSizes + 4, kDataDirectories);
  const size_t dirs = afterSizes + 8;
  Put32(f, dirs + 0 * 8, rdata.exportDir);
  Put32(f, dirs + 0 * 8 + 4, rdata.exportSize);
  Put32(f, dirs + 1 * 8, rdata.importDir);
  Put32(f, dirs + 1 * 8 + 4, rdata.importSize);
  Put32(f, dirs + 2 * 8, rsrcRva);
  Put32(f, dirs + 2 * 8 + 4, rsrcSize);
  Put32(f, dirs + 12 * 8, rdata.iat);
  Put32(f, dirs + 12 * 8 + 4, rdata.iatSize);

  size_t sh = opt + optionalHeaderSize;
  for (const Section& s : sections) {
    std::copy(s.name.begin(), s.name.end(), f.begin() + sh);
    Put32(f, sh + 8, static_cast<uint32_t>(s.data.size()));
    Put32(f, sh + 12, s.rva);
    Put32(f, sh + 16, AlignUp(static_cast<uint32_t>(s.data.size()), kFileAlignment));
    Put32(f, sh + 20, s.rawPointer);
    Put32(f, sh + 36, s.characteristics);
    std::copy(s.data.begin(), s.data.end(), f.begin() + s.rawPointer);
    sh += kSectionHeaderSize;
  }
  return f;
}

std::vector<uint8_t> MakeFiller(uint32_t seed, size_t size) {
  static const char* const kWords[] = {
      "table",  "index",   "record", "field",  "cursor", "driver", "locale", "collate",
      "page",   "buffer",  "lock",   "commit", "query",  "schema", "alias",  "session",
      "block",  "segment", "key",    "value",  "string", "number", "date",   "memo",
      "engine", "cache",   "share",  "link",   "server", "client", "batch",  "limit"};
  std::vector<uint8_t> out;
  out.reserve(size);
  uint32_t state = seed * 2654435761u + 0x9E3779B9u;
  auto nextRandom = [&] {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  };
  uint32_t line = 0;
  while (out.size() < size) {
    std::string rec = std::to_string(++line);
    rec += ':';
    const int words = 4 + static_cast<int>(nextRandom() % 6);
    for (int w = 0; w < words; ++w) {
      rec += ' ';
      rec += kWords[nextRandom() % std::size(kWords)];
      if (nextRandom() % 4 == 0) {
        rec += '=';
        rec += std::to_string(nextRandom() % 1000);
      }
    }
    rec += "\r\n";
    for (char ch : rec) {
      if (out.size() == size) break;
      out.push_back(static_cast<uint8_t>(ch));
    }
  }
  return out;
}

bool ParseVersion(const std::string& text, std::array<uint16_t, 4>& out) {
  out = {0, 0, 0, 0};
  size_t part = 0, pos = 0;
  while (pos <= text.size()) {
    if (part == 4) return false;
    size_t dot = text.find('.', pos);
    if (dot == std::string::npos) dot = text.size();
    unsigned value = 0;
    const char* b = text.data() + pos;
    const char* e = text.data() + dot;
    auto [ptr, ec] = std::from_chars(b, e, value);
    if (b == e || ec != std::errc() || ptr != e || value > 0xFFFF) return false;
    out[part++] = static_cast<uint16_t>(value);
    pos = dot + 1;
  }
  return true;
}

}  // namespace pegen
