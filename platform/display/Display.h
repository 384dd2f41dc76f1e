// Choosing and starting the display driver, and screenshots of what it shows.
//
// Thread contract: main thread only.
#pragma once

#include "platform/os/user/DisplayDriver.h"

enum class TDisplayKind { Headless, Desktop };

// PL_DISPLAY=headless|desktop; otherwise desktop when DISPLAY or WAYLAND_DISPLAY is set, else
// headless.  PL_HEADLESS_SIZE=WIDTHxHEIGHT sizes the headless screen (default 1024x768).
TDisplayKind ChooseDisplayKind();
// Installs the chosen driver; a desktop that cannot start falls back to headless.  Returns the
// kind now running.  From then on a terminate, interrupt or hang-up signal closes the visible
// windows through their own closing (InputCloseAllWindows); a second such signal ends the
// program at once.
TDisplayKind StartDisplay();
TDisplayKind StartDisplay(TDisplayKind kind);
// Removes the driver (windows stay, shown nowhere).
void StopDisplay();

// A top-level window as it is drawn (frame included), or the composed screen, as a PNG file.
bool SaveWindowPng(HWND hwnd, const AnsiString& fileName);
bool SaveScreenPng(const AnsiString& fileName);
