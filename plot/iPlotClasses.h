// The registry entries of the plot: a stored window definition may name a plot without a form
// field for it, and a program may ask for the XY channel class by name, so both classes are made
// known by name here, once, when a program starts.
// Every program that links the library links this unit (see CMakeLists.txt).
#pragma once

// Registers the plot classes again (the start-up registration did it already).
void RegisterPlotClasses();
