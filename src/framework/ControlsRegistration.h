// Registration of the control model with a class registry: the graphics
// classes (fonts, pens, brushes, pictures), every control and form class
// with its published properties and events, their enumerations, and the
// identifier constants form descriptions may use (clBtnFace ...,
// GB2312_CHARSET ..., mrOk ...). Called from a program's ordered
// registration list, after the framework's own classes.
#pragma once

class ClassRegistry;

void RegisterControls(ClassRegistry& registry);
