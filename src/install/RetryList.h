// The process-wide retry list of the installation run: install files whose
// self-registration failed while they were copied. During a run such a
// failure is deferred to this list instead of failing the file; the run
// registers each listed file once more at its end, and then a failure is
// an error. Outside a run (the switch off) registrations fail at once.
#pragma once

#include <vector>

class TFileRelated;

// Whether a registration failure goes to the retry list (during a run).
bool RegistrationFailuresDeferred() noexcept;
void SetRegistrationFailuresDeferred(bool deferred) noexcept;

// Adds `file` once; a file already listed keeps its place.
void AddToRetryList(TFileRelated* file);
// Drops `file` (a destroyed file leaves the list).
void RemoveFromRetryList(const TFileRelated* file) noexcept;
// Empties the list and returns what it held, in the order of failure.
std::vector<TFileRelated*> TakeRetryList();
void ClearRetryList() noexcept;
