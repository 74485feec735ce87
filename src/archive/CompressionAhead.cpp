// Compression ahead (see CompressionAhead.h): a window of sources opened on
// the calling thread, deflated into memory by workers, handed back in
// order. Invariants: only the calling thread opens and closes files and
// moves the window; an entry's file and result belong to a worker only
// while the entry is Running; the sources of opened, untaken entries stay
// within the budget (one entry may exceed it alone only when nothing else
// is open).
#include "archive/CompressionAhead.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "archive/ArchiveLayout.h"
#include "archive/cmp_TVrexCompress.h"
#include "framework/ProcessState.h"
#include "platform/FileSystem.h"
#include "platform/HostAccess.h"
#include "platform/Platform.h"

namespace {

constexpr size_t kReadChunk = 65536;  // as the writer reads its sources
constexpr size_t kMaxOpenAhead = 64;  // handles held open at most

enum class Status { Waiting, Queued, Running, Done, Failed, Skipped, Dropped };

}  // namespace

struct TCompressionAhead::State {
  struct Entry {
    std::string path;
    uint64_t size = 0;
    Status status = Status::Waiting;
    std::unique_ptr<platform::File> file;
    Member result;
  };

  TCompressionLevel level = colMax;
  uint64_t budget = kDefaultBudget;
  std::vector<Entry> entries;  // never resized while workers run
  size_t opened = 0;           // entries before this were opened or passed over
  size_t taken = 0;            // entries before this are gone
  uint64_t inFlight = 0;
  size_t openCount = 0;

  std::mutex m;
  std::condition_variable work, done;
  std::deque<size_t> queue;
  bool stopping = false;
  std::vector<std::thread> threads;

  void Worker() {
    for (;;) {
      size_t index;
      {
        std::unique_lock lock(m);
        work.wait(lock, [&] { return stopping || !queue.empty(); });
        if (stopping) return;
        index = queue.front();
        queue.pop_front();
        if (entries[index].status != Status::Queued) continue;  // dropped meanwhile
        entries[index].status = Status::Running;
      }
      Entry& e = entries[index];
      Member out;
      bool ok = false;
      try {
        TMemoryStream packed;
        TCompressionStream z(level, packed);
        std::vector<uint8_t> buffer(kReadChunk);
        for (;;) {
          const size_t n = e.file->Read(buffer.data(), buffer.size());
          if (n == 0) break;
          out.sourceBytes += int64_t(n);
          if (out.sourceBytes > archive_layout::kMaxPosition) throw std::length_error("too large");
          z.Write(buffer.data(), n);
        }
        z.Finish();
        out.packed = std::move(packed.Bytes());
        ok = true;
      } catch (...) {
        // The writer compresses this one itself and reports what it finds.
      }
      {
        std::lock_guard lock(m);
        e.result = std::move(out);
        e.status = ok ? Status::Done : Status::Failed;
      }
      done.notify_all();
    }
  }

  // Opens entries ahead while the budget allows (calling thread only).
  void Refill() {
    while (opened < entries.size() && openCount < kMaxOpenAhead) {
      Entry& e = entries[opened];
      if (e.size > budget) {
        e.status = Status::Skipped;
        ++opened;
        continue;
      }
      if (openCount > 0 && inFlight + e.size > budget) break;
      std::unique_ptr<platform::File> file;
      try {
        file = platform::files().OpenRead(e.path);
      } catch (...) {
        e.status = Status::Failed;
        ++opened;
        continue;
      }
      {
        std::lock_guard lock(m);
        e.file = std::move(file);
        e.status = Status::Queued;
        queue.push_back(opened);
        inFlight += e.size;
        ++openCount;
      }
      work.notify_one();
      ++opened;
    }
  }

  // Waits until no worker holds entry `i`, then frees it (calling thread).
  void Release(size_t i, std::unique_lock<std::mutex>& lock) {
    Entry& e = entries[i];
    if (e.status == Status::Queued) e.status = Status::Dropped;
    done.wait(lock, [&] { return e.status != Status::Running; });
    if (e.file) {
      inFlight -= e.size;
      --openCount;
    }
    std::unique_ptr<platform::File> file = std::move(e.file);
    e.result = Member{};
    lock.unlock();
    file.reset();  // the file service is not for the workers
    lock.lock();
  }
};

unsigned TCompressionAhead::ConfiguredWorkers() {
  if (std::optional<std::string> text = platform::HostEnvironment("PELLMORE_BUILD_THREADS")) {
    unsigned value = 0;
    bool digits = !text->empty() && text->size() <= 3;
    for (char ch : *text) {
      if (ch < '0' || ch > '9') digits = false;
      if (digits) value = value * 10 + unsigned(ch - '0');
    }
    if (digits && value >= 1 && value <= 256) return value;
  }
  const unsigned hardware = std::thread::hardware_concurrency();
  return hardware == 0 ? 1 : hardware;
}

TCompressionAhead::TCompressionAhead() = default;

TCompressionAhead::~TCompressionAhead() {
  Stop();
}

bool TCompressionAhead::Active() const noexcept {
  return state_ != nullptr;
}

void TCompressionAhead::Prime(const std::vector<std::string>& paths, TCompressionLevel level,
                              unsigned workers, uint64_t budget) {
  Stop();
  if (workers < 2 || paths.empty()) return;
  auto s = std::make_unique<State>();
  s->level = level;
  s->budget = budget;
  s->entries.reserve(paths.size());
  for (const std::string& path : paths) {
    State::Entry e;
    e.path = path;
    try {
      const std::optional<platform::FileInfo> info = platform::files().Stat(path);
      if (!info || info->IsDirectory()) continue;
      e.size = info->size;
    } catch (...) {
      continue;  // the writer will meet the problem and report it
    }
    s->entries.push_back(std::move(e));
  }
  state_ = std::move(s);
  State& st = *state_;
  for (unsigned i = 0; i < workers; ++i) st.threads.emplace_back([&st] { st.Worker(); });
  st.Refill();
}

std::optional<TCompressionAhead::Member> TCompressionAhead::Take(const std::string& path,
                                                                 TCompressionLevel level) {
  if (!state_ || level != state_->level) return std::nullopt;
  State& s = *state_;
  size_t k = s.taken;
  while (k < s.entries.size() && s.entries[k].path != path) ++k;
  if (k == s.entries.size()) return std::nullopt;

  std::unique_lock lock(s.m);
  for (size_t i = s.taken; i < k; ++i) s.Release(i, lock);
  s.taken = k;
  lock.unlock();
  s.Refill();  // the window may have been held up by the dropped ones
  lock.lock();

  State::Entry& e = s.entries[k];
  s.done.wait(lock, [&] { return e.status != Status::Queued && e.status != Status::Running; });
  std::optional<Member> result;
  if (e.status == Status::Done) result = std::move(e.result);
  s.Release(k, lock);
  s.taken = k + 1;
  lock.unlock();
  s.Refill();
  return result;
}

void TCompressionAhead::Stop() noexcept {
  if (!state_) return;
  {
    std::lock_guard lock(state_->m);
    state_->stopping = true;
  }
  state_->work.notify_all();
  for (std::thread& t : state_->threads) t.join();
  state_.reset();  // closes what is still open, on this thread
}

TCompressionAhead& CompressionAhead() {
  static TCompressionAhead instance;
  static const bool registered = [] {
    ProcessState::RegisterReset("CompressionAhead", [] { CompressionAhead().Stop(); });
    return true;
  }();
  (void)registered;
  return instance;
}

TCompressionAheadScope::TCompressionAheadScope(const std::vector<std::string>& paths) {
  TCompressionAhead& ahead = CompressionAhead();
  if (ahead.Active()) return;
  ahead.Prime(paths, TVrexCompress::Shared().CompressionLevel(),
              TCompressionAhead::ConfiguredWorkers());
  owner_ = ahead.Active();
}

TCompressionAheadScope::~TCompressionAheadScope() {
  if (owner_) CompressionAhead().Stop();
}
