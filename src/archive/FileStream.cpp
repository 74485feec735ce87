// The file-service stream adapter.
#include "archive/FileStream.h"

size_t TFileStream::Write(const void* buffer, size_t count) {
  if (count == 0) return 0;
  file_->Write(buffer, count);
  return count;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  platform::SeekOrigin o = platform::SeekOrigin::Begin;
  if (origin == TSeekOrigin::soCurrent) o = platform::SeekOrigin::Current;
  if (origin == TSeekOrigin::soEnd) o = platform::SeekOrigin::End;
  return static_cast<int64_t>(file_->Seek(offset, o));
}
