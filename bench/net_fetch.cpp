// net_fetch: one HTTP download by the setup's net install location into a
// simulated machine, as a web distribution's installer fetches its archive
// in the middle of a run: 8192-byte blocks, each reported through the
// installer's download progress to a headless copy dialog, into a
// temporary name that takes its final name once complete. Prints the
// bytes, the seconds the download took and where it landed, so that
// net_bench.sh can time it against curl on the same URL.
//
//   net_fetch MACHINE http://HOST:PORT/DIR/NAME.1
//
// NAME becomes the installer's component name, since an installer
// downloads "<its name>.1" from its location's directory.
#include <chrono>
#include <cstdio>
#include <string>

#include "app/SetupRegistration.h"
#include "framework/ClassRegistry.h"
#include "framework/Exception.h"
#include "framework/FormReader.h"
#include "framework/ProcessState.h"
#include "framework/WidgetsetSlot.h"
#include "install/cmp_TInstall.h"
#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/headless/HeadlessSession.h"
#include "platform/sim/SimMachine.h"

namespace {

// The installer as a run has it while it installs: its container state is
// what lets download progress reach the copy dialog.
class TBenchInstall : public TInstall {
  PELLMORE_CLASS(TBenchInstall, TInstall)

 public:
  using TInstall::TInstall;

  void Fetch() {
    SetState(fcsInstalling);
    try {
      Download();
    } catch (...) {
      SetState(fcsIdle);
      throw;
    }
    SetState(fcsIdle);
  }
};

struct Url {
  std::string host;  // "host:port"
  std::string directory;
  std::string name;  // without ".1"
};

// Only what the bench serves: http://HOST[:PORT]/[DIR/]NAME.1 with NAME an
// identifier (it names a component).
bool ParseUrl(const std::string& text, Url& url) {
  const std::string scheme = "http://";
  if (text.compare(0, scheme.size(), scheme) != 0) return false;
  const size_t slash = text.find('/', scheme.size());
  if (slash == std::string::npos) return false;
  url.host = text.substr(scheme.size(), slash - scheme.size());
  const size_t last = text.rfind('/');
  url.directory = text.substr(slash + 1, last > slash ? last - slash - 1 : 0);
  std::string file = text.substr(last + 1);
  if (url.host.empty() || file.size() < 3 || file.compare(file.size() - 2, 2, ".1") != 0)
    return false;
  url.name = file.substr(0, file.size() - 2);
  for (size_t i = 0; i < url.name.size(); ++i) {
    const char c = url.name[i];
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    if (!letter && !(i > 0 && c >= '0' && c <= '9')) return false;
  }
  return true;
}

std::string Quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// The installer with its copy dialog and the location it downloads from;
// $N is the installer's name, $D and $H the location's directory and host.
const char kBenchForm[] = R"(object fmBench: TForm
  object CopyFileDlg: TCopyFileDlg
    Container = $N
    DialogManager = CopyManager
  end
  object CopyManager: TDialogManager
    Container = $N
    ManagerType = dmDuringCopyFiles
  end
  object NetLocation1: TNetInstallLocation
    LoginInformation.Directory = $D
    LoginInformation.Hostname = $H
  end
  object $N: TBenchInstall
    AutoMaximizeWindow = False
    DistributeType = dtWeb
    NetLocation = NetLocation1
    RunAutomatic = False
  end
end
)";

std::string BenchForm(const Url& url) {
  std::string out;
  for (const char* p = kBenchForm; *p; ++p) {
    if (p[0] != '$' || !p[1]) {
      out += *p;
      continue;
    }
    ++p;
    out += *p == 'N' ? url.name : Quoted(*p == 'D' ? url.directory : url.host);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  Url url;
  if (argc != 3 || !ParseUrl(argv[2], url)) {
    std::fprintf(stderr, "usage: net_fetch MACHINE http://HOST:PORT/DIR/NAME.1\n");
    return 2;
  }
  int code = 0;
  try {
    std::unique_ptr<platform::sim::SimMachine> owned = platform::sim::SimMachine::Open(argv[1]);
    platform::sim::SimMachine* machine = owned.get();
    platform::Install(std::move(owned));
    // PELLMORE_UI_LOG shows what the copy dialog was told.
    InstallWidgetset(platform::headless::CreateHeadlessFromEnvironment());
    RegisterSetupClasses(ClassRegistry::Global());
    ClassRegistry::Global().Class<TBenchInstall, TInstall>("TBenchInstall");
    Owned<TComponent> form(CreateFromForm(BenchForm(url), "net_fetch.dfm"));
    auto* install = static_cast<TBenchInstall*>(form->FindComponent(url.name));

    const auto start = std::chrono::steady_clock::now();
    install->Fetch();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    const std::string local = install->LocalArchive();
    const uint64_t bytes = platform::files().OpenRead(local)->Size();
    std::printf("%llu bytes in %.3f s (%.1f MB/s)\n%s\n%s\n",
                static_cast<unsigned long long>(bytes), seconds, bytes / seconds / 1e6,
                local.c_str(), machine->HostPath(local).c_str());
  } catch (const Exception& e) {
    std::fprintf(stderr, "net_fetch: %s\n", e.Message().c_str());
    code = 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "net_fetch: %s\n", e.what());
    code = 1;
  }
  ProcessState::ResetAll();
  return code;
}
