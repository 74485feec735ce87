// The volume-spanning member decoder: inflates one archive member from the
// archive's volume files into a destination stream. It works against a
// small host interface that the archive component implements, so it can be
// driven by tests without the component.
#pragma once

#include <cstdint>

#include "archive/FileStats.h"
#include "archive/Streams.h"
#include "common/exceptions_Pellmore.h"

// Format and file errors of the archive.
PELLMORE_DECLARE_EXCEPTION(EVrexCompress, ECustomPellmoreAbnormal);
// "The disk is full" (raised by the host's DoFullDisk without a handler).
PELLMORE_DECLARE_EXCEPTION(EvcDiskFull, EVrexCompress);
// "Operation aborted by user".
PELLMORE_DECLARE_EXCEPTION(EvcAborted, EVrexCompress);

// What the decoder needs from the archive component while it decodes one
// member. The current volume is open for reading and positioned at Offset +
// the member's data start when DecodeMember begins.
class TMemberDecoderHost {
 public:
  virtual ~TMemberDecoderHost() = default;

  // The open volume file and its number (0 in a single-file archive).
  virtual TStream& VolumeStream() = 0;
  virtual int CurrentVolume() const = 0;
  // Closes the current volume and opens volume `number` for reading (it may
  // ask for the disk); afterwards it is the current volume. Raises when the
  // volume cannot be opened.
  virtual void OpenVolume(int number) = 0;
  // Position of the archive inside its file.
  virtual int64_t Offset() const = 0;

  // From the member's header: the volume its data ends on and the position
  // of its last data byte in that volume.
  virtual int EndVolume() const = 0;
  virtual int64_t EndPosition() const = 0;

  // Where the decoded bytes go.
  virtual TStream& Destination() = 0;

  // The cancel flag, checked once per output cycle.
  virtual bool Abort() const = 0;
  // Lets the user interface process pending messages.
  virtual void ProcessMessages() = 0;
  // The statistics record and the status event that reports it.
  virtual TlzhFileStats& FileStats() = 0;
  virtual void Status() = 0;
  // The member's stored uncompressed size: decoding never writes more.
  // By default the statistics record's FileSize.
  virtual int64_t StoredSize() { return FileStats().FileSize; }
  // The destination took fewer bytes than offered: a handler may free
  // space and return (the decoder then tries again), otherwise it raises
  // EvcDiskFull.
  virtual void DoFullDisk() = 0;
};

// Decodes the member into host.Destination() and returns the number of
// bytes written. The member counts as decoded only when the zlib stream
// ends with a verified Adler-32 trailer: corrupt data raises EVrexCompress
// "The compressed data of %s is corrupt ...", data that ends before the
// stream does raises "The compressed data of %s is incomplete" (the
// member's stored name). Never reads past the member's end position on its
// end volume, and never writes more than the host's StoredSize: output that
// would pass it raises the size-mismatch EVrexCompress at once, so a member
// that lies about its size cannot fill the disk. Raises EvcAborted when the
// host's Abort is set at a cycle, EDecompressionError "error" when zlib
// itself fails. On any failure the destination holds a partial result that
// the caller must discard.
uint64_t DecodeMember(TMemberDecoderHost& host);
