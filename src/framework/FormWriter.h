// Writes a component tree as a text form description that the form reader
// reads back into the same tree. Only stored properties that differ from
// their defaults are written (see PropInfo::IsDefault); nested persistents
// as dotted properties, string lists, collections and binary data in their
// own syntax, references by name, events by the handler name the reader
// bound. Lines end in LF and indent by two blanks. The whole tree is
// written as a plain (not inherited) description.
#pragma once

#include <string>
#include <string_view>

#include "framework/ClassRegistry.h"

struct FormWriteOptions {
  // Also write stored properties that equal their defaults (empty lists as
  // "()", "<>" and "{}", unset references and events as nil), for dumps.
  bool includeDefaults = false;
};

std::string WriteForm(const TComponent& root,
                      const ClassRegistry& registry = ClassRegistry::Global(),
                      const FormWriteOptions& options = {});

// A string literal: printable text in quotes ('' for a quote), control
// characters as #n codes, other characters as themselves (UTF-8); invalid
// UTF-8 is written as #65533.
std::string QuoteFormString(std::string_view s);

// The shortest text that reads back as the same double, always with a '.'
// or an exponent. EConvertError for infinities and NaN, which descriptions
// cannot express.
std::string FormatFormFloat(double v);
