// The uninstall program's run (see UninstallProgram.h): ask before
// anything is touched, then report what was kept or could not be removed.
#include "uninstaller/UninstallProgram.h"

#include <cstdio>

#include "framework/Application.h"
#include "framework/ControlTypes.h"

namespace uninstaller {
namespace {

void Section(std::string& out, const char* title, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  out += "\n\n";
  out += title;
  for (const std::string& l : lines) out += "\n  " + l;
}

// The boxes name the product in their caption once it is known to be
// installed, so the question cannot be mistaken for another program's.
int Show(const std::string& text, uint32_t flags, const std::string& product = {}) {
  const std::string caption = product.empty() ? kUninstallTitle : kUninstallTitle + (" " + product);
  return Application().MessageBox(text, caption, flags);
}

}  // namespace

std::string ReportText(const std::string& product, const UninstallResult& r) {
  const bool complete = r.notRemoved.empty() && r.damaged.empty();
  std::string text = complete ? product + " was removed from this computer."
                              : product + " was removed, except for what is listed below.";
  Section(text, "Removed at the next restart:", r.atRestart);
  Section(text, "Kept:", r.kept);
  Section(text, "Could not be removed:", r.notRemoved);
  Section(text, "Damaged uninstall records (skipped):", r.damaged);
  Section(text, "Notes:", r.notes);
  if (!r.ownAtRestart.empty()) {
    text +=
        "\n\nThe uninstall program cannot delete itself while it runs; it is removed at the "
        "next restart";
    text += r.ownAtRestart.size() > 1 ? ", with the folders that only it still holds:" : ".";
    for (size_t i = 1; i < r.ownAtRestart.size(); ++i) text += "\n  " + r.ownAtRestart[i];
  }
  return text;
}

int ExitCodeOf(const UninstallResult& r) noexcept {
  if (!r.notRemoved.empty() || !r.damaged.empty()) return kUninstallIncomplete;
  if (!r.atRestart.empty()) return kUninstallRestart;
  return kUninstallDone;
}

int RunUninstallProgram(const std::string& commandLine) {
  const std::string product = ProductFromCommandLine(commandLine);
  if (product.empty()) {
    Show(
        "No product was named. Start the uninstall program with the name of the product to "
        "remove: uninstall.exe <product name>",
        MB_OK | MB_ICONHAND);
    return kUninstallFailed;
  }
  if (!ProductRegistered(product)) {
    Show(product +
             " is not installed on this computer: it has no uninstall entry. Nothing was "
             "changed.",
         MB_OK | MB_ICONHAND);
    return kUninstallFailed;
  }
  const UninstallPlan plan = ReadUninstallPlan(product);
  if (Show("Do you want to remove " + product + " and all of its components from this computer?",
           MB_YESNO | MB_ICONQUESTION, product) != IDYES)
    return kUninstallCancelled;
  const UninstallResult result = Uninstall(plan);
  const std::string report = ReportText(product, result);
  std::fprintf(stdout, "%s\n", report.c_str());
  std::fflush(stdout);
  const bool clean = result.kept.empty() && ExitCodeOf(result) == kUninstallDone;
  Show(report, MB_OK | (clean ? MB_ICONINFORMATION : MB_ICONEXCLAMATION), product);
  return ExitCodeOf(result);
}

}  // namespace uninstaller
