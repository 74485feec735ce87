// `pellmore-loader`: the loading program on the simulated machine. The same
// run as the Windows loader, over the machine's services: its own path and
// arguments as the machine started it, files, the temporary directory, and
// programs started through the machine's program table. Message boxes go to
// the error output; the "preparing setup" window has nothing to show.
#include <cstdio>
#include <exception>
#include <memory>
#include <string>

#include "loader/Loader.h"
#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/Platform.h"
#include "platform/Processes.h"
#include "platform/SystemInfo.h"

namespace {

constexpr uint32_t kErrorHandleDiskFull = 39;
constexpr uint32_t kErrorDiskFull = 112;

bool IsDiskFull(const std::exception& e) {
  const auto* os = dynamic_cast<const platform::OsError*>(&e);
  return os && (os->Code() == kErrorDiskFull || os->Code() == kErrorHandleDiskFull);
}

class SimInput : public loader::InputFile {
 public:
  explicit SimInput(std::unique_ptr<platform::File> f) : f_(std::move(f)) {}
  uint64_t Size() override {
    try {
      return f_->Size();
    } catch (const std::exception&) {
      return 0;
    }
  }
  bool ReadAt(uint64_t position, void* buffer, size_t count) override {
    try {
      f_->Seek(int64_t(position), platform::SeekOrigin::Begin);
      return f_->Read(buffer, count) == count;
    } catch (const std::exception&) {
      return false;
    }
  }

 private:
  std::unique_ptr<platform::File> f_;
};

class SimOutput : public loader::OutputFile {
 public:
  explicit SimOutput(std::unique_ptr<platform::File> f) : f_(std::move(f)) {}
  loader::WriteResult Write(const void* data, size_t count) override {
    try {
      f_->Write(data, count);
      return loader::WriteResult::Ok;
    } catch (const std::exception& e) {
      return IsDiskFull(e) ? loader::WriteResult::DiskFull : loader::WriteResult::Failed;
    }
  }
  loader::WriteResult Close() override {
    try {
      f_->Close();
      return loader::WriteResult::Ok;
    } catch (const std::exception& e) {
      return IsDiskFull(e) ? loader::WriteResult::DiskFull : loader::WriteResult::Failed;
    }
  }

 private:
  std::unique_ptr<platform::File> f_;
};

class SimLoaderHost : public loader::LoaderHost {
 public:
  bool ProgramPath(loader::Text& path) override {
    path = loader::Text(platform::system().ModuleFileName().c_str());
    return true;
  }
  int ArgumentCount() override { return int(platform::system().Arguments().size()) - 1; }
  bool Argument(int index, loader::Text& argument) override {
    const auto args = platform::system().Arguments();
    if (index < 0 || size_t(index) + 1 >= args.size()) return false;
    argument = loader::Text(args[size_t(index) + 1].c_str());
    return true;
  }
  loader::InputFile* OpenRead(const char* path) override {
    try {
      return new SimInput(platform::files().OpenRead(path));
    } catch (const std::exception&) {
      return nullptr;
    }
  }
  loader::OutputFile* Create(const char* path, bool& diskFull) override {
    try {
      return new SimOutput(platform::files().Create(path));
    } catch (const std::exception& e) {
      diskFull = IsDiskFull(e);
      return nullptr;
    }
  }
  bool MakeTempDirectory(loader::Text& directory) override {
    try {
      platform::SystemInfo& sys = platform::system();
      // The unique name Windows would give a file, taken for a directory.
      std::string name = sys.TempFileName(sys.TempDirectory(), "pld");
      platform::files().DeleteFile(name);
      name = name.substr(0, name.rfind('.'));
      platform::files().CreateDirectory(name);
      directory = loader::Text(name.c_str());
      return true;
    } catch (const std::exception&) {
      return false;
    }
  }
  void RemoveDirectoryAndFiles(const char* directory) override {
    platform::FileSystem& fs = platform::files();
    try {
      for (const platform::DirEntry& e : fs.FindFiles(std::string(directory) + "\\*"))
        if (!e.IsDirectory()) fs.DeleteFile(std::string(directory) + "\\" + e.name);
      fs.RemoveDirectory(directory);
    } catch (const std::exception&) {
      // What stays is a leftover in the temporary directory, nothing more.
    }
  }
  bool RunAndWait(const char* commandLine, uint32_t& exitCode) override {
    try {
      exitCode = platform::processes().Run(commandLine, platform::ShowMode::Normal);
      return true;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      return false;
    }
  }
  void ShowMessage(const char* text) override { std::fprintf(stderr, "Setup: %s\n", text); }
  uint32_t Milliseconds() override { return 0; }
  void ShowPreparing() override {}
  void Progress(int) override {}
  void HidePreparing() override {}
};

}  // namespace

int main(int argc, char** argv) {
  try {
    platform::system().UseHostArguments(argc, argv);
    SimLoaderHost host;
    return loader::RunLoader(host);
  } catch (const std::exception& e) {
    // The machine itself could not be opened.
    std::fprintf(stderr, "%s\n", e.what());
    return loader::kLoaderFailed;
  }
}
