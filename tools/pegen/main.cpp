// pellmore-pegen: writes a PE32 (or PE32+) DLL or EXE with a version resource from
// command-line options (see Usage()).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/pegen/PeWriter.h"

namespace {

void Usage() {
  std::cerr <<
      R"(usage: pellmore-pegen (--dll | --exe) -o FILE [options]
  --file-version A.B.C.D     fixed file version (also the FileVersion string
                             unless --string FileVersion=... is given)
  --product-version A.B.C.D  fixed product version (default: file version)
  --file-flags N  --file-os N  --file-type N  --file-subtype N
  --table LLLL CCCC          start a string table (hex language, hex code page)
  --string KEY=VALUE         add a string to the current table (UTF-8)
  --ole-self-register        add an empty "OLESelfRegister" string
  --translation LLLL CCCC    add a "\VarFileInfo\Translation" entry
  --no-version               no version resource
  --dll-register-server HR   export DllRegisterServer returning HR (DLL)
  --export NAME=VALUE[/ARGBYTES]  export a stdcall function returning VALUE
  --exit-code N              process exit code (EXE)
  --regserver-exit-code N    exit code when started with /REGSERVER (EXE)
  --payload-bytes N          add N bytes of compressible data
  --console                  console subsystem
  --x86-64                   a PE32+ image for x86-64 (default: PE32, i386)
)";
}

uint32_t Number(const std::string& s) {
  return static_cast<uint32_t>(std::stoul(s, nullptr, 0));
}
uint16_t Hex16(const std::string& s) {
  return static_cast<uint16_t>(std::stoul(s, nullptr, 16));
}

}  // namespace

int main(int argc, char** argv) {
  pegen::PeOptions o;
  pegen::VersionResource v;
  bool haveKind = false, noVersion = false, productGiven = false, fileVersionString = false;
  std::string output;
  try {
    for (int i = 1; i < argc; ++i) {
      const std::string a = argv[i];
      auto arg = [&]() -> std::string {
        if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
        return argv[++i];
      };
      auto table = [&]() -> pegen::StringTable& {
        if (v.tables.empty()) v.tables.push_back({});
        return v.tables.back();
      };
      if (a == "--dll") {
        o.kind = pegen::ImageKind::Dll;
        haveKind = true;
      } else if (a == "--exe") {
        o.kind = pegen::ImageKind::Exe;
        haveKind = true;
      } else if (a == "-o") {
        output = arg();
      } else if (a == "--file-version" || a == "--product-version") {
        std::array<uint16_t, 4> parts;
        const std::string text = arg();
        if (!pegen::ParseVersion(text, parts)) throw std::invalid_argument("bad version " + text);
        if (a == "--file-version") {
          v.fileVersion = parts;
          if (!productGiven) v.productVersion = parts;
        } else {
          v.productVersion = parts;
          productGiven = true;
        }
      } else if (a == "--file-flags") {
        v.fileFlags = Number(arg());
      } else if (a == "--file-os") {
        v.fileOS = Number(arg());
      } else if (a == "--file-type") {
        v.fileType = Number(arg());
      } else if (a == "--file-subtype") {
        v.fileSubtype = Number(arg());
      } else if (a == "--table") {
        pegen::StringTable t;
        t.language = Hex16(arg());
        t.codePage = Hex16(arg());
        v.tables.push_back(t);
      } else if (a == "--string") {
        const std::string kv = arg();
        const size_t eq = kv.find('=');
        if (eq == std::string::npos) throw std::invalid_argument("--string needs KEY=VALUE");
        if (kv.substr(0, eq) == "FileVersion") fileVersionString = true;
        table().strings.push_back({kv.substr(0, eq), kv.substr(eq + 1)});
      } else if (a == "--ole-self-register") {
        table().strings.push_back({"OLESelfRegister", ""});
      } else if (a == "--translation") {
        pegen::VersionTranslationEntry t;
        t.language = Hex16(arg());
        t.codePage = Hex16(arg());
        v.translations.push_back(t);
      } else if (a == "--no-version") {
        noVersion = true;
      } else if (a == "--dll-register-server") {
        o.exports.push_back({"DllRegisterServer", Number(arg()), 0});
      } else if (a == "--export") {
        const std::string text = arg();
        const size_t eq = text.find('=');
        if (eq == std::string::npos) throw std::invalid_argument("--export needs NAME=VALUE");
        pegen::Export e;
        e.name = text.substr(0, eq);
        std::string rest = text.substr(eq + 1);
        const size_t slash = rest.find('/');
        if (slash != std::string::npos) {
          e.argumentBytes = static_cast<uint16_t>(Number(rest.substr(slash + 1)));
          rest = rest.substr(0, slash);
        }
        e.result = Number(rest);
        o.exports.push_back(e);
      } else if (a == "--exit-code") {
        o.exitCode = Number(arg());
      } else if (a == "--regserver-exit-code") {
        o.regServerExitCode = Number(arg());
      } else if (a == "--payload-bytes") {
        o.payload = pegen::MakeFiller(1, Number(arg()));
      } else if (a == "--x86-64") {
        o.machine = pegen::Machine::Amd64;
      } else if (a == "--console") {
        o.console = true;
      } else {
        throw std::invalid_argument("unknown option " + a);
      }
    }
    if (!haveKind || output.empty()) {
      Usage();
      return 2;
    }
    if (!noVersion) {
      if (!v.tables.empty() && !fileVersionString) {
        std::string text;
        for (int k = 0; k < 4; ++k) text += (k ? "." : "") + std::to_string(v.fileVersion[k]);
        v.tables.front().strings.insert(v.tables.front().strings.begin(), {"FileVersion", text});
      }
      o.version = v;
    }
    const auto image = pegen::BuildPe(o);
    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(image.data()),
              static_cast<std::streamsize>(image.size()));
    if (!out) {
      std::cerr << "pellmore-pegen: cannot write " << output << "\n";
      return 1;
    }
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "pellmore-pegen: " << e.what() << "\n";
    Usage();
    return 2;
  }
}
