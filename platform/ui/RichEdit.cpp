// The rich edit control.
//
// Sections: rich text reader / rich text writer / TTextAttributes / TCustomRichEdit: lines,
// messages, formats / layout and painting.
#include "platform/ui/RichEdit.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "platform/os/gdi/Gdi.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/MathUtils.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"

namespace {
// Groups nest no deeper than this.
constexpr int32_t kRichMaxDepth = 100;
// Font and colour tables keep no more entries than these; later ones are passed over.
constexpr size_t kRichMaxFonts = 1024;
constexpr size_t kRichMaxColors = 1024;
// Control words are short; a longer one is not rich text.
constexpr size_t kRichMaxWord = 32;
constexpr size_t kRichMaxDigits = 10;
// Font names as long as the system keeps them.
constexpr size_t kRichMaxFaceName = 31;
// The sizes a character may have, in half points.
constexpr int32_t kRichMinHalfPoints = 2;
constexpr int32_t kRichMaxHalfPoints = 3276;

[[noreturn]] void RichFail(const char* What) { throw EReadError(AnsiString("Invalid rich text: ") + What); }

bool RichIsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool RichIsDigit(char c) { return c >= '0' && c <= '9'; }

int RichHexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Destinations whose text is not part of the document.
bool RichIsSkippedDestination(const AnsiString& W) {
  static const char* const kSkipped[] = {"author",
                                         "buptim",
                                         "comment",
                                         "creatim",
                                         "doccomm",
                                         "fldinst",
                                         "filetbl",
                                         "footer",
                                         "footerf",
                                         "footerl",
                                         "footerr",
                                         "footnote",
                                         "ftncn",
                                         "ftnsep",
                                         "ftnsepc",
                                         "header",
                                         "headerf",
                                         "headerl",
                                         "headerr",
                                         "info",
                                         "keywords",
                                         "listtable",
                                         "listoverridetable",
                                         "object",
                                         "operator",
                                         "pict",
                                         "pntext",
                                         "pntxta",
                                         "pntxtb",
                                         "printim",
                                         "private",
                                         "revtim",
                                         "revtbl",
                                         "rsidtbl",
                                         "rxe",
                                         "stylesheet",
                                         "subject",
                                         "tc",
                                         "title",
                                         "txe",
                                         "xe",
                                         "xmlnstbl",
                                         "generator",
                                         "themedata",
                                         "colorschememapping",
                                         "latentstyles",
                                         "datastore"};
  for (const char* s : kSkipped)
    if (W == s) return true;
  return false;
}

enum class TRichDest : uint8_t { Text, FontTable, ColorTable, Skip };

struct TRichState {
  TRichDest Dest = TRichDest::Text;
  int32_t Font = -1;       // font number, -1: the default font
  int32_t HalfPoints = 0;  // 0: the default size
  TFontStyles Style;
  int32_t Color = 0;  // colour table index, 0: automatic
  int32_t UcSkip = 1;
  // Font table entry being read.
  int32_t EntryFont = -1;
  int32_t EntryCharset = -1;
};

struct TRichFont {
  AnsiString Name;
  int32_t Charset = -1;
};

class TRichReader {
 public:
  TRichReader(const AnsiString& Rtf, const TRichCharFormat& Default) : in_(Rtf), default_(Default) {}

  TRichDocument Read() {
    size_t end = Parse();
    (void)end;
    return std::move(doc_);
  }

 private:
  size_t Parse() {
    std::vector<TRichState> stack;
    TRichState st;
    size_t i = 0;
    const size_t n = in_.size();
    bool started = false;
    while (i < n) {
      char c = in_[i];
      if (c == '{') {
        ++i;
        if (stack.size() >= size_t(kRichMaxDepth)) RichFail("groups nested too deeply");
        stack.push_back(st);
        started = true;
        groupStart_ = true;
        continue;
      }
      if (c == '}') {
        ++i;
        if (stack.empty()) RichFail("unbalanced group");
        if (st.Dest == TRichDest::FontTable && st.EntryFont >= 0 && !fontName_.empty()) CommitFont(st);
        st = stack.back();
        stack.pop_back();
        dirty_ = true;
        if (stack.empty()) return i;  // the document's group is closed: the rest is not read
        continue;
      }
      if (!started) RichFail("text outside the document's group");
      bool firstInGroup = groupStart_;
      groupStart_ = false;
      if (c == '\\') {
        i = ControlWord(i + 1, st, firstInGroup);
        continue;
      }
      ++i;
      if (c == '\r' || c == '\n') continue;
      Char(c, st);
    }
    RichFail("the text ends inside a group");
  }

  // Reads a control word or symbol after its backslash; returns the position after it.
  size_t ControlWord(size_t i, TRichState& st, bool FirstInGroup) {
    const size_t n = in_.size();
    if (i >= n) RichFail("the text ends inside a control word");
    char c = in_[i];
    if (!RichIsLetter(c)) {
      // Control symbols.
      switch (c) {
        case '\'': {
          if (i + 2 >= n) RichFail("the text ends inside a character code");
          int hi = RichHexValue(in_[i + 1]), lo = RichHexValue(in_[i + 2]);
          if (hi < 0 || lo < 0) RichFail("a character code is not hexadecimal");
          Char(char(hi * 16 + lo), st);
          return i + 3;
        }
        case '*':
          // An optional destination: its group is passed over unless its word is known.
          st.Dest = TRichDest::Skip;
          return i + 1;
        case '~':
          Char(char(0xA0), st);
          return i + 1;
        case '_':
          Char('-', st);
          return i + 1;
        case '\r':
        case '\n':
          Break(st);
          return i + 1;
        case '\\':
        case '{':
        case '}':
          Char(c, st);
          return i + 1;
        default:
          // \- (optional hyphen), \: (index entry) and unknown symbols show nothing.
          return i + 1;
      }
    }
    size_t start = i;
    while (i < n && RichIsLetter(in_[i])) {
      if (i - start >= kRichMaxWord) RichFail("control word too long");
      ++i;
    }
    AnsiString word = in_.substr(start, i - start);
    bool hasParam = false;
    int64_t param = 0;
    bool negative = false;
    if (i < n && in_[i] == '-' && i + 1 < n && RichIsDigit(in_[i + 1])) {
      negative = true;
      ++i;
    }
    size_t digits = i;
    while (i < n && RichIsDigit(in_[i])) {
      if (i - digits >= kRichMaxDigits) RichFail("number too long");
      param = param * 10 + (in_[i] - '0');
      hasParam = true;
      ++i;
    }
    if (negative) param = -param;
    param = std::clamp<int64_t>(param, INT32_MIN, INT32_MAX);
    if (i < n && in_[i] == ' ') ++i;
    if (word == "bin") {
      // Binary data: skipped, never shown.
      if (param < 0 || uint64_t(param) > uint64_t(n - i)) RichFail("binary data beyond the end");
      return i + size_t(param);
    }
    Word(word, hasParam, int32_t(param), st, FirstInGroup);
    return i;
  }

  void Word(const AnsiString& w, bool hasParam, int32_t p, TRichState& st, bool FirstInGroup) {
    if (st.Dest == TRichDest::Skip) return;
    // Destinations.
    if (w == "fonttbl") {
      st.Dest = TRichDest::FontTable;
      return;
    }
    if (w == "colortbl") {
      st.Dest = TRichDest::ColorTable;
      colors_.clear();
      colorOpen_ = false;
      return;
    }
    if (RichIsSkippedDestination(w)) {
      st.Dest = TRichDest::Skip;
      return;
    }
    (void)FirstInGroup;
    if (st.Dest == TRichDest::FontTable) {
      if (w == "f") {
        st.EntryFont = hasParam ? p : 0;
        fontName_.clear();
      } else if (w == "fcharset") {
        st.EntryCharset = std::clamp(p, 0, 255);
      }
      return;
    }
    if (st.Dest == TRichDest::ColorTable) {
      int32_t v = std::clamp(p, 0, 255);
      if (w == "red") color_ = (color_ & 0xFFFF00) | uint32_t(v);
      if (w == "green") color_ = (color_ & 0xFF00FF) | (uint32_t(v) << 8);
      if (w == "blue") color_ = (color_ & 0x00FFFF) | (uint32_t(v) << 16);
      colorOpen_ = true;
      return;
    }
    dirty_ = true;
    if (w == "deff") {
      defaultFont_ = p;
    } else if (w == "f") {
      st.Font = hasParam ? p : 0;
    } else if (w == "fs") {
      st.HalfPoints = hasParam && p > 0 ? std::clamp(p, kRichMinHalfPoints, kRichMaxHalfPoints) : 0;
    } else if (w == "cf") {
      st.Color = std::max(0, p);
    } else if (w == "b" || w == "i" || w == "ul" || w == "strike" || w == "ulnone") {
      TFontStyle s = w == "b" ? fsBold : w == "i" ? fsItalic : w == "strike" ? fsStrikeOut : fsUnderline;
      bool on = w != "ulnone" && (!hasParam || p != 0);
      if (on)
        st.Style.Include(s);
      else
        st.Style.Exclude(s);
    } else if (w == "plain") {
      st.Font = -1;
      st.HalfPoints = 0;
      st.Style = TFontStyles();
      st.Color = 0;
    } else if (w == "uc") {
      st.UcSkip = std::clamp(p, 0, 16);
    } else if (w == "u") {
      int32_t code = p < 0 ? p + 65536 : p;
      int32_t b = code >= 0 ? WideCharToAnsi(char32_t(code)) : -1;
      Char(b >= 0 ? char(b) : '?', st);
      skip_ = st.UcSkip;
      return;
    } else if (w == "par" || w == "line") {
      Break(st);
    } else if (w == "tab") {
      Char('\t', st);
    } else if (w == "emdash") {
      Char(char(0x97), st);
    } else if (w == "endash") {
      Char(char(0x96), st);
    } else if (w == "bullet") {
      Char(char(0x95), st);
    } else if (w == "lquote") {
      Char(char(0x91), st);
    } else if (w == "rquote") {
      Char(char(0x92), st);
    } else if (w == "ldblquote") {
      Char(char(0x93), st);
    } else if (w == "rdblquote") {
      Char(char(0x94), st);
    }
  }

  void CommitFont(TRichState& st) {
    if (fonts_.size() < kRichMaxFonts || fonts_.count(st.EntryFont)) {
      AnsiString name = fontName_;
      while (!name.empty() && name.front() == ' ') name.erase(0, 1);
      if (name.size() > kRichMaxFaceName) name.resize(kRichMaxFaceName);
      while (!name.empty() && name.back() == ' ') name.pop_back();
      fonts_[st.EntryFont] = {name, st.EntryCharset};
    }
    fontName_.clear();
    st.EntryFont = -1;
    st.EntryCharset = -1;
    dirty_ = true;
  }

  void Break(TRichState& st) {
    if (st.Dest != TRichDest::Text) return;
    skip_ = 0;
    Emit('\r', st);
    Emit('\n', st);
  }

  void Char(char c, TRichState& st) {
    switch (st.Dest) {
      case TRichDest::Skip:
        return;
      case TRichDest::FontTable:
        if (c == ';') {
          if (st.EntryFont >= 0) CommitFont(st);
        } else if (uint8_t(c) >= 0x20 && fontName_.size() < 256) {
          // No face name holds control characters; keeping them would not survive a rewrite.
          fontName_.push_back(c);
        }
        return;
      case TRichDest::ColorTable:
        if (c == ';') {
          if (colors_.size() < kRichMaxColors) colors_.push_back(colorOpen_ ? int32_t(color_) : -1);
          color_ = 0;
          colorOpen_ = false;
        }
        return;
      case TRichDest::Text:
        if (skip_ > 0) {
          --skip_;
          return;
        }
        Emit(c, st);
        return;
    }
  }

  void Emit(char c, const TRichState& st) {
    // An edit's text holds no NUL.
    if (c == 0) return;
    if (dirty_ || doc_.Runs.empty()) {
      TRichCharFormat f = Resolve(st);
      if (doc_.Runs.empty() || !(doc_.Runs.back().Format == f)) doc_.Runs.push_back({0, f});
      dirty_ = false;
    }
    doc_.Text.push_back(c);
    ++doc_.Runs.back().Length;
  }

  TRichCharFormat Resolve(const TRichState& st) const {
    TRichCharFormat f = default_;
    int32_t font = st.Font >= 0 ? st.Font : defaultFont_;
    if (auto it = fonts_.find(font); it != fonts_.end()) {
      if (!it->second.Name.empty()) f.Name = it->second.Name;
      if (it->second.Charset >= 0) f.Charset = TFontCharset(it->second.Charset);
    }
    if (st.HalfPoints > 0) f.Size = std::max(1, (st.HalfPoints + 1) / 2);
    f.Style = st.Style;
    if (st.Color > 0 && size_t(st.Color) < colors_.size() + 0 && colors_[size_t(st.Color)] >= 0)
      f.Color = TColor(colors_[size_t(st.Color)]);
    return f;
  }

  const AnsiString& in_;
  TRichCharFormat default_;
  TRichDocument doc_;
  std::map<int32_t, TRichFont> fonts_;
  int32_t defaultFont_ = 0;
  AnsiString fontName_;
  std::vector<int32_t> colors_;
  uint32_t color_ = 0;
  bool colorOpen_ = false;
  int32_t skip_ = 0;
  bool dirty_ = true;
  bool groupStart_ = false;
};

TRichDocument RichPlainDocument(const AnsiString& Text, const TRichCharFormat& F) {
  TRichDocument d;
  d.Text = Text;
  if (!Text.empty()) d.Runs.push_back({int32_t(Text.size()), F});
  return d;
}

}  // namespace

bool TRichCharFormat::operator<(const TRichCharFormat& O) const {
  return std::make_tuple(Name, Size, Style.Mask(), Color, Charset) <
         std::make_tuple(O.Name, O.Size, O.Style.Mask(), O.Color, O.Charset);
}

TRichDocument ReadRichText(const AnsiString& Rtf, const TRichCharFormat& Default) {
  if (Rtf.compare(0, 5, "{\\rtf") != 0) return RichPlainDocument(Rtf, Default);
  return TRichReader(Rtf, Default).Read();
}

// ============================================================================ rich text writer

namespace {
void RichWriteEscaped(AnsiString& Out, char c) {
  static const char kHex[] = "0123456789abcdef";
  auto u = uint8_t(c);
  if (c == '\\' || c == '{' || c == '}') {
    Out.push_back('\\');
    Out.push_back(c);
  } else if (c == '\t') {
    Out += "\\tab ";
  } else if (u < 0x20 || u >= 0x80) {
    Out += "\\'";
    Out.push_back(kHex[u >> 4]);
    Out.push_back(kHex[u & 15]);
  } else {
    Out.push_back(c);
  }
}
}  // namespace

AnsiString WriteRichText(const TRichDocument& Doc, const TRichCharFormat& Default) {
  // The tables: every font (name and character set) and colour the runs use.
  std::vector<std::pair<AnsiString, TFontCharset>> fonts{{Default.Name, Default.Charset}};
  std::vector<TColor> colors;
  auto fontOf = [&](const TRichCharFormat& f) {
    auto key = std::make_pair(f.Name, f.Charset);
    auto it = std::find(fonts.begin(), fonts.end(), key);
    if (it != fonts.end()) return size_t(it - fonts.begin());
    fonts.push_back(key);
    return fonts.size() - 1;
  };
  auto colorOf = [&](const TRichCharFormat& f) -> size_t {
    if (f.Color == Default.Color) return 0;
    TColor rgb = ColorToRGB(f.Color);
    auto it = std::find(colors.begin(), colors.end(), rgb);
    if (it != colors.end()) return size_t(it - colors.begin()) + 1;
    colors.push_back(rgb);
    return colors.size();
  };
  for (const TRichRun& r : Doc.Runs) {
    fontOf(r.Format);
    colorOf(r.Format);
  }
  AnsiString out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
  for (size_t i = 0; i < fonts.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset" + std::to_string(fonts[i].second) + " ";
    for (char c : fonts[i].first)
      if (c != ';') RichWriteEscaped(out, c);
    out += ";}";
  }
  out += "}\r\n{\\colortbl ;";
  for (TColor c : colors) {
    auto v = uint32_t(c);
    out += "\\red" + std::to_string(v & 0xFF) + "\\green" + std::to_string((v >> 8) & 0xFF) + "\\blue" +
           std::to_string((v >> 16) & 0xFF) + ";";
  }
  out += "}\r\n\\pard";
  size_t pos = 0;
  const AnsiString& t = Doc.Text;
  for (const TRichRun& r : Doc.Runs) {
    const TRichCharFormat& f = r.Format;
    out += "\\plain\\f" + std::to_string(fontOf(f)) + "\\fs" + std::to_string(std::max(1, f.Size) * 2);
    if (size_t c = colorOf(f)) out += "\\cf" + std::to_string(c);
    if (f.Style.Contains(fsBold)) out += "\\b";
    if (f.Style.Contains(fsItalic)) out += "\\i";
    if (f.Style.Contains(fsUnderline)) out += "\\ul";
    if (f.Style.Contains(fsStrikeOut)) out += "\\strike";
    out += ' ';
    size_t end = std::min(t.size(), pos + size_t(std::max(0, r.Length)));
    for (; pos < end; ++pos) {
      if (t[pos] == '\r' && pos + 1 < end && t[pos + 1] == '\n') {
        out += "\\par\r\n";
        ++pos;
      } else {
        RichWriteEscaped(out, t[pos]);
      }
    }
  }
  out += "\r\n}";
  return out;
}

// ============================================================================ TTextAttributes

const TClassInfo& TTextAttributes::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TTextAttributes, TPersistent>("TTextAttributes");
  return info;
}

TRichCharFormat TTextAttributes::Get() const {
  return type_ == atSelected ? owner_->SelFormat() : owner_->defaultFormat_;
}

template <class F>
void TTextAttributes::Change(F&& Edit) {
  if (type_ == atSelected) {
    owner_->ChangeSelFormat(Edit);
  } else {
    TRichCharFormat f = owner_->defaultFormat_;
    Edit(f);
    owner_->ChangeDefFormat(f);
  }
}

void TTextAttributes::SetColor(TColor Value) {
  Change([&](TRichCharFormat& f) { f.Color = Value; });
}

void TTextAttributes::SetName(const AnsiString& Value) {
  Change([&](TRichCharFormat& f) { f.Name = Value; });
}

void TTextAttributes::SetSize(int32_t Value) {
  int32_t size = std::clamp(Value, 1, kRichMaxHalfPoints / 2);
  Change([&](TRichCharFormat& f) { f.Size = size; });
}

namespace {
int32_t RichScreenPpi() {
  static const int32_t ppi = TFont().PixelsPerInch;
  return ppi;
}
}  // namespace

int32_t TTextAttributes::GetHeight() const { return -MulDiv(GetSize(), RichScreenPpi(), 72); }

void TTextAttributes::SetHeight(int32_t Value) { SetSize(MulDiv(std::abs(Value), 72, RichScreenPpi())); }

void TTextAttributes::SetStyle(TFontStyles Value) {
  Change([&](TRichCharFormat& f) { f.Style = Value; });
}

void TTextAttributes::SetCharset(TFontCharset Value) {
  Change([&](TRichCharFormat& f) { f.Charset = Value; });
}

void TTextAttributes::Assign(TPersistent* Source) {
  TRichCharFormat from;
  if (auto* font = dynamic_cast<TFont*>(Source)) {
    from = {font->GetName(), std::clamp(font->GetSize() == 0 ? 1 : std::abs(font->GetSize()), 1, 1638),
            font->GetStyle(), font->GetColor(), font->GetCharset()};
  } else if (auto* attrs = dynamic_cast<TTextAttributes*>(Source)) {
    from = attrs->Get();
  } else {
    TPersistent::Assign(Source);
    return;
  }
  Change([&](TRichCharFormat& f) { f = from; });
}

void TTextAttributes::AssignTo(TPersistent* Dest) {
  if (auto* font = dynamic_cast<TFont*>(Dest)) {
    TRichCharFormat f = Get();
    font->SetName(f.Name);
    font->SetSize(f.Size);
    font->SetStyle(f.Style);
    font->SetColor(f.Color);
    font->SetCharset(f.Charset);
    return;
  }
  TPersistent::AssignTo(Dest);
}

// ============================================================================ TCustomRichEdit: lines

namespace {
// Lines load and save rich text unless the edit takes plain text.
class TRichEditStrings : public TMemoStrings {
 public:
  explicit TRichEditStrings(TCustomRichEdit* Edit) : TMemoStrings(Edit), edit_(Edit) {}

  void LoadFromStream(TStream* Stream) override {
    if (edit_->GetPlainText()) return TMemoStrings::LoadFromStream(Stream);
    int64_t size = Stream->GetSize() - Stream->GetPosition();
    AnsiString text(size_t(std::max<int64_t>(size, 0)), '\0');
    size_t got = 0;
    while (got < text.size()) {
      int32_t n = Stream->Read(text.data() + got, int32_t(std::min<size_t>(text.size() - got, 1u << 30)));
      if (n <= 0) break;
      got += size_t(n);
    }
    text.resize(got);
    edit_->SetRichText(text);
  }

  void SaveToStream(TStream* Stream) override {
    if (edit_->GetPlainText()) return TMemoStrings::SaveToStream(Stream);
    AnsiString rtf = edit_->GetRichText();
    Stream->WriteBuffer(rtf.data(), int32_t(rtf.size()));
  }

 private:
  TCustomRichEdit* edit_;
};
}  // namespace

const TClassInfo& TCustomRichEdit::ClassInfo() {
  static const TClassInfo info = TClassInfo::Of<TCustomRichEdit, TCustomMemo>("TCustomRichEdit");
  return info;
}

const TClassInfo& TRichEdit::ClassInfo() {
  static const TClassInfo info =
      TClassInfo::Of<TRichEdit, TCustomRichEdit>("TRichEdit")
          .Prop("Alignment", &TCustomMemo::GetAlignment, &TCustomMemo::SetAlignment)
          .Default(taLeftJustify)
          .Prop("BorderStyle", &TCustomEdit::GetBorderStyle, &TCustomEdit::SetBorderStyle)
          .Default(bsSingle)
          .Prop("HideSelection", &TCustomEdit::GetHideSelection, &TCustomEdit::SetHideSelection)
          .Default(true)
          .Object("Lines", &TCustomMemo::GetLines, &TCustomMemo::SetLines)
          .Prop("MaxLength", &TCustomEdit::GetMaxLength, &TCustomEdit::SetMaxLength)
          .Default(0)
          .Prop("PlainText", &TCustomRichEdit::GetPlainText, &TCustomRichEdit::SetPlainText)
          .Default(false)
          .Prop("ReadOnly", &TCustomEdit::GetReadOnly, &TCustomEdit::SetReadOnly)
          .Default(false)
          .Prop("ScrollBars", &TCustomMemo::GetScrollBars, &TCustomMemo::SetScrollBars)
          .Default(ssNone)
          .Prop("WantReturns", &TCustomMemo::GetWantReturns, &TCustomMemo::SetWantReturns)
          .Default(true)
          .Prop("WantTabs", &TCustomMemo::GetWantTabs, &TCustomMemo::SetWantTabs)
          .Default(false)
          .Prop("WordWrap", &TCustomMemo::GetWordWrap, &TCustomMemo::SetWordWrap)
          .Default(true)
          .Event("OnChange", &TCustomEdit::OnChange)
          .Event("OnSelectionChange", &TCustomRichEdit::OnSelectionChange);
  return info;
}

namespace {
struct TRichEditRegistration {
  TRichEditRegistration() { RegisterClasses({&TRichEdit::ClassInfo()}); }
} g_richEditRegistration;
}  // namespace

TCustomRichEdit::TCustomRichEdit(TComponent* AOwner) : TCustomMemo(AOwner) {
  selAttributes_ = std::make_unique<TTextAttributes>(this, atSelected);
  defAttributes_ = std::make_unique<TTextAttributes>(this, atDefaultText);
  SetLinesObject(std::make_unique<TRichEditStrings>(this));
  TFont* font = GetFont();
  defaultFormat_ = {font->GetName(), std::clamp(std::abs(font->GetSize()), 1, kRichMaxHalfPoints / 2),
                    font->GetStyle(), font->GetColor(), font->GetCharset()};
  shadow_ = EditBuffer();
  charFormat_.assign(shadow_.size(), Intern(defaultFormat_));
}

TCustomRichEdit::~TCustomRichEdit() = default;

void TCustomRichEdit::SetRichText(const AnsiString& Rtf) {
  if (Rtf.compare(0, 5, "{\\rtf") != 0) {
    GetLines()->SetText(Rtf);
    return;
  }
  SetDocument(ReadRichText(Rtf, defaultFormat_));
}

TRichDocument TCustomRichEdit::GetDocument() {
  Sync();
  TRichDocument d;
  d.Text = EditBuffer();
  for (size_t i = 0; i < charFormat_.size(); ++i) {
    const TRichCharFormat& f = formats_[charFormat_[i]];
    if (i == 0 || charFormat_[i] != charFormat_[i - 1])
      d.Runs.push_back({1, f});
    else
      ++d.Runs.back().Length;
  }
  return d;
}

void TCustomRichEdit::SetDocument(const TRichDocument& Doc) {
  SetText(Doc.Text);
  Sync();
  const size_t n = EditBuffer().size();
  size_t pos = 0;
  for (const TRichRun& r : Doc.Runs) {
    uint32_t idx = Intern(r.Format);
    for (int32_t k = 0; k < r.Length && pos < n; ++k) charFormat_[pos++] = idx;
  }
  FormatChanged();
}

// Measures characters of the rich edit in their formats on one device; selects fonts into it
// and gives the device its font back at the end.
class TRichMeasure {
 public:
  TRichMeasure(HDC DC, const AnsiString& Text, const std::vector<TRichCharFormat>& Formats,
               const std::vector<uint32_t>& CharFormat, uint32_t Fallback)
      : dc_(DC), text_(Text), formats_(Formats), charFormat_(CharFormat), fallback_(Fallback) {
    dpi_ = GetDeviceCaps(DC, LOGPIXELSY);
    if (dpi_ <= 0) dpi_ = 96;
    oldFont_ = SelectObject(DC, Font(FormatAt(0))->GetHandle());
  }
  ~TRichMeasure() { SelectObject(dc_, oldFont_); }
  TRichMeasure(const TRichMeasure&) = delete;
  TRichMeasure& operator=(const TRichMeasure&) = delete;

  HDC DC() const { return dc_; }
  const TRichCharFormat& Format(uint32_t Idx) const { return formats_[Idx]; }
  uint32_t FormatAt(int32_t I) const {
    if (charFormat_.empty()) return fallback_;
    return charFormat_[size_t(std::clamp(I, 0, int32_t(charFormat_.size()) - 1))];
  }
  // Selects the font of format Idx into the device.
  TFont* Select(uint32_t Idx) {
    TFont* f = Font(Idx);
    SelectObject(dc_, f->GetHandle());
    return f;
  }
  // Calls Fn(a, b, idx) for each piece of one format within [S, E).
  template <class Fn>
  void ForPieces(int32_t S, int32_t E, Fn&& F) const {
    while (S < E) {
      uint32_t idx = charFormat_[size_t(S)];
      int32_t e = S + 1;
      while (e < E && charFormat_[size_t(e)] == idx) ++e;
      F(S, e, idx);
      S = e;
    }
  }
  AnsiString Shown(int32_t S, int32_t E) const {
    AnsiString s = text_.substr(size_t(S), size_t(E - S));
    std::replace(s.begin(), s.end(), '\t', ' ');
    return s;
  }
  // The width of [S, E) in one format, with that font selected.
  int32_t PieceWidth(int32_t S, int32_t E, uint32_t Idx) {
    Select(Idx);
    AnsiString s = Shown(S, E);
    SIZE size{};
    GetTextExtentPoint32A(dc_, s.data(), int(s.size()), &size);
    return size.cx;
  }
  int32_t Width(int32_t S, int32_t E) {
    int32_t w = 0;
    ForPieces(S, E, [&](int32_t a, int32_t b, uint32_t idx) { w += PieceWidth(a, b, idx); });
    return w;
  }
  TEXTMETRICA Metrics(uint32_t Idx) {
    Select(Idx);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc_, &tm);
    return tm;
  }

 private:
  TFont* Font(uint32_t Idx) {
    auto& f = fonts_[Idx];
    if (!f) {
      const TRichCharFormat& rf = formats_[Idx];
      f = std::make_unique<TFont>();
      f->SetName(rf.Name);
      f->SetHeight(-MulDiv(rf.Size, dpi_, 72));
      f->SetStyle(rf.Style);
      f->SetCharset(rf.Charset);
    }
    return f.get();
  }

  HDC dc_;
  const AnsiString& text_;
  const std::vector<TRichCharFormat>& formats_;
  const std::vector<uint32_t>& charFormat_;
  uint32_t fallback_;
  int dpi_ = 96;
  std::map<uint32_t, std::unique_ptr<TFont>> fonts_;
  HGDIOBJ oldFont_ = nullptr;
};

// ============================================================================ TCustomRichEdit: messages

void TCustomRichEdit::CreateWnd() {
  TCustomMemo::CreateWnd();
  Perform(EM_SETEVENTMASK, 0, LPARAM(ENM_CHANGE | ENM_SELCHANGE | ENM_REQUESTRESIZE));
}

void TCustomRichEdit::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CN_NOTIFY: {
      const auto* hdr = reinterpret_cast<const NMHDR*>(Message.LParam);
      if (hdr && hdr->code == EN_REQUESTRESIZE) {
        RequestSize(reinterpret_cast<const REQRESIZE*>(Message.LParam)->rc);
        return;
      }
      break;
    }
    case WM_SIZE:
    case CM_FONTCHANGED:
      TCustomMemo::Dispatch(Message);
      CheckRequestSize(false);
      return;
    default:
      break;
  }
  TCustomMemo::Dispatch(Message);
}

void TCustomRichEdit::DefaultHandler(TMessage& Message) {
  switch (Message.Msg) {
    case EM_SETEVENTMASK:
      Message.Result = LRESULT(eventMask_);
      eventMask_ = DWORD(Message.LParam);
      return;
    case EM_GETEVENTMASK:
      Message.Result = LRESULT(eventMask_);
      return;
    case EM_REQUESTRESIZE:
      CheckRequestSize(true);
      return;
    case EM_FORMATRANGE: {
      // Nothing is kept between calls, so releasing is done at once.
      Message.Result = 0;
      const auto* fr = reinterpret_cast<const FORMATRANGE*>(Message.LParam);
      if (!fr) return;
      Sync();
      const int32_t len = int32_t(EditBuffer().size());
      int32_t from = std::clamp(fr->chrg.cpMin, 0, len);
      int32_t to = fr->chrg.cpMax < 0 || fr->chrg.cpMax > len ? len : std::max(from, fr->chrg.cpMax);
      Message.Result = from;
      if (!fr->hdc) return;
      int dpiX = GetDeviceCaps(fr->hdc, LOGPIXELSX), dpiY = GetDeviceCaps(fr->hdc, LOGPIXELSY);
      if (dpiX <= 0) dpiX = 96;
      if (dpiY <= 0) dpiY = 96;
      TRect area{MulDiv(fr->rc.Left, dpiX, 1440), MulDiv(fr->rc.Top, dpiY, 1440),
                 MulDiv(fr->rc.Right, dpiX, 1440), MulDiv(fr->rc.Bottom, dpiY, 1440)};
      TRichMeasure m(fr->hdc, EditBuffer(), formats_, charFormat_, Intern(defaultFormat_));
      std::function<void(const TRichLine&)> draw;
      if (Message.WParam != 0) draw = [&](const TRichLine& L) { DrawLine(m, L, false); };
      Message.Result = Layout(m, area, from, to, true, false, draw).Next;
      return;
    }
    default:
      break;
  }
  TCustomMemo::DefaultHandler(Message);
  if (Message.Msg == WM_SETTEXT) {
    // Text set as a whole is plain text in the default format.
    shadow_ = EditBuffer();
    charFormat_.assign(shadow_.size(), Intern(defaultFormat_));
    insertAt_ = -1;
    FormatChanged();
  } else {
    Sync();
    if (textFollowed_) {
      // The formats followed the text while it was laid out, which is up to date already.
      textFollowed_ = false;
      CompactFormats();
      CheckRequestSize(false);
    }
  }
  if (AnchorIndex() != lastAnchor_ || CaretIndex() != lastCaret_) {
    lastAnchor_ = AnchorIndex();
    lastCaret_ = CaretIndex();
    if (insertAt_ != CaretIndex() || lastAnchor_ != lastCaret_) insertAt_ = -1;
    SelectionChange();
  }
}

void TCustomRichEdit::SelectionChange() { OnSelectionChange(this); }

void TCustomRichEdit::RequestSize(const TRect& /*Rect*/) {}

void TCustomRichEdit::CheckRequestSize(bool Force) {
  static bool s_requesting = false;
  if (!(eventMask_ & ENM_REQUESTRESIZE) || !HandleAllocated() || s_requesting) return;
  s_requesting = true;
  struct TDone {
    ~TDone() { s_requesting = false; }
  } done;
  Sync();
  TRect client = GetClientRect(), fr = FormatRect();
  bool wrap = (EditStyle() & ES_AUTOHSCROLL) == 0;
  // The kept lines are laid out the same way: wrapped at the formatting rectangle unless the
  // edit scrolls sideways.
  const auto& lines = LaidOut();
  int32_t height = lines.empty() ? 0 : lines.back().Top + lines.back().Height;
  int32_t widest = 0;
  for (const TRichLine& L : lines) widest = std::max(widest, L.Width);
  TRect rc{0, 0, wrap ? client.Width() : widest + (client.Width() - fr.Width()),
           height + (client.Height() - fr.Height())};
  if (!Force && requestSent_ && rc == lastRequest_) return;
  lastRequest_ = rc;
  requestSent_ = true;
  REQRESIZE req{};
  req.nmhdr.hwndFrom = Handle();
  req.nmhdr.idFrom = UINT_PTR(GetWindowLongPtr(Handle(), GWL_ID));
  req.nmhdr.code = EN_REQUESTRESIZE;
  req.rc = rc;
  // The framework hands notifications to the control that sent them as CN_NOTIFY.
  Perform(CN_NOTIFY, WPARAM(req.nmhdr.idFrom), reinterpret_cast<LPARAM>(&req));
}

// ============================================================================ TCustomRichEdit: formats

uint32_t TCustomRichEdit::Intern(const TRichCharFormat& F) {
  auto it = formatIndex_.find(F);
  if (it != formatIndex_.end()) return it->second;
  formats_.push_back(F);
  formatIndex_.emplace(F, uint32_t(formats_.size() - 1));
  return uint32_t(formats_.size() - 1);
}

void TCustomRichEdit::Sync() {
  if (SyncFormats()) FormatChanged();
}

bool TCustomRichEdit::SyncFormats() {
  const AnsiString& now = EditBuffer();
  if (now.size() == shadow_.size() && now == shadow_) return false;
  const size_t oldN = shadow_.size(), newN = now.size(), most = std::min(oldN, newN);
  size_t pre = 0;
  while (pre < most && now[pre] == shadow_[pre]) ++pre;
  size_t suf = 0;
  while (suf < most - pre && now[newN - 1 - suf] == shadow_[oldN - 1 - suf]) ++suf;
  uint32_t fill;
  if (insertAt_ >= 0 && size_t(insertAt_) == pre)
    fill = Intern(insertFormat_);
  else if (pre > 0)
    fill = charFormat_[pre - 1];
  else if (!charFormat_.empty())
    fill = charFormat_[0];
  else
    fill = Intern(defaultFormat_);
  charFormat_.erase(charFormat_.begin() + std::ptrdiff_t(pre),
                    charFormat_.begin() + std::ptrdiff_t(oldN - suf));
  charFormat_.insert(charFormat_.begin() + std::ptrdiff_t(pre), newN - pre - suf, fill);
  shadow_ = now;
  insertAt_ = -1;
  return true;
}

TRichCharFormat TCustomRichEdit::SelFormat() {
  Sync();
  int32_t a = GetSelStart(), caret = CaretIndex();
  if (GetSelLength() > 0) return formats_[charFormat_[size_t(a)]];
  if (insertAt_ == caret) return insertFormat_;
  if (caret > 0) return formats_[charFormat_[size_t(caret - 1)]];
  if (!charFormat_.empty()) return formats_[charFormat_[0]];
  return defaultFormat_;
}

template <class F>
void TCustomRichEdit::ChangeSelFormat(F&& Edit) {
  Sync();
  int32_t a = GetSelStart(), n = GetSelLength();
  if (n == 0) {
    insertFormat_ = SelFormat();
    Edit(insertFormat_);
    insertAt_ = CaretIndex();
    return;
  }
  for (int32_t i = a; i < a + n; ++i) {
    TRichCharFormat f = formats_[charFormat_[size_t(i)]];
    Edit(f);
    charFormat_[size_t(i)] = Intern(f);
  }
  FormatChanged();
}

void TCustomRichEdit::ChangeDefFormat(const TRichCharFormat& F) {
  Sync();
  uint32_t old = Intern(defaultFormat_);
  defaultFormat_ = F;
  // Text in the default format follows it.
  uint32_t now = Intern(F);
  for (uint32_t& c : charFormat_)
    if (c == old) c = now;
  FormatChanged();
}

void TCustomRichEdit::FormatChanged() {
  textFollowed_ = false;
  CompactFormats();
  InvalidateLayout();
  Invalidate();
  UpdateCaret();
  CheckRequestSize(false);
}

void TCustomRichEdit::CompactFormats() {
  if (formats_.size() >= 4096 && formats_.size() > 2 * charFormat_.size()) {
    // Formats no character uses any more go (the insertion format is made again when used).
    std::vector<TRichCharFormat> used;
    std::map<TRichCharFormat, uint32_t> index;
    for (uint32_t& c : charFormat_) {
      auto [pos, added] = index.emplace(formats_[c], uint32_t(used.size()));
      if (added) used.push_back(formats_[c]);
      c = pos->second;
    }
    formats_ = std::move(used);
    formatIndex_ = std::move(index);
  }
}

// ============================================================================ TCustomRichEdit: layout
// and painting

TCustomRichEdit::TLayoutResult TCustomRichEdit::Layout(TRichMeasure& M, TRect Area, int32_t From, int32_t To,
                                                       bool Wrap, bool Partial,
                                                       const std::function<void(const TRichLine&)>& Each) {
  const AnsiString& text = EditBuffer();
  TLayoutResult result{From, 0};
  const int32_t areaW = Area.Width();
  DWORD style = HandleAllocated() ? EditStyle() : 0;
  int32_t y = Area.Top;
  bool stopped = false;
  // One laid-out line [S, E): false when it does not fit below.
  auto line = [&](int32_t S, int32_t E) {
    int32_t ascent = 0, descent = 0;
    if (S == E) {
      TEXTMETRICA tm = M.Metrics(M.FormatAt(S > 0 ? S - 1 : S));
      ascent = tm.tmAscent;
      descent = tm.tmDescent;
    }
    M.ForPieces(S, E, [&](int32_t, int32_t, uint32_t idx) {
      TEXTMETRICA tm = M.Metrics(idx);
      ascent = std::max<int32_t>(ascent, tm.tmAscent);
      descent = std::max<int32_t>(descent, tm.tmDescent);
    });
    int32_t h = ascent + descent;
    // A line that does not fit ends the range; when painting, a part of it still shows.
    if (Partial ? y >= Area.Bottom : y + h > Area.Bottom) return false;
    int32_t w = M.Width(S, E);
    int32_t x = Area.Left;
    if (w < areaW && (style & ES_RIGHT)) x = Area.Right - w - 1;
    if (w < areaW && (style & ES_CENTER)) x = Area.Left + (areaW - w) / 2;
    if (Each) Each(TRichLine{S, E, x, y, h, ascent, w});
    y += h;
    return true;
  };
  auto widthOf = [&M](int32_t S, int32_t E) { return M.Width(S, E); };
  int32_t ls = From;
  for (;;) {
    int32_t le = ls;
    while (le < To && text[size_t(le)] != '\r' && text[size_t(le)] != '\n') ++le;
    int32_t pos = ls;
    do {
      int32_t e = le;
      if (Wrap && areaW > 0 && M.Width(pos, le) > areaW) e = WrapPoint(text, pos, le, areaW, widthOf);
      if (!line(pos, e)) {
        stopped = true;
        break;
      }
      pos = e;
      result.Next = pos;
    } while (pos < le);
    if (stopped) break;
    if (le >= To) {
      result.Next = To;
      break;
    }
    ls = le + (text[size_t(le)] == '\r' && le + 1 < To && text[size_t(le + 1)] == '\n' ? 2 : 1);
    result.Next = ls;
    // A break at the very end starts one more, empty line.
    if (ls >= To) {
      if (ls == int32_t(text.size()) && line(ls, ls)) result.Next = To;
      break;
    }
  }
  result.Height = y - Area.Top;
  return result;
}

void TCustomRichEdit::DrawLine(TRichMeasure& M, const TRichLine& L, bool ShowSel) {
  HDC dc = M.DC();
  int32_t selA = GetSelStart(), selB = selA + GetSelLength();
  int32_t x = L.Left;
  SetBkMode(dc, TRANSPARENT);
  M.ForPieces(L.Start, L.End, [&](int32_t a, int32_t b, uint32_t idx) {
    // Split once more where the selection starts and ends.
    for (int32_t p = a; p < b;) {
      bool sel = ShowSel && p >= selA && p < selB;
      int32_t q = b;
      if (ShowSel) {
        if (p < selA && selA < b) q = selA;
        if (sel && selB < b) q = selB;
      }
      int32_t w = M.PieceWidth(p, q, idx);
      TEXTMETRICA tm{};
      GetTextMetricsA(dc, &tm);
      TColor color = !Enabled() ? clGrayText : sel ? clHighlightText : M.Format(idx).Color;
      if (sel) {
        HBRUSH brush = CreateSolidBrush(COLORREF(ColorToRGB(clHighlight)));
        RECT r{x, L.Top, x + w, L.Top + L.Height};
        FillRect(dc, &r, brush);
        DeleteObject(brush);
      }
      SetTextColor(dc, COLORREF(ColorToRGB(color)));
      AnsiString s = M.Shown(p, q);
      TextOutA(dc, x, L.Top + L.Ascent - tm.tmAscent, s.data(), int(s.size()));
      x += w;
      p = q;
    }
  });
}

const std::vector<TCustomRichEdit::TRichLine>& TCustomRichEdit::LaidOut() {
  // The memo lays its lines out through BreakLines, which keeps them here.
  Lines();
  return layout_;
}

TCustomRichEdit::TView TCustomRichEdit::View() {
  const auto& lines = LaidOut();
  TRect fr = FormatRect();
  TView v;
  v.X = fr.Left;
  v.Width = fr.Width();
  v.Aligns = (EditStyle() & (ES_RIGHT | ES_CENTER)) != 0;
  if (!lines.empty()) v.Y = fr.Top - lines[size_t(std::clamp(TopLine(), 0, int32_t(lines.size()) - 1))].Top;
  return v;
}

TCustomRichEdit::TRichLine TCustomRichEdit::ShownLine(const TView& V, size_t I) const {
  TRichLine L = layout_[I];
  L.Top += V.Y;
  // Right and centred lines narrower than the view stay put; the others scroll sideways.
  L.Left += V.X - (V.Aligns && L.Width < V.Width ? 0 : XOffset());
  return L;
}

size_t TCustomRichEdit::LineHolding(const std::vector<TRichLine>& Lines, int32_t Index) {
  auto it = std::upper_bound(Lines.begin(), Lines.end(), Index,
                             [](int32_t i, const TRichLine& l) { return i < l.Start; });
  return it == Lines.begin() ? 0 : size_t(it - Lines.begin()) - 1;
}

void TCustomRichEdit::BreakLines(std::vector<TLine>& Out, int32_t Width, bool Wrap) {
  // The change is told after the message: telling it now would lay the text out once more.
  if (SyncFormats()) textFollowed_ = true;
  TRichMeasure m(MeasureDC(), EditBuffer(), formats_, charFormat_, Intern(defaultFormat_));
  constexpr int32_t kFar = 1 << 28;
  std::vector<TRichLine> lines;
  Layout(m, TRect{0, 0, Width, kFar}, 0, int32_t(EditBuffer().size()), Wrap, false, [&](const TRichLine& L) {
    lines.push_back(L);
    Out.push_back({L.Start, L.End - L.Start});
  });
  layout_ = std::move(lines);
}

int32_t TCustomRichEdit::PageLines(int32_t First, bool Down) {
  const auto& lines = LaidOut();
  if (lines.empty()) return TCustomMemo::PageLines(First, Down);
  const int32_t count = int32_t(lines.size()), room = FormatRect().Height(), step = Down ? 1 : -1;
  int32_t n = 0, used = 0, i = Down ? First : First - 1;
  for (; i >= 0 && i < count; i += step) {
    used += std::max(1, lines[size_t(i)].Height);
    if (used > room) return std::max(1, n);
    ++n;
  }
  // Beyond the text the edge line's height goes on, so a page near an end is still a page.
  n += std::max(0, room - used) / std::max(1, lines[i < 0 ? 0 : size_t(count - 1)].Height);
  return std::max(1, n);
}

int32_t TCustomRichEdit::LineWidth(int32_t Line, int32_t Length) {
  const TRichLine& L = LaidOut()[size_t(Line)];
  if (Length >= L.End - L.Start) return L.Width;
  TRichMeasure m(MeasureDC(), EditBuffer(), formats_, charFormat_, Intern(defaultFormat_));
  return m.Width(L.Start, L.Start + std::max(0, Length));
}

TCustomRichEdit::TRichLine TCustomRichEdit::CaretBox(int32_t Index, TPoint& At) {
  Sync();
  const auto& lines = LaidOut();
  if (lines.empty()) {
    At = FormatRect().TopLeft();
    return {};
  }
  size_t i = LineHolding(lines, Index);
  const TRichLine L = ShownLine(View(), i);
  At = {L.Left + LineWidth(int32_t(i), std::clamp(Index, L.Start, L.End) - L.Start), L.Top};
  return L;
}

TPoint TCustomRichEdit::PosFromChar(int32_t Index) {
  TPoint at;
  CaretBox(Index, at);
  return at;
}

int32_t TCustomRichEdit::CaretHeight(int32_t Index) {
  TPoint at;
  return std::max(1, CaretBox(Index, at).Height);
}

int32_t TCustomRichEdit::CharFromPos(TPoint P) {
  Sync();
  const auto& lines = LaidOut();
  if (lines.empty()) return 0;
  const TView v = View();
  size_t i;
  if (P.Y < FormatRect().Top) {
    // Above the view is the line just above it, as in the memo (dragging there scrolls by lines).
    i = size_t(std::clamp(TopLine() - 1, 0, int32_t(lines.size()) - 1));
  } else {
    auto it = std::upper_bound(lines.begin(), lines.end(), P.Y - v.Y,
                               [](int32_t y, const TRichLine& l) { return y < l.Top; });
    i = it == lines.begin() ? 0 : size_t(it - lines.begin()) - 1;
  }
  const TRichLine L = ShownLine(v, i);
  TRichMeasure m(MeasureDC(), EditBuffer(), formats_, charFormat_, Intern(defaultFormat_));
  return L.Start + NearestBoundary(P.X - L.Left, L.End - L.Start,
                                   [&](int32_t k) { return m.Width(L.Start, L.Start + k); });
}

void TCustomRichEdit::PaintWindow(HDC DC) {
  Sync();
  TRect client = GetClientRect();
  HBRUSH brush = CreateSolidBrush(COLORREF(ColorToRGB(GetColor())));
  RECT cr = client;
  FillRect(DC, &cr, brush);
  DeleteObject(brush);
  TRect fr = FormatRect();
  int save = SaveDC(DC);
  IntersectClipRect(DC, fr.Left, fr.Top, fr.Right, fr.Bottom);
  bool showSel = GetSelLength() > 0 && (Focused() || (EditStyle() & ES_NOHIDESEL));
  {
    const auto& lines = LaidOut();
    const TView v = View();
    TRichMeasure m(DC, EditBuffer(), formats_, charFormat_, Intern(defaultFormat_));
    // From the first line in view down to the first that starts below it.
    for (size_t i = size_t(std::clamp(TopLine(), 0, std::max(0, int32_t(lines.size()) - 1)));
         i < lines.size(); ++i) {
      const TRichLine L = ShownLine(v, i);
      if (L.Top >= fr.Bottom) break;
      DrawLine(m, L, showSel);
    }
  }
  RestoreDC(DC, save);
}
