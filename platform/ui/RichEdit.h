// The rich edit control: a memo whose characters carry their own font (name, size, style,
// colour, character set), kept per character run, read and written as rich text (RTF: a font
// table, a colour table and \b \i \ul \strike \f \fs \cf runs), drawn in its runs on screen and,
// through EM_FORMATRANGE, on any device context.  EN_REQUESTRESIZE tells the size the content
// needs.  Editing is the memo's; new text takes the format of the character before it.
//
// Thread contract: UI thread only.
//
// Sections: rich text documents / TTextAttributes / TCustomRichEdit and TRichEdit.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"
#include "platform/ui/StdEdit.h"

// ============================================================================ rich text documents

// The format of a run of characters.  Size in points.
struct TRichCharFormat {
  AnsiString Name = "Arial";
  int32_t Size = 10;
  TFontStyles Style;
  TColor Color = clWindowText;
  TFontCharset Charset = DEFAULT_CHARSET;
  bool operator==(const TRichCharFormat& O) const {
    return Name == O.Name && Size == O.Size && Style == O.Style && Color == O.Color && Charset == O.Charset;
  }
  bool operator<(const TRichCharFormat& O) const;
};

struct TRichRun {
  int32_t Length = 0;
  TRichCharFormat Format;
};

// A text and its runs (their lengths add up to the text's; neighbours differ in format).
struct TRichDocument {
  AnsiString Text;
  std::vector<TRichRun> Runs;
};

// Reads rich text.  What the text leaves unsaid (no font, no size, colour 0) comes from Default;
// unknown control words and destinations are passed over.  A text that does not start as rich
// text ("{\rtf") is read as plain text.  Raises EReadError for a text that ends inside a group,
// nests groups too deeply or holds a malformed control word.
TRichDocument ReadRichText(const AnsiString& Rtf, const TRichCharFormat& Default);
// Writes Doc as rich text that ReadRichText reads back to the same document; characters in
// Default's colour are written in the automatic colour.
AnsiString WriteRichText(const TRichDocument& Doc, const TRichCharFormat& Default);

// ============================================================================ TTextAttributes

class TCustomRichEdit;
class TRichMeasure;

enum TAttributeType : uint8_t { atSelected, atDefaultText };

// The font of the selection (atSelected: read from its first character, written to all of it,
// or to the text typed next when nothing is selected) or of the text set as plain text
// (atDefaultText).
class TTextAttributes : public TPersistent {
  PL_CLASS(TTextAttributes)
 public:
  TTextAttributes(TCustomRichEdit* Owner, TAttributeType Type) : owner_(Owner), type_(Type) {}
  // From a TFont or another TTextAttributes.
  void Assign(TPersistent* Source) override;
  TColor GetColor() const { return Get().Color; }
  void SetColor(TColor Value);
  AnsiString GetName() const { return Get().Name; }
  void SetName(const AnsiString& Value);
  int32_t GetSize() const { return Get().Size; }
  void SetSize(int32_t Value);
  // The size as a font height in screen pixels (negative: the character height).
  int32_t GetHeight() const;
  void SetHeight(int32_t Value);
  TFontStyles GetStyle() const { return Get().Style; }
  void SetStyle(TFontStyles Value);
  TFontCharset GetCharset() const { return Get().Charset; }
  void SetCharset(TFontCharset Value);

 protected:
  void AssignTo(TPersistent* Dest) override;

 private:
  TRichCharFormat Get() const;
  template <class F>
  void Change(F&& Edit);
  TCustomRichEdit* owner_;
  TAttributeType type_;
};

// ============================================================================ TCustomRichEdit

class TCustomRichEdit : public TCustomMemo {
  PL_CLASS(TCustomRichEdit)
 public:
  explicit TCustomRichEdit(TComponent* AOwner);
  ~TCustomRichEdit() override;

  TTextAttributes* GetSelAttributes() const { return selAttributes_.get(); }
  void SetSelAttributes(TTextAttributes* Value) { selAttributes_->Assign(Value); }
  TTextAttributes* GetDefAttributes() const { return defAttributes_.get(); }
  void SetDefAttributes(TTextAttributes* Value) { defAttributes_->Assign(Value); }
  // Lines are loaded and saved as plain text instead of rich text.
  bool GetPlainText() const { return plainText_; }
  void SetPlainText(bool Value) { plainText_ = Value; }

  // The whole content as a document, and replacing it by one.
  TRichDocument GetDocument();
  void SetDocument(const TRichDocument& Doc);
  // The content as rich text, and replacing it by rich text (EReadError leaves it as it was).
  AnsiString GetRichText() { return WriteRichText(GetDocument(), defaultFormat_); }
  void SetRichText(const AnsiString& Rtf);

  // After every change of the selection.
  TNotifyEvent OnSelectionChange;

  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;

 protected:
  void CreateWnd() override;
  void PaintWindow(HDC DC) override;
  virtual void SelectionChange();
  // EN_REQUESTRESIZE arrived with the size the content needs.
  virtual void RequestSize(const TRect& Rect);
  // Caret, mouse and the position messages follow the formatted lines as drawn.
  int32_t CharFromPos(TPoint P) override;
  TPoint PosFromChar(int32_t Index) override;
  int32_t CaretHeight(int32_t Index) override;
  // Lays the lines out in their formats and keeps them for the caret, the mouse and painting.
  void BreakLines(std::vector<TLine>& Out, int32_t Width, bool Wrap) override;
  // Pages and scroll ranges count the lines in their own heights and widths.
  int32_t PageLines(int32_t First, bool Down) override;
  int32_t LineWidth(int32_t Line, int32_t Length) override;

 private:
  friend class TTextAttributes;
  struct TLayoutResult {
    int32_t Next = 0;
    int32_t Height = 0;
  };
  // Follows the memo's text: characters kept keep their format, new ones take the insertion
  // format.  SyncFormats tells whether the text had changed; Sync then also tells the change.
  bool SyncFormats();
  void Sync();
  uint32_t Intern(const TRichCharFormat& F);
  TRichCharFormat SelFormat();
  template <class F>
  void ChangeSelFormat(F&& Edit);
  void ChangeDefFormat(const TRichCharFormat& F);
  void FormatChanged();
  // Drops formats no character uses any more once the table has grown large.
  void CompactFormats();
  // One laid-out line: characters [Start, End) without the line break, its box and the
  // baseline's distance from its top.
  struct TRichLine {
    int32_t Start = 0, End = 0;
    int32_t Left = 0, Top = 0, Height = 0, Ascent = 0, Width = 0;
  };
  // Where the kept lines show: the formatting rectangle's left, the shift down from the layout's
  // top, the width lines are aligned in and whether alignment applies.
  struct TView {
    int32_t X = 0, Y = 0, Width = 0;
    bool Aligns = false;
  };
  // Lays [From, To) out in Area (pixels of M's device), whole lines only unless Partial (a line
  // cut by the bottom still counts), handing each line to Each; gives the first character that
  // did not fit and the height used.  The one place lines, their heights, widths and positions
  // are decided, for drawing, measuring and hit-testing alike.
  TLayoutResult Layout(TRichMeasure& M, TRect Area, int32_t From, int32_t To, bool Wrap, bool Partial,
                       const std::function<void(const TRichLine&)>& Each);
  void DrawLine(TRichMeasure& M, const TRichLine& L, bool ShowSel);
  // The kept lines, laid out again first when the text, the formats or the width changed.
  const std::vector<TRichLine>& LaidOut();
  TView View();
  // Kept line I where the window shows it (client coordinates; lines above the view lie above
  // the formatting rectangle, lines scrolled sideways left of it).
  TRichLine ShownLine(const TView& V, size_t I) const;
  static size_t LineHolding(const std::vector<TRichLine>& Lines, int32_t Index);
  // The shown line holding Index and the caret's place there.
  TRichLine CaretBox(int32_t Index, TPoint& At);
  void CheckRequestSize(bool Force);

  std::unique_ptr<TTextAttributes> selAttributes_, defAttributes_;
  bool plainText_ = false;
  TRichCharFormat defaultFormat_;
  // The format table and each character's entry in it.
  std::vector<TRichCharFormat> formats_;
  std::map<TRichCharFormat, uint32_t> formatIndex_;
  std::vector<uint32_t> charFormat_;
  AnsiString shadow_;
  // The text changed while being laid out; the change is told once the message is handled.
  bool textFollowed_ = false;
  // The lines as last laid out, from the text's top-left corner at (0, 0).
  std::vector<TRichLine> layout_;
  // The format text typed at the caret takes, set while nothing is selected.
  TRichCharFormat insertFormat_;
  int32_t insertAt_ = -1;
  int32_t lastAnchor_ = 0, lastCaret_ = 0;
  DWORD eventMask_ = ENM_NONE;
  TRect lastRequest_;
  bool requestSent_ = false;
};

class TRichEdit : public TCustomRichEdit {
  PL_CLASS(TRichEdit)
 public:
  explicit TRichEdit(TComponent* AOwner) : TCustomRichEdit(AOwner) {}
};
