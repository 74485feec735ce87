// The decoration's classes for a program's ordered registration list.
#pragma once

class ClassRegistry;

// TBackdrop, TRotate3DLabel and their types; after RegisterControls.
void RegisterDecorClasses(ClassRegistry& r);
