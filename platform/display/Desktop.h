// The desktop display over SDL2: one borderless system window per shown top-level window (the
// window manager draws frames itself; menus, drop-downs and hints become popup windows), the
// system's input translated to ours, and the desktop clipboard's text.
#pragma once

#include <atomic>
#include <map>
#include <string>

#include "platform/os/user/DisplayDriver.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

class TDesktopDisplay : public TDisplayDriver {
 public:
  TDesktopDisplay() = default;
  ~TDesktopDisplay() override;
  // Starts SDL's video; false when no desktop can be reached.
  bool Start();

  const char* Name() const override { return "desktop"; }
  TRect ScreenRect() override;
  TRect WorkArea() override;
  void TopLevelChanged(const TTopLevelState& state) override;
  void TopLevelDestroyed(HWND hwnd) override;
  void Present(HWND hwnd, const TSurface& surface, const TRect& dirty) override;
  void Activated(HWND hwnd) override;
  void CursorChanged(HCURSOR cursor) override;
  void CursorMoved(TPoint pt) override;
  bool PumpEvents() override;
  bool WaitEvents(int timeoutMs) override;
  void Wake() override;
  bool ReadClipboardText(std::string& utf8) override;
  bool WriteClipboardText(const std::string& utf8) override;

  // The system window showing a top-level window (tests), or nullptr.
  SDL_Window* SystemWindow(HWND hwnd) const;

 private:
  struct TShown {
    SDL_Window* Window = nullptr;
    TTopLevelState State;
  };
  void Handle(const SDL_Event& ev);
  HWND WindowOf(uint32_t sdlWindowId) const;
  TPoint ToScreen(uint32_t sdlWindowId, int x, int y) const;

  // The display server went away: the system windows are gone, the windows close through their
  // own closing, and the driver does nothing more.
  void ConnectionLost();

  bool started_ = false;
  bool watching_ = false;
  std::atomic<bool> lost_{false};
  uint32_t wakeEvent_ = 0;
  std::map<HWND, TShown> shown_;
  std::map<int, SDL_Cursor*> cursors_;
  bool hadFocus_ = false;
};
