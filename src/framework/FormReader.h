// Reads text form descriptions into components. One read:
//  1. parses the whole text (and, for "inherited", the ancestor's
//     registered description first), so syntax errors create nothing;
//  2. walks the tree in text order: every new component is created with
//     owner = the root and csLoading + csReading already set, named, given
//     SetParentComponent(enclosing component), then its properties are
//     applied and its nested components read;
//  3. resolves every component reference by name (references may point
//     forward; their setters run only now, when every component exists);
//  4. clears csReading everywhere, then calls Loaded on the root and every
//     created component in creation order, clearing each one's csLoading
//     right after its own Loaded (a Loaded that does real work sees the
//     later components still loading).
// Integer properties take numbers or identifier constants (the property's
// own group first, then any registered constant). Event properties are
// bound by name to handlers registered for the root's class or its
// ancestors; "nil" clears a reference or an event. Every problem with the description raises
// EFormError naming file, line and column; an exception from a component's
// own code (constructor, setter, Loaded) passes through unchanged. Either
// way, every component the read created is destroyed before the exception
// leaves, and the root's loading flags are restored.
#pragma once

#include <string>
#include <string_view>

#include "framework/ClassRegistry.h"
#include "framework/FormError.h"

// Reads `text` into the existing `root`, whose class must be (or derive
// from) the class the description names. The description's name, if any,
// becomes the root's name.
void ReadForm(TComponent& root, std::string_view text, const std::string& fileName,
              const ClassRegistry& registry = ClassRegistry::Global());

// Reads the description registered for root's class (RegisterDescription),
// as a form does when it is created. EInternalError when none is
// registered.
void ReadRegisteredForm(TComponent& root, const ClassRegistry& registry = ClassRegistry::Global());

// Creates the root the description names (its class must be registered
// and creatable) with `owner`, and reads the description into it. The
// result belongs to `owner`, or to the caller when owner is null.
TComponent* CreateFromForm(std::string_view text, const std::string& fileName,
                           TComponent* owner = nullptr,
                           const ClassRegistry& registry = ClassRegistry::Global());
