// The one small interface between the window manager and a display: the window manager tells
// the driver about top-level windows and hands it their pixels; the driver feeds input back
// through the Input... functions below.  Drivers live in platform/display.
//
// Thread contract: the driver is called on the main thread only, except Wake, which any thread
// may call.  The Input... functions run on the main thread.
#pragma once

#include <memory>
#include <string>

#include "platform/os/user/UserTypes.h"

// What the driver needs to show one top-level window.
struct TTopLevelState {
  HWND Wnd = nullptr;
  TRect Bounds;  // screen coordinates of the whole window
  bool Visible = false;
  bool Minimized = false;
  // Menus, drop-downs and hints: no taskbar entry, no decoration, no activation by the desktop.
  bool Popup = false;
  bool Topmost = false;
  AnsiString Title;
};

class TDisplayDriver {
 public:
  virtual ~TDisplayDriver() = default;
  virtual const char* Name() const = 0;
  // The virtual screen, and the part of it windows maximise into.
  virtual TRect ScreenRect() = 0;
  virtual TRect WorkArea() { return ScreenRect(); }

  // A top-level window was created, moved, resized, shown, hidden or renamed.
  virtual void TopLevelChanged(const TTopLevelState&) {}
  virtual void TopLevelDestroyed(HWND) {}
  // New pixels of a top-level window: surface is the whole window, dirty the part that changed
  // (window coordinates).
  virtual void Present(HWND, const TSurface&, const TRect&) {}
  // The top-level windows in z-order, top first, after a change.
  virtual void ZOrderChanged(const HWND*, size_t) {}
  virtual void Activated(HWND) {}
  virtual void CursorChanged(HCURSOR) {}
  virtual void CursorMoved(TPoint) {}

  // Drivers with their own event source: feed everything pending (without waiting), or wait
  // up to timeoutMs (-1: no limit) for an event or a Wake.  The others answer false and the
  // window manager waits on its own.
  virtual bool PumpEvents() { return false; }
  virtual bool WaitEvents(int) { return false; }
  virtual void Wake() {}

  // The desktop's clipboard text (UTF-8); false when there is no desktop clipboard.
  virtual bool ReadClipboardText(std::string&) { return false; }
  virtual bool WriteClipboardText(const std::string&) { return false; }
};

// Installs a driver (nullptr: none) and tells it about the visible top-level windows; the
// screen metrics follow its screen.  Returns the driver it replaces.
std::unique_ptr<TDisplayDriver> SetDisplayDriver(std::unique_ptr<TDisplayDriver> driver);
TDisplayDriver* GetDisplayDriver();
// The screen without a driver: 1024 x 768.
TRect ScreenBounds();
TRect WorkAreaBounds();

// ---- input, from drivers and tests (main thread) ----------------------------------------------

// Pointer positions are screen coordinates.  Buttons are VK_LBUTTON, VK_RBUTTON, VK_MBUTTON.
void InputMouseMove(TPoint pt);
void InputMouseButton(int button, bool down, TPoint pt);
// delta: WHEEL_DELTA per notch, positive away from the user.
void InputMouseWheel(int delta, TPoint pt);

// The key's characters arrive separately through InputChars (a desktop with its own layout);
// TranslateMessage then gives characters only for Enter, Tab, Backspace, Escape and Ctrl keys.
constexpr UINT KEYIN_TEXT_SEPARATE = 0x01;
// The keypad's or the right-hand key of a pair (extended keys are known anyway).
constexpr UINT KEYIN_EXTENDED = 0x02;
// Side-specific keys (VK_LSHIFT ...) also set the generic ones.  chars, when given, is what the
// key types (else the US layout decides).
void InputKey(UINT vk, bool down, UINT flags = 0, const WideString& chars = {});
// Typed text: WM_CHAR (WM_SYSCHAR with Alt down) per UTF-16 unit to the focus window.
void InputChars(const WideString& text);
// The desktop activated or deactivated the application, or one of its windows.
void InputActivateApp(bool active);
void InputActivateWindow(HWND hwnd);
// The desktop asks a window to close (WM_SYSCOMMAND SC_CLOSE).
void InputCloseRequest(HWND hwnd);
// The session ends (a terminate signal, the desktop gone): a close request to every visible
// top-level window, topmost first, so the program's own closing runs and a dialog ends before the
// window under it.
void InputCloseAllWindows();
// The desktop lost the window's pixels: present them again.
void InputExpose(HWND hwnd);

// ---- surfaces, for drivers and screenshots (main thread) ----------------------------------------

// The backing surface of a top-level window (whole window), or nullptr.  Paints what is due
// first when flush is true.
const TSurface* TopLevelSurface(HWND hwnd, bool flush = true);
// The screen as the top-level windows compose it (bottom first, regions applied), on the
// desktop colour.  Paints what is due first.
const TSurface& ComposeScreen();
// Sends every due WM_PAINT of the calling thread now (tests and screenshots).
void FlushPaint();
