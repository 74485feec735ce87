// Registration of the translator's classes with a class registry: the
// TVrexLanguage enumeration, TLanguage with its Font and Strings, the
// TTranslator component with its sixteen published languages (lgEnglish
// ...), and the translate-aware controls. Called from a program's ordered
// registration list after the control model (RegisterControls).
#pragma once

class ClassRegistry;

void RegisterTranslatorClasses(ClassRegistry& registry);
