// pellmore-formshow's --screenshot: a shown form's pixels as a PNG file.
// Only real windows have pixels; each build has its own Screenshot*.cpp.
#pragma once

#include <string>

class TCustomForm;

// Writes what `form` (shown, with its frame) looks like now to `png`,
// shrunk `scale` times. Raises Exception when there is nothing to capture
// (no real windows) or the file cannot be written.
void SaveScreenshot(TCustomForm& form, const std::string& png, int scale);
