// Kept out of the unity batch: the X11 headers declare names the runtime also uses.
#include "platform/display/DesktopConnection.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xlib.h>

namespace {

std::atomic<bool>* desktopLost = nullptr;

// Returning from both handlers keeps Xlib from ending the process; it marks the connection dead
// and its later calls do nothing.
int DesktopOnIoError(Display*) {
  if (desktopLost) desktopLost->store(true);
  return 0;
}

void DesktopOnIoExit(Display*, void*) {
  if (desktopLost) desktopLost->store(true);
}

}  // namespace

bool WatchDesktopConnection(SDL_Window* window, std::atomic<bool>& lost) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11 || !info.info.x11.display)
    return false;
  desktopLost = &lost;
  XSetIOErrorHandler(DesktopOnIoError);
  XSetIOErrorExitHandler(info.info.x11.display, DesktopOnIoExit, nullptr);
  return true;
}
