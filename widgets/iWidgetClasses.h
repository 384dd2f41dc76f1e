// The registry entries of the library's classes: stored window definitions name widgets without a
// form field for them, so every class a definition may hold is made known by name here, once, when
// a program starts.  Every program that links the library links this unit (see CMakeLists.txt).
#pragma once

// Registers the classes again (the start-up registration did it already); for a program that
// unregistered one to replace it and wants the library's own back.
void RegisterWidgetClasses();
