// PELLMORE_FORM: an author can run the setup with another main-form
// description (a file on the host) instead of the one compiled into the
// program, to try an installation without rebuilding the program.
#pragma once

#include <optional>
#include <string>

class ClassRegistry;

// The host path named by PELLMORE_FORM, or nothing when the variable is
// unset or empty.
std::optional<std::string> FormOverridePath();

// Reads the description at `hostPath` and registers it for the class its
// root names, so that creating a form of that class streams it. Returns
// that class name. Raises Exception naming the file when it cannot be
// read, EFormError (file, line, column) when it does not parse, and
// Exception when its root class is not a registered form class. On
// failure nothing is registered.
std::string RegisterFormOverride(const std::string& hostPath, ClassRegistry& registry);
