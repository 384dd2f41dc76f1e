// The property editors' form base and controls.  Beyond the plain controls they can show a value
// set by code without firing their change event (quiet setting), share one blank state (Disable
// greys and empties, Enable restores), move the focus themselves on Tab and Shift+Tab, and tell
// the owning editor form after every change the user made.  TiPaintBox is a double-buffered
// paint surface.
#pragma once

#include <memory>

#include "platform/ui/ComCtrls.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/ui/StdCtrls.h"
#include "widgets/iCheckBox.h"
#include "widgets/iRadioGroup.h"

class TiValueConverterEditForm;

// ============================================================================ form base =======

class TiCustomEditorForm : public TCustomForm {
  PL_CLASS(TiCustomEditorForm)
 public:
  explicit TiCustomEditorForm(TComponent* AOwner) : TCustomForm(AOwner) {}
  // Called after every change the user made in one of the form's editor controls.
  virtual void EditorControlChanged() {}
};

// ============================================================================ edit ============

// Commits its text on Enter, on losing the focus and at the end of EnterInteger/EnterFloat: a
// text that differs from the last committed one fires OnUpdate.  Escape goes back to the
// committed text.  Text that is no number reads as 0.
class TiComponentEditorEdit : public TCustomEdit {
  PL_CLASS(TiComponentEditorEdit)
 public:
  explicit TiComponentEditorEdit(TComponent* AOwner);

  AnsiString GetAsString() { return GetText(); }
  int32_t GetAsInteger();
  double GetAsFloat();
  // Quiet setters: no OnChange, no OnUpdate (the text becomes the committed text).
  void SetAsString(const AnsiString& Value);
  void SetAsInteger(int32_t Value);
  void SetAsFloat(double Value);
  // As if the user had typed the value: the owner hears of it, then Commit.
  void EnterInteger(int32_t Value);
  void EnterFloat(double Value);
  void Commit();
  void Disable();
  void Enable();
  void SetEnabled(bool Value) override;
  const AnsiString& CommittedText() const { return committed_; }
  bool SettingByCode() const { return byCode_; }

  TNotifyEvent OnUpdate;

  void Dispatch(TMessage& Message) override;

 protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyPress(char& Key) override;
  void DoExit() override;

 private:
  template <class F>
  void Quietly(F Set);
  AnsiString committed_;
  bool byCode_ = false;
};

// ============================================================================ up-down =========

// Two arrow buttons beside an edit: a press steps the edit's value at once, again after 500 ms
// and then every 50 ms while held.  Min and Max both 0: no bounds.
class TiUpDown : public TGraphicControl {
  PL_CLASS(TiUpDown)
 public:
  explicit TiUpDown(TComponent* AOwner);
  ~TiUpDown() override;

  TiComponentEditorEdit* GetAssociate() const { return associate_; }
  // Moves the buttons to the edit's right edge, as tall as the edit.
  void SetAssociate(TiComponentEditorEdit* Value);
  int16_t GetMin() const { return min_; }
  void SetMin(int16_t Value) { min_ = Value; }
  int16_t GetMax() const { return max_; }
  void SetMax(int16_t Value) { max_ = Value; }
  int32_t GetIncrement() const { return increment_; }
  void SetIncrement(int32_t Value) { increment_ = Value; }
  int32_t GetValue();
  void SetValue(int32_t Value);
  void Disable();
  void Enable();
  TTimer* RepeatTimer() const { return timer_.get(); }
  bool UpperPressed() const { return upperPressed_; }
  bool LowerPressed() const { return lowerPressed_; }

  void Notification(TComponent* AComponent, TOperation Operation) override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseMove(TShiftState Shift, int32_t X, int32_t Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int32_t X, int32_t Y) override;

 private:
  void UpdateButtons();
  void Step();
  void TimerTick(TObject* Sender);
  TRect UpperRect();
  TRect LowerRect();

  TiComponentEditorEdit* associate_ = nullptr;
  int16_t min_ = 0, max_ = 100;
  int32_t increment_ = 1;
  std::unique_ptr<TTimer> timer_;
  bool held_ = false;
  int32_t lastX_ = 0, lastY_ = 0;
  bool upperPressed_ = false, lowerPressed_ = false;
  bool firstRepeat_ = false;
  bool stepping_ = false;
};

// ============================================================================ simple ones =====

class TiComponentEditorPageControl : public TPageControl {
  PL_CLASS(TiComponentEditorPageControl)
 public:
  explicit TiComponentEditorPageControl(TComponent* AOwner) : TPageControl(AOwner) {}
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyPress(char& Key) override;
};

class TiComponentEditorButton : public TButton {
  PL_CLASS(TiComponentEditorButton)
 public:
  explicit TiComponentEditorButton(TComponent* AOwner) : TButton(AOwner) {}

 protected:
  void KeyPress(char& Key) override;
  void DoEnter() override;
};

class TiComponentEditorCheckBox : public TiCheckBox {
  PL_CLASS(TiComponentEditorCheckBox)
 public:
  explicit TiComponentEditorCheckBox(TComponent* AOwner) : TiCheckBox(AOwner) {}
  bool GetAsBoolean() const { return GetChecked(); }
  void SetAsBoolean(bool Value);
  void Disable();
  void Enable() { SetEnabled(true); }
  void Dispatch(TMessage& Message) override;

 protected:
  void DoChange() override;
  void KeyPress(char& Key) override;

 private:
  bool byCode_ = false;
};

class TiComponentEditorRadioGroup : public TiRadioGroup {
  PL_CLASS(TiComponentEditorRadioGroup)
 public:
  explicit TiComponentEditorRadioGroup(TComponent* AOwner) : TiRadioGroup(AOwner) {}
  int32_t GetAsInteger() const { return GetItemIndex(); }
  void SetAsInteger(int32_t Value);
  void Disable();
  void Enable() { SetEnabled(true); }
  void Click() override;

 protected:
  void KeyPress(char& Key) override;
  void DoEnter() override;

 private:
  bool byCode_ = false;
};

class TiComponentEditorComboBox : public TComboBox {
  PL_CLASS(TiComponentEditorComboBox)
 public:
  explicit TiComponentEditorComboBox(TComponent* AOwner) : TComboBox(AOwner) {}
  int32_t GetAsInteger() const { return GetItemIndex(); }
  AnsiString GetAsString() { return GetText(); }
  void SetAsInteger(int32_t Value);
  void SetAsString(const AnsiString& Value);
  void Disable();
  void Enable();
  // Tells the owning form; fires no OnClick (OnChange follows for a new selection).
  void Click() override;
  void Dispatch(TMessage& Message) override;

 protected:
  void KeyPress(char& Key) override;
  void DoEnter() override;

 private:
  template <class F>
  void Quietly(F Set);
  bool byCode_ = false;
};

// Index, DrawColorBox, AColor, AText.
using TiListBoxGetDataEvent = TEvent<int32_t, bool&, TColor&, AnsiString&>;

// An owner-drawn list with a colour box before each item, reordered by dragging within itself.
class TiComponentEditorListBox : public TCustomListBox {
  PL_CLASS(TiComponentEditorListBox)
 public:
  explicit TiComponentEditorListBox(TComponent* AOwner);
  void SelectLast() { SetItemIndex(Count() - 1); }
  // Deletes the selected item and frees the object attached to it (the list owns the objects
  // removed this way); the same index stays selected, or the new last one.
  void DeleteSelected();
  // Takes Object's item out of the list without freeing Object.
  void RemoveObject(TObject* Object);

  TiListBoxGetDataEvent OnGetData;
  TNotifyEvent OnItemMove;

  void Dispatch(TMessage& Message) override;
  void DragOver(TObject* Source, int32_t X, int32_t Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int32_t X, int32_t Y) override;

 protected:
  void DrawItem(int32_t Index, TRect Rect, TOwnerDrawState State) override;
  void KeyPress(char& Key) override;
  void DoEnter() override;
  void CreateWnd() override;
};

class TiComponentEditorGroupBox : public TGroupBox {
  PL_CLASS(TiComponentEditorGroupBox)
 public:
  explicit TiComponentEditorGroupBox(TComponent* AOwner) : TGroupBox(AOwner) {}
};

// ============================================================================ pickers =========

// A colour swatch with a "..." button at its right edge that opens the colour dialog.
class TiComponentEditorColorPicker : public TCustomControl {
  PL_CLASS(TiComponentEditorColorPicker)
 public:
  explicit TiComponentEditorColorPicker(TComponent* AOwner);
  TColor GetAsColor() const { return color_; }
  void SetAsColor(TColor Value);
  void Disable();
  void Enable();
  void Execute();
  TButton* PickerButton() const { return button_; }
  void SetBounds(int32_t ALeft, int32_t ATop, int32_t AWidth, int32_t AHeight) override;
  void Dispatch(TMessage& Message) override;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void DblClick() override;
  void KeyPress(char& Key) override;
  void DoEnter() override;

 private:
  void ButtonClick(TObject* Sender);
  TColor color_ = TColor(0x0000FF);
  TButton* button_ = nullptr;
};

// A button whose click runs a dialog; answers the dialog-code query with want-tab and
// want-all-keys.
class TiComponentEditorPickerButton : public TiComponentEditorButton {
  PL_CLASS(TiComponentEditorPickerButton)
 public:
  explicit TiComponentEditorPickerButton(TComponent* AOwner);
  void Disable() { SetEnabled(false); }
  void Enable() { SetEnabled(true); }
  void Dispatch(TMessage& Message) override;
  TNotifyEvent OnChange;

 protected:
  void DoEnter() override;
  // Marks this control and its parents while a dialog runs, and clears its own mark after.
  void MarkForDialog(bool Chain);
  void UnmarkAfterDialog();
};

class TiComponentEditorFontPicker : public TiComponentEditorPickerButton {
  PL_CLASS(TiComponentEditorFontPicker)
 public:
  explicit TiComponentEditorFontPicker(TComponent* AOwner);
  ~TiComponentEditorFontPicker() override;
  TFont* GetPickerFont() const { return font_.get(); }
  void Execute();
  void Click() override;

 private:
  std::unique_ptr<TFont> font_;
};

class TiComponentEditorOpenPicker : public TiComponentEditorPickerButton {
  PL_CLASS(TiComponentEditorOpenPicker)
 public:
  explicit TiComponentEditorOpenPicker(TComponent* AOwner);
  ~TiComponentEditorOpenPicker() override;
  AnsiString FileName, Filter, DefaultExt;
  bool FileMustExist = false;
  bool AllowMultiSelect = false;
  TStrings* GetFiles() const { return files_.get(); }
  void Execute();
  void Click() override;

 private:
  std::unique_ptr<TStringList> files_;
};

class TiComponentEditorSavePicker : public TiComponentEditorPickerButton {
  PL_CLASS(TiComponentEditorSavePicker)
 public:
  explicit TiComponentEditorSavePicker(TComponent* AOwner);
  AnsiString FileName, Filter, DefaultExt;
  bool Execute();
  void Click() override;
};

enum TiValueConverterPageType : uint8_t { ivcptInterval, ivcptDateTime, ivcptPrice32nd };
template <>
const EnumNames& EnumNamesOf<TiValueConverterPageType>();
// Called with a form to translate its texts.
using TFormTranslationMethod = TEvent<TCustomForm*>;

class TiComponentEditorValueConverterPicker : public TiComponentEditorPickerButton {
  PL_CLASS(TiComponentEditorValueConverterPicker)
 public:
  explicit TiComponentEditorValueConverterPicker(TComponent* AOwner);
  TiComponentEditorEdit* GetAssociate() const { return associate_; }
  void SetAssociate(TiComponentEditorEdit* Value);
  double DateTime = 0;
  TiValueConverterPageType DefaultPage = ivcptInterval;
  TFormTranslationMethod TranslationMethod;
  void Click() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TiComponentEditorEdit* associate_ = nullptr;
};

// ============================================================================ paint box =======

class TiPaintBox : public TCustomControl {
  PL_CLASS(TiPaintBox)
 public:
  explicit TiPaintBox(TComponent* AOwner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};
