// The registry entry of the plot: a stored window definition may name a plot without a form
// field for it, so the plot class is made known by name here, once, when a program starts.
// Every program that links the library links this unit (see CMakeLists.txt).
#pragma once

// Registers the plot class again (the start-up registration did it already).
void RegisterPlotClasses();
