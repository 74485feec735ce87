// The two message channels of the install object model: the component
// calls a container broadcasts to its dialog-type children (negative
// codes), the information events an object passes up to its containers
// (codes from 1001), and the parameter objects both carry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "archive/FileStats.h"
#include "framework/Object.h"

// Component calls (broadcast downward to children of registered type 9000).
enum : int {
  kCallProcessBegins = -999,
  kCallFileStatus = -998,
  kCallReplacing = -997,
  kCallCopyEnded = -996,
  kCallGoodInstallNotice = -995,
  kCallBadInstallNotice = -994,
  kCallChangeDisk = -993,
  kCallInstallObjectsBegins = -992,
  kCallLinkGroups = -991,
  kCallAfterBeforeProcess = -990,
  kCallAfterAfterProcess = -989,
  kCallDownloadStatus = -988,
  kCallReboot = -987,
  kCallInitialized = -986,
  kCallBeforeReadArchiveInfo = -984,
  kCallAfterReadArchiveInfo = -983,
  kCallPhase982 = -982,
  kCallPhase981 = -981,
  kCallBeforeInstallPhase = -980,
  kCallGoodInstallPhase = -979,
  kCallBadInstallPhase = -978,
  kCallPhase977 = -977,
  kCallPhase976 = -976,
  kCallPhase975 = -975,
  kCallShowStatus = -974,
  kCallHideStatus = -973,
};

// Information events (passed upward from an object to its containers).
enum : int {
  kInfoAfterInstall = 1001,
  kInfoBeforeInstall = 1002,
  kInfoReplacing = 1003,
  kInfoBeforeCompress = 1004,
  kInfoAfterCompress = 1005,
  kInfoBeforeCopy = 1006,
  kInfoAfterCopy = 1007,
  kInfoStatusInstalling = 1008,
  kInfoStatusCompressing = 1009,
  kInfoStatusCopying = 1010,
  kInfoNewDisk = 1011,
  kInfoContainerStarts = 1012,
  kInfoContainerEnds = 1013,
  kInfoDownloadStatus = 1014,
  kInfoInstallSkipped = 1015,
  kInfoFileKept = 1016,
};

// A status text (-974).
class TMessageParameter : public TObject {
  PELLMORE_CLASS(TMessageParameter, TObject)

 public:
  TMessageParameter() = default;
  explicit TMessageParameter(std::string message) : Message(std::move(message)) {}
  std::string Message;
};

// File progress (-998). Byte counts are 64-bit so that an installation of
// more than 2 GiB does not wrap its totals.
class TFileStatusParameter : public TObject {
  PELLMORE_CLASS(TFileStatusParameter, TObject)

 public:
  int64_t BytesDone = 0;  // of the current file
  int FilePercent = 0;    // 0..100
  std::string FileName;
  TlzhFileStats Stats;  // the archive reader's record; Stats.Finished ends a file
  int64_t TotalBytesDone = 0;
  int TotalPercent = 0;  // 0..100
};

// Download progress (-988).
class TDownloadStatusParameter : public TObject {
  PELLMORE_CLASS(TDownloadStatusParameter, TObject)

 public:
  int64_t Number = 0;  // passed through from the downloader
  std::string FileName;
  int64_t TotalSize = 0;
  int64_t BytesReceived = 0;
  int Percent = 0;  // 0..100
};

// A disk of a volume set is needed (-993): its number and the directory
// where its files are expected (no trailing backslash).
class TDiskParameter : public TObject {
  PELLMORE_CLASS(TDiskParameter, TObject)

 public:
  int32_t DiskNumber = 0;
  std::string Path;
};

// The list parameter of status and new-disk events: [install file,
// parameter]. It does not own its items.
class TParameterList : public TObject {
  PELLMORE_CLASS(TParameterList, TObject)

 public:
  TParameterList() = default;
  TParameterList(std::initializer_list<TObject*> items) : Items(items) {}
  int Count() const noexcept { return static_cast<int>(Items.size()); }
  std::vector<TObject*> Items;
};

// done / total x 100, the nearest integer with halves to even, kept within
// 0..100. A total of 0 gives 0: nothing is known about the progress then.
int PercentDone(int64_t done, int64_t total);
