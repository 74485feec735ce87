// The process-wide user-abort flag: set when the user confirms a cancel
// of the copy-progress dialog, read by the network downloads so they stop
// as the archive reader does on its own Abort flag. A run clears it when
// it starts; a process-state reset clears it too.
#pragma once

bool UserAbortFlag() noexcept;
void SetUserAbortFlag(bool value) noexcept;
