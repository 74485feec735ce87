// What the loading program needs of the machine it runs on: its own file
// and arguments, reading and writing files, a fresh temporary directory,
// starting a program and waiting for it, a message box and the "preparing
// setup" window. One implementation calls the Win32 API directly (win32/),
// one goes through the simulated machine's services (sim/); tests use a
// machine in memory. Nothing here throws: every step reports success.
#pragma once

#include <cstddef>
#include <cstdint>

#include "loader/LoaderText.h"

namespace loader {

class InputFile {
 public:
  virtual ~InputFile() = default;
  virtual uint64_t Size() = 0;
  // Reads exactly `count` bytes at `position`; false on a short read.
  virtual bool ReadAt(uint64_t position, void* buffer, size_t count) = 0;
};

enum class WriteResult { Ok, DiskFull, Failed };

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  virtual WriteResult Write(const void* data, size_t count) = 0;
  // Flushes and closes; a full disk can show only here.
  virtual WriteResult Close() = 0;
};

class LoaderHost {
 public:
  virtual ~LoaderHost() = default;

  // The running program's full Windows path (UTF-8).
  virtual bool ProgramPath(Text& path) = 0;
  // The command-line arguments after the program.
  virtual int ArgumentCount() = 0;
  virtual bool Argument(int index, Text& argument) = 0;

  // Null when the file does not exist or cannot be opened.
  virtual InputFile* OpenRead(const char* path) = 0;
  // Creates (replacing) a file; null when that is refused. `diskFull` tells
  // why when it is.
  virtual OutputFile* Create(const char* path, bool& diskFull) = 0;
  // A new, empty directory of the user's temporary directory, made for this
  // run (no trailing backslash).
  virtual bool MakeTempDirectory(Text& directory) = 0;
  // Removes the files of `directory` and the directory, as far as it can.
  virtual void RemoveDirectoryAndFiles(const char* directory) = 0;

  // Starts `commandLine` (the program quoted first), waits for it to end
  // and gives its exit code; false when it cannot be started.
  virtual bool RunAndWait(const char* commandLine, uint32_t& exitCode) = 0;

  virtual void ShowMessage(const char* text) = 0;

  // Milliseconds since some fixed moment.
  virtual uint32_t Milliseconds() = 0;
  // The "preparing setup" window: shown on demand, given progress in
  // percent (keeping it painted), and closed.
  virtual void ShowPreparing() = 0;
  virtual void Progress(int percent) = 0;
  virtual void HidePreparing() = 0;
};

}  // namespace loader
