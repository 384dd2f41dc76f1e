// The grid's cell checker base and the grid module's start: the grid class registered for stored
// definitions and its clipboard format registered.
#pragma once

#include <array>

#include "platform/runtime/Component.h"
#include "platform/ui/ExtCtrls.h"

// Corrects and marks cell texts as they are validated; the base class changes nothing.
class TAdvStringGridCheck : public TComponent {
  PL_CLASS(TAdvStringGridCheck)
 public:
  explicit TAdvStringGridCheck(TComponent* AOwner) : TComponent(AOwner) {}
  virtual AnsiString MarkError(int32_t /*ACol*/, int32_t /*ARow*/, const AnsiString& Value) { return Value; }
  virtual AnsiString Correct(int32_t /*ACol*/, int32_t /*ARow*/, const AnsiString& Value) { return Value; }
  virtual void StartCheck() {}
  virtual void StopCheck() {}
  bool GotoCell = false, AutoCorrect = false, AutoMarkError = false, UseCorrect = false, UseMarkError = false;
};

// A picture known by its file name; it is read when drawn.
class TFilePicture : public TPersistent {
  PL_CLASS(TFilePicture)
 public:
  void Assign(TPersistent* Source) override;
  AnsiString GetFilename() const { return filename_; }
  // Reads the file once for its size; a file that does not load gives 0 x 0.
  void SetFilename(const AnsiString& Value);
  int32_t GetWidth() const { return width_; }
  int32_t GetHeight() const { return height_; }
  // Stretches the picture into Rect; nothing without a name.
  void Draw(TCanvas* Canvas, const TRect& Rect);

 private:
  AnsiString filename_;
  int32_t width_ = 0, height_ = 0;
};

// A small lime arrow marking where a dragged row or column would go: 0 up, 1 down, 2 right, 3
// left.  A top-level popup, hidden until shown at a place.
class TArrowWindow : public TPanel {
  PL_CLASS(TArrowWindow)
 public:
  TArrowWindow(TComponent* AOwner, int32_t Direction);
  int32_t Direction() const { return direction_; }
  // The outline the window is cut to.
  static const std::array<TPoint, 7>& Shape(int32_t Direction);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;

 private:
  int32_t direction_;
};

// The header of a dragged column shown under the mouse: a raised (or flat) box with its caption.
class TPopupButton : public TCustomControl {
  PL_CLASS(TPopupButton)
 public:
  explicit TPopupButton(TComponent* AOwner);
  bool Flat = false;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Paint() override;
};

// Registers the grid's classes and clipboard format; run once when a program links the library.
void RegisterGridClasses();
