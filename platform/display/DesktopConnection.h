// Watching the desktop driver's connection to its display server, so that losing it ends the
// program through its own closing instead of the display library ending the process.
#pragma once

#include <atomic>

struct SDL_Window;

// Sets lost when the connection behind window breaks; from then on the library's calls on it
// return without effect.  False when the connection cannot be watched (not X11).
bool WatchDesktopConnection(SDL_Window* window, std::atomic<bool>& lost);
