// Sections: text to binary (tokens, grammar) / binary to text / reading definitions.
#include "platform/runtime/FormText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>
#include <optional>

#include "platform/runtime/Component.h"
#include "platform/runtime/Exceptions.h"
#include "platform/runtime/Resources.h"
#include "platform/runtime/Streams.h"
#include "platform/runtime/Strings.h"
#include "platform/runtime/TypInfo.h"

namespace {

constexpr const char* kEol = "\r\n";
constexpr size_t kStringChunk = 64;  // characters of a string per text line
constexpr size_t kBinaryChunk = 32;  // bytes of binary data per text line
constexpr int kMaxNesting = TReader::MaxNesting;

// Where in the binary form each text line's object header or property begins.
struct LineMark {
  int64_t pos;
  int32_t line;
};

AnsiString Located(const AnsiString& source, int32_t line, const AnsiString& message) {
  AnsiString where = source.empty() ? "Line " + IntToStr(line) : source + " line " + IntToStr(line);
  return where + ": " + message;
}

// ============================================================================================
// text to binary: tokens
// ============================================================================================

enum class Tok { End, Symbol, String, Integer, Float, Char };

class Lexer {
 public:
  explicit Lexer(std::string_view text) : text_(text) { Next(); }

  Tok kind = Tok::End;
  AnsiString symbol;     // Symbol
  std::u16string codes;  // String: the characters, each below 0x10000
  int64_t integer = 0;   // Integer
  long double real = 0;  // Float
  char suffix = 0;       // Float: 's', 'c', 'd' or 0
  char ch = 0;           // Char
  int32_t line = 1;      // of the current token

  [[noreturn]] void Error(const AnsiString& message) const { throw LexError{line, message}; }
  struct LexError {
    int32_t line;
    AnsiString message;
  };

  bool IsSymbol(const char* s) const { return kind == Tok::Symbol && SameText(symbol, s); }
  bool IsChar(char c) const { return kind == Tok::Char && ch == c; }
  void Expect(char c) const {
    if (!IsChar(c)) Error(AnsiString("'") + c + "' expected but " + Found() + " found");
  }
  void ExpectSymbol() const {
    if (kind != Tok::Symbol) Error("Identifier expected but " + Found() + " found");
  }
  void ExpectInteger() const {
    if (kind != Tok::Integer) Error("Integer expected but " + Found() + " found");
  }
  AnsiString Found() const {
    switch (kind) {
      case Tok::End:
        return "end of file";
      case Tok::Symbol:
        return "'" + symbol + "'";
      case Tok::String:
        return "a string";
      case Tok::Integer:
      case Tok::Float:
        return "a number";
      case Tok::Char:
        return AnsiString("'") + ch + "'";
    }
    return "";
  }

  void Next() {
    SkipBlanks();
    line = line_;
    if (pos_ >= text_.size()) {
      kind = Tok::End;
      return;
    }
    char c = text_[pos_];
    if (IsAlpha(c)) {
      size_t start = pos_;
      while (pos_ < text_.size() && (IsAlpha(text_[pos_]) || IsDigit(text_[pos_]))) ++pos_;
      kind = Tok::Symbol;
      symbol.assign(text_.substr(start, pos_ - start));
    } else if (c == '\'' || c == '#') {
      ReadString();
    } else if (IsDigit(c) || c == '$' ||
               (c == '-' && pos_ + 1 < text_.size() &&
                (IsDigit(text_[pos_ + 1]) || text_[pos_ + 1] == '$'))) {
      ReadNumber();
    } else {
      kind = Tok::Char;
      ch = c;
      ++pos_;
    }
  }

  // The hexadecimal digits after '{' up to '}' (blanks and line ends allowed); leaves the
  // token after '}' current.
  AnsiString ReadBinary() {
    AnsiString bytes;
    int half = -1;
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size()) Error("'}' expected but end of file found");
      char c = text_[pos_++];
      if (c == '}') break;
      int v = HexValue(c);
      if (v < 0) Error(AnsiString("Invalid binary data: '") + c + "'");
      if (half < 0) {
        half = v;
      } else {
        bytes += char(half * 16 + v);
        half = -1;
      }
    }
    if (half >= 0) Error("Invalid binary data: odd number of digits");
    Next();
    return bytes;
  }

 private:
  static bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  static int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && uint8_t(text_[pos_]) <= ' ') {
      char c = text_[pos_++];
      if (c == '\n' || (c == '\r' && (pos_ >= text_.size() || text_[pos_] != '\n'))) ++line_;
    }
  }

  void ReadString() {
    kind = Tok::String;
    codes.clear();
    while (pos_ < text_.size()) {
      char c = text_[pos_];
      if (c == '\'') {
        ++pos_;
        for (;;) {
          if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
            Error("Unterminated string");
          char q = text_[pos_++];
          if (q == '\'') {
            if (pos_ < text_.size() && text_[pos_] == '\'') {
              codes += u'\'';
              ++pos_;
              continue;
            }
            break;
          }
          codes += char16_t(uint8_t(q));
        }
      } else if (c == '#') {
        ++pos_;
        bool hex = pos_ < text_.size() && text_[pos_] == '$';
        if (hex) ++pos_;
        size_t start = pos_;
        uint32_t value = 0;
        while (pos_ < text_.size() && (hex ? HexValue(text_[pos_]) >= 0 : IsDigit(text_[pos_])) &&
               value <= 0xFFFF)
          value = value * (hex ? 16 : 10) + uint32_t(HexValue(text_[pos_++]));
        if (pos_ == start || value > 0xFFFF) Error("Invalid character code");
        codes += char16_t(value);
      } else {
        break;
      }
    }
  }

  void ReadNumber() {
    size_t start = pos_;
    bool negative = text_[pos_] == '-';
    if (negative) ++pos_;
    if (text_[pos_] == '$') {
      ++pos_;
      size_t digits = pos_;
      uint64_t v = 0;
      while (pos_ < text_.size() && HexValue(text_[pos_]) >= 0) {
        if (v >> 60) Error("Number too large");
        v = v * 16 + uint64_t(HexValue(text_[pos_++]));
      }
      if (pos_ == digits) Error("Invalid number");
      kind = Tok::Integer;
      // Unsigned negation: -$8000000000000000 is the lowest Int64, without overflow.
      integer = int64_t(negative ? 0 - v : v);
      return;
    }
    bool isFloat = false;
    while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      isFloat = true;
      ++pos_;
      while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    }
    if (pos_ < text_.size() && (text_[pos_] == 'e' || text_[pos_] == 'E') && pos_ + 1 < text_.size() &&
        (IsDigit(text_[pos_ + 1]) || ((text_[pos_ + 1] == '+' || text_[pos_ + 1] == '-') &&
                                      pos_ + 2 < text_.size() && IsDigit(text_[pos_ + 2])))) {
      isFloat = true;
      pos_ += 2;
      while (pos_ < text_.size() && IsDigit(text_[pos_])) ++pos_;
    }
    std::string number(text_.substr(start, pos_ - start));
    // from_chars takes no '+' in the exponent's place of a leading sign only; both are fine here.
    const char* first = number.data();
    const char* last = number.data() + number.size();
    suffix = 0;
    if (isFloat) {
      long double v;
      auto [ptr, ec] = std::from_chars(first, last, v);
      if (ec == std::errc::result_out_of_range) ec = BelowNormalRange(number, v, ptr);
      if (ec != std::errc() || ptr != last) Error("Invalid number " + number);
      kind = Tok::Float;
      real = v;
      if (pos_ < text_.size()) {
        char s = char(text_[pos_] | 0x20);
        if ((s == 's' || s == 'c' || s == 'd') && (pos_ + 1 >= text_.size() || !IsAlpha(text_[pos_ + 1]))) {
          suffix = s;
          ++pos_;
        }
      }
    } else {
      auto [ptr, ec] = std::from_chars(first, last, integer);
      if (ec != std::errc() || ptr != last) Error("Invalid number " + number);
      kind = Tok::Integer;
    }
  }

  // from_chars refuses values below the normal range, though extended values written as text
  // may be that small; strtold in the C locale reads them exactly. Values too large stay refused.
  static std::errc BelowNormalRange(const std::string& number, long double& v, const char*& end) {
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    char* stop = nullptr;
    v = strtold_l(number.c_str(), &stop, cLocale);
    end = stop;
    return std::isinf(v) ? std::errc::result_out_of_range : std::errc();
  }

  std::string_view text_;
  size_t pos_ = 0;
  int32_t line_ = 1;
};

// ============================================================================================
// text to binary: grammar
// ============================================================================================

class TextConverter {
 public:
  TextConverter(std::string_view text, TStream* output, std::vector<LineMark>* marks)
      : lex_(text), writer_(output), marks_(marks) {}

  void Run() {
    writer_.WriteSignature();
    ConvertObject();
    if (lex_.kind != Tok::End) lex_.Error("End of file expected but " + lex_.Found() + " found");
  }
  int32_t Line() const { return lex_.line; }

 private:
  void Mark() {
    if (marks_) marks_->push_back({writer_.Position(), lex_.line});
  }
  void Enter() {
    if (++depth_ > kMaxNesting) lex_.Error("Nesting too deep");
  }

  void ConvertObject() {
    Enter();
    bool inherited = lex_.IsSymbol("inherited"), isInline = lex_.IsSymbol("inline");
    if (!inherited && !isInline && !lex_.IsSymbol("object"))
      lex_.Error("'object' expected but " + lex_.Found() + " found");
    int32_t headerLine = lex_.line;
    Mark();
    lex_.Next();
    lex_.ExpectSymbol();
    AnsiString name, className = lex_.symbol;
    lex_.Next();
    if (lex_.IsChar(':')) {
      lex_.Next();
      lex_.ExpectSymbol();
      name = className;
      className = lex_.symbol;
      lex_.Next();
    }
    TFilerFlags flags;
    int32_t position = 0;
    if (lex_.IsChar('[')) {
      lex_.Next();
      lex_.ExpectInteger();
      if (lex_.integer < INT32_MIN || lex_.integer > INT32_MAX) lex_.Error("Invalid child position");
      position = int32_t(lex_.integer);
      lex_.Next();
      lex_.Expect(']');
      lex_.Next();
      flags.Include(ffChildPos);
    }
    if (inherited) flags.Include(ffInherited);
    if (isInline) flags.Include(ffInline);
    writer_.WriteComponentHeader(flags, position, className, name);
    while (!IsObjectStart() && !lex_.IsSymbol("end")) {
      CheckClosed(headerLine, name.empty() ? className : name);
      ConvertProperty();
    }
    writer_.WriteListEnd();
    while (!lex_.IsSymbol("end")) {
      CheckClosed(headerLine, name.empty() ? className : name);
      ConvertObject();
    }
    writer_.WriteListEnd();
    lex_.Next();
    --depth_;
  }

  // A missing "end" is reported where the object that lacks it begins, not at the end of the text.
  void CheckClosed(int32_t headerLine, const AnsiString& name) const {
    if (lex_.kind == Tok::End)
      throw Lexer::LexError{headerLine, "'end' of object " + name + " expected but end of file found"};
  }

  bool IsObjectStart() const {
    return lex_.IsSymbol("object") || lex_.IsSymbol("inherited") || lex_.IsSymbol("inline");
  }

  void ConvertProperty() {
    if (lex_.kind == Tok::End) lex_.Error("'end' expected but end of file found");
    lex_.ExpectSymbol();
    Mark();
    AnsiString name = DottedSymbol();
    writer_.WriteStr(name);
    lex_.Expect('=');
    lex_.Next();
    ConvertValue();
  }

  AnsiString DottedSymbol() {
    AnsiString name = lex_.symbol;
    lex_.Next();
    while (lex_.IsChar('.')) {
      lex_.Next();
      lex_.ExpectSymbol();
      name += "." + lex_.symbol;
      lex_.Next();
    }
    return name;
  }

  // inList: a list element, where vaNull would end the list.
  void ConvertValue(bool inList = false) {
    Enter();
    switch (lex_.kind) {
      case Tok::String:
        ConvertString();
        break;
      case Tok::Symbol:
        if (lex_.IsSymbol("NAN") || lex_.IsSymbol("INF")) {
          writer_.WriteFloat(lex_.IsSymbol("NAN") ? std::numeric_limits<long double>::quiet_NaN()
                                                  : std::numeric_limits<long double>::infinity());
          lex_.Next();
        } else {
          AnsiString ident = DottedSymbol();
          if (inList && SameText(ident, "Null")) {
            writer_.WriteValue(vaIdent);
            writer_.WriteStr(ident);
          } else {
            writer_.WriteIdent(ident);
          }
        }
        break;
      case Tok::Integer:
        writer_.WriteInteger(lex_.integer);
        lex_.Next();
        break;
      case Tok::Float:
        switch (lex_.suffix) {
          case 's':
            writer_.WriteSingle(float(lex_.real));
            break;
          case 'c':
            writer_.WriteCurrency(double(lex_.real));
            break;
          case 'd':
            writer_.WriteDate(double(lex_.real));
            break;
          default:
            writer_.WriteFloat(lex_.real);
        }
        lex_.Next();
        break;
      case Tok::Char:
        ConvertBracketed();
        break;
      case Tok::End:
        lex_.Error("Property value expected but end of file found");
    }
    --depth_;
  }

  void ConvertString() {
    std::u16string codes = lex_.codes;
    lex_.Next();
    while (lex_.IsChar('+')) {
      lex_.Next();
      if (lex_.kind != Tok::String) lex_.Error("String expected but " + lex_.Found() + " found");
      codes += lex_.codes;
      lex_.Next();
    }
    bool wide = false;
    for (char16_t c : codes) wide |= c > 255;
    if (wide) {
      writer_.WriteWideString(codes);
    } else {
      AnsiString bytes(codes.size(), '\0');
      for (size_t i = 0; i < codes.size(); ++i) bytes[i] = char(codes[i]);
      writer_.WriteString(bytes);
    }
  }

  void ConvertBracketed() {
    switch (lex_.ch) {
      case '[':
        lex_.Next();
        writer_.WriteValue(vaSet);
        while (!lex_.IsChar(']')) {
          lex_.ExpectSymbol();
          writer_.WriteStr(lex_.symbol);
          lex_.Next();
          if (lex_.IsChar(']')) break;
          lex_.Expect(',');
          lex_.Next();
        }
        lex_.Next();
        writer_.WriteStr("");
        break;
      case '(':
        lex_.Next();
        writer_.WriteListBegin();
        while (!lex_.IsChar(')')) {
          if (lex_.kind == Tok::End) lex_.Error("')' expected but end of file found");
          ConvertValue(true);
        }
        lex_.Next();
        writer_.WriteListEnd();
        break;
      case '{': {
        AnsiString bytes = lex_.ReadBinary();
        writer_.WriteBinary(bytes.data(), int32_t(bytes.size()));
        break;
      }
      case '<':
        lex_.Next();
        writer_.WriteValue(vaCollection);
        while (!lex_.IsChar('>')) {
          if (!lex_.IsSymbol("item")) lex_.Error("'item' expected but " + lex_.Found() + " found");
          Mark();
          lex_.Next();
          if (lex_.IsChar('[')) {
            lex_.Next();
            lex_.ExpectInteger();
            writer_.WriteInteger(lex_.integer);
            lex_.Next();
            lex_.Expect(']');
            lex_.Next();
          }
          writer_.WriteListBegin();
          while (!lex_.IsSymbol("end")) ConvertProperty();
          writer_.WriteListEnd();
          lex_.Next();
        }
        lex_.Next();
        writer_.WriteListEnd();
        break;
      case '-':
        lex_.Next();
        if (!lex_.IsSymbol("INF")) lex_.Error("Number expected but " + lex_.Found() + " found");
        writer_.WriteFloat(-std::numeric_limits<long double>::infinity());
        lex_.Next();
        break;
      default:
        lex_.Error("Property value expected but " + lex_.Found() + " found");
    }
  }

  Lexer lex_;
  TWriter writer_;
  std::vector<LineMark>* marks_;
  int depth_ = 0;
};

// Converts, raising EReadError "<source> line N: ..." (or "Line N: ...") on malformed text.
void TextToBinary(std::string_view text, TStream* output, std::vector<LineMark>* marks,
                  const AnsiString& source) {
  // Built inside the try: the lexer reads the first token while it is built.
  std::optional<TextConverter> converter;
  try {
    converter.emplace(text, output, marks);
    converter->Run();
  } catch (const Lexer::LexError& e) {
    throw EReadError(Located(source, e.line, e.message));
  } catch (const Exception& e) {  // e.g. a name too long to store
    throw EReadError(Located(source, converter ? converter->Line() : 1, e.Message));
  }
}

// ============================================================================================
// binary to text
// ============================================================================================

AnsiString FloatText(long double v, char suffix) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  char buf[64];
  std::to_chars_result r;
  if (suffix == 's')
    r = std::to_chars(buf, buf + sizeof buf, float(v));
  else if (suffix == 'd' || suffix == 'c')
    r = std::to_chars(buf, buf + sizeof buf, double(v));
  else
    r = std::to_chars(buf, buf + sizeof buf, v);
  AnsiString text;
  for (const char* p = buf; p != r.ptr; ++p) {
    if (*p == 'e') {
      text += 'E';
      if (p[1] == '+') ++p;
    } else {
      text += *p;
    }
  }
  // Keep it a float when read back: "1" would be an integer.
  if (text.find_first_of(".E") == AnsiString::npos) {
    size_t e = text.find('E');
    text.insert(e == AnsiString::npos ? text.size() : e, ".0");
  }
  return suffix ? text + suffix : text;
}

class BinaryConverter {
 public:
  explicit BinaryConverter(TStream* input) : reader_(input) {}

  AnsiString Run() {
    reader_.ReadSignature();
    ConvertObject(0);
    return out_;
  }

 private:
  static AnsiString Indent(int level) { return AnsiString(size_t(level) * 2, ' '); }

  // Names go into the text unquoted, so one that is not an identifier (or a dotted path of
  // identifiers, for properties) would make text that no longer converts back.
  static const AnsiString& Checked(const AnsiString& name, bool dotted, const char* what) {
    bool ok = !name.empty();
    for (size_t start = 0; ok && start <= name.size();) {
      size_t dot = dotted ? name.find('.', start) : AnsiString::npos;
      if (dot == AnsiString::npos) dot = name.size();
      ok = IsValidIdent(name.substr(start, dot - start));
      start = dot + 1;
    }
    if (!ok) throw EReadError(AnsiString("Invalid ") + what + " name in binary definition");
    return name;
  }

  void ConvertObject(int level) {
    if (level > kMaxNesting) throw EReadError("Nesting too deep");
    TFilerFlags flags;
    int32_t position = 0;
    reader_.ReadPrefix(flags, position);
    AnsiString className = Checked(reader_.ReadStr(), false, "class");
    AnsiString name = reader_.ReadStr();
    if (!name.empty()) Checked(name, false, "component");
    out_ += Indent(level);
    out_ += flags.Contains(ffInherited) ? "inherited " : flags.Contains(ffInline) ? "inline " : "object ";
    if (!name.empty()) out_ += name + ": ";
    out_ += className;
    if (flags.Contains(ffChildPos)) out_ += " [" + IntToStr(position) + "]";
    out_ += kEol;
    while (!reader_.EndOfList()) ConvertProperty(level + 1);
    reader_.ReadListEnd();
    while (!reader_.EndOfList()) ConvertObject(level + 1);
    reader_.ReadListEnd();
    out_ += Indent(level) + "end" + kEol;
  }

  void ConvertProperty(int level) {
    out_ += Indent(level) + Checked(reader_.ReadStr(), true, "property") + " = ";
    ConvertValue(level);
    out_ += kEol;
  }

  void ConvertValue(int level) {
    if (level > kMaxNesting) throw EReadError("Nesting too deep");
    switch (reader_.NextValue()) {
      case vaList:
        reader_.ReadValue();
        out_ += "(";
        while (!reader_.EndOfList()) {
          out_ += kEol + Indent(level + 1);
          ConvertValue(level + 1);
        }
        reader_.ReadListEnd();
        out_ += ")";
        break;
      case vaInt8:
      case vaInt16:
      case vaInt32:
      case vaInt64:
        out_ += IntToStr(reader_.ReadInt64());
        break;
      case vaExtended:
        out_ += FloatText(reader_.ReadFloat(), 0);
        break;
      case vaSingle:
        out_ += FloatText(reader_.ReadFloat(), 's');
        break;
      case vaCurrency:
        out_ += FloatText(reader_.ReadFloat(), 'c');
        break;
      case vaDate:
        out_ += FloatText(reader_.ReadFloat(), 'd');
        break;
      case vaString:
      case vaLString: {
        std::u16string codes;
        for (char c : reader_.ReadString()) codes += char16_t(uint8_t(c));
        StringText(codes, level);
        break;
      }
      case vaWString:
      case vaUTF8String:
        StringText(reader_.ReadWideString(), level);
        break;
      case vaBinary: {
        AnsiString bytes = reader_.ReadBinary();
        out_ += "{";
        for (size_t i = 0; i < bytes.size(); ++i) {
          if (i % kBinaryChunk == 0) out_ += kEol + Indent(level + 1);
          out_ += IntToHex(uint8_t(bytes[i]), 2);
        }
        out_ += "}";
        break;
      }
      case vaSet: {
        reader_.ReadValue();
        out_ += "[";
        bool first = true;
        for (AnsiString name = reader_.ReadStr(); !name.empty(); name = reader_.ReadStr()) {
          if (!first) out_ += ", ";
          out_ += Checked(name, false, "set element");
          first = false;
        }
        out_ += "]";
        break;
      }
      case vaCollection:
        reader_.ReadValue();
        out_ += "<";
        while (!reader_.EndOfList()) {
          out_ += kEol + Indent(level + 1) + "item";
          TValueType next = reader_.NextValue();
          if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64)
            out_ += " [" + IntToStr(reader_.ReadInt64()) + "]";
          out_ += kEol;
          reader_.ReadListBegin();
          while (!reader_.EndOfList()) ConvertProperty(level + 2);
          reader_.ReadListEnd();
          out_ += Indent(level + 1) + "end";
        }
        reader_.ReadListEnd();
        out_ += ">";
        break;
      default:
        out_ += Checked(reader_.ReadIdent(), true, "value");
        break;
    }
  }

  // Quoted runs of printable ASCII, #nn for every other character (the quote included), in
  // lines of kStringChunk characters joined with " +".
  void StringText(const std::u16string& codes, int level) {
    if (codes.empty()) {
      out_ += "''";
      return;
    }
    if (codes.size() > kStringChunk) out_ += kEol + Indent(level + 1);
    bool quoted = false;
    for (size_t i = 0; i < codes.size(); ++i) {
      if (i > 0 && i % kStringChunk == 0) {
        if (quoted) out_ += "'";
        quoted = false;
        out_ += AnsiString(" +") + kEol + Indent(level + 1);
      }
      char16_t c = codes[i];
      if (c >= 32 && c < 127 && c != '\'') {
        if (!quoted) out_ += "'";
        quoted = true;
        out_ += char(c);
      } else {
        if (quoted) out_ += "'";
        quoted = false;
        out_ += "#" + IntToStr(c);
      }
    }
    if (quoted) out_ += "'";
  }

  TReader reader_;
  AnsiString out_;
};

// ============================================================================================
// reading definitions
// ============================================================================================

// One definition in the binary form, with the text lines its parts came from.
struct Definition {
  AnsiString source;
  TMemoryStream binary;
  std::vector<LineMark> marks;

  Definition(std::string_view data, const AnsiString& sourceName) : source(sourceName) {
    if (data.size() >= 4 && std::memcmp(data.data(), "TPF0", 4) == 0)
      binary.Write(data.data(), int32_t(data.size()));
    else
      TextToBinary(data, &binary, &marks, source);
  }

  TComponent* Read(TComponent* instance, TReadSession* session) {
    binary.SetPosition(0);
    TReader reader(&binary);
    try {
      return reader.ReadRootComponent(instance, session);
    } catch (const EReadError& e) {
      if (reader.ErrorPosition() < 0 || marks.empty())
        throw EReadError(source.empty() ? e.Message : source + ": " + e.Message);
      int32_t line = marks.front().line;
      for (const LineMark& m : marks)
        if (m.pos <= reader.ErrorPosition()) line = m.line;
      throw EReadError(Located(source, line, e.Message));
    }
  }
};

}  // namespace

void ObjectTextToBinary(TStream* Input, TStream* Output) {
  int64_t size = std::max<int64_t>(Input->Size() - Input->Position(), 0);
  if (size > INT32_MAX) throw EReadError("Definition too large");
  AnsiString text(size_t(size), '\0');
  Input->ReadBuffer(text.data(), int32_t(text.size()));
  TextToBinary(text, Output, nullptr, "");
}

void ObjectBinaryToText(TStream* Input, TStream* Output) {
  AnsiString text = BinaryConverter(Input).Run();
  Output->WriteBuffer(text.data(), int32_t(text.size()));
}

AnsiString ObjectTextToBinary(const AnsiString& Text) {
  TStringStream output;
  TextToBinary(Text, &output, nullptr, "");
  return output.DataString();
}

AnsiString ObjectBinaryToText(const AnsiString& Binary) {
  TStringStream input(Binary);
  return BinaryConverter(&input).Run();
}

TComponent* ReadComponentText(const AnsiString& Text, TComponent* Instance, const AnsiString& SourceName) {
  Definition definition(Text, SourceName);
  return definition.Read(Instance, nullptr);
}

TComponent* ReadComponentRes(const AnsiString& ResName, TComponent* Instance) {
  const std::string_view* data = FindResourceData(RT_RCDATA, ResName);
  if (!data) throw EResNotFound("Resource " + ResName + " not found");
  Definition definition(*data, ResName);
  TComponent* root = definition.Read(Instance, nullptr);
  AddGlobalComponent(root);
  return root;
}

bool InitInheritedComponent(TComponent* Instance, const TClassInfo& RootAncestor) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = &Instance->ClassType(); c && c != &RootAncestor; c = c->Parent())
    chain.push_back(c);
  TReadSession session;
  bool found = false;
  try {
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
      const std::string_view* data = FindResourceData(RT_RCDATA, (*it)->Name());
      if (!data) continue;
      Definition definition(*data, (*it)->Name());
      definition.Read(Instance, &session);
      found = true;
    }
  } catch (...) {
    session.Abort();
    throw;
  }
  session.Finish();
  if (found) AddGlobalComponent(Instance);
  return found;
}

AnsiString WriteComponentText(TComponent* Instance) {
  TStringStream binary;
  WriteComponent(&binary, Instance);
  binary.SetPosition(0);
  return BinaryConverter(&binary).Run();
}
