// PellmoreTest (see Fixture.h).
#include "support/Fixture.h"

#include <algorithm>
#include <string>

#include "framework/Component.h"
#include "framework/Forms.h"
#include "framework/ProcessState.h"

PellmoreTest::PellmoreTest() {
  ProcessState::ResetAll();
  objectsBefore_ = TObject::LiveCount();
  componentsBefore_ = TComponent::LiveComponents();
}

TForm* PellmoreTest::NewForm() {
  return new TForm(nullptr);
}

PellmoreTest::~PellmoreTest() {
  try {
    ProcessState::ResetAll();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "a process-state reset failed: " << e.what();
  }
  std::string leaked;
  for (const TComponent* c : TComponent::LiveComponents()) {
    if (std::find(componentsBefore_.begin(), componentsBefore_.end(), c) != componentsBefore_.end())
      continue;
    leaked += leaked.empty() ? "" : ", ";
    leaked += (c->Name().empty() ? std::string("(unnamed)") : c->Name()) + ": " + c->ClassName();
  }
  if (!leaked.empty()) ADD_FAILURE() << "components leaked by this test: " << leaked;
  const size_t objectsAfter = TObject::LiveCount();
  if (objectsAfter > objectsBefore_)
    ADD_FAILURE() << objectsAfter - objectsBefore_ << " framework object(s) leaked by this test";
}
