// Finding the controls a kit form's description made. The descriptions
// are compiled into the program, so a control that is missing or of
// another class is a fault of the program, not of the user's input.
#pragma once

#include <string>
#include <string_view>

#include "framework/Component.h"
#include "framework/Exception.h"

template <class T>
T& DescribedControl(const TComponent& form, std::string_view name) {
  TComponent* c = form.FindComponent(name);
  if (!c || !c->InheritsFrom(T::StaticMetaClass()))
    throw EInternalError(std::string(form.ClassName()) + " has no " +
                         std::string(T::StaticMetaClass().name) + " named " + std::string(name));
  return static_cast<T&>(*c);
}
