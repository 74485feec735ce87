// Registers the decoration's classes (see DecorRegistration.h).
#include "decor/DecorRegistration.h"

#include "decor/cmp_Rotate3DLabel.h"
#include "decor/cmp_TBackDrop.h"

void RegisterDecorClasses(ClassRegistry& r) {
  RegisterBackdrop(r);
  RegisterRotate3DLabel(r);
}
