#include "platform/runtime/MaskUtils.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Strings.h"

namespace {

enum class CaseMode { None, Upper, Lower };

struct MaskItem {
  bool placeholder;
  char literal;
  CaseMode caseMode;
};

struct ParsedMask {
  std::vector<MaskItem> items;
  bool blanksFirst = false;
  bool saveLiterals = true;
  char blank = '_';
};

ParsedMask ParseMask(const AnsiString& mask, const TFormatSettings& fs) {
  ParsedMask m;
  CaseMode mode = CaseMode::None;
  size_t i = 0;
  for (; i < mask.size() && mask[i] != ';'; ++i) {
    const char c = mask[i];
    if (c == '\\' && i + 1 < mask.size()) {
      m.items.push_back({false, mask[++i], mode});
    } else if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
      mode = CaseMode::None;
      ++i;
    } else if (c == '>') {
      mode = CaseMode::Upper;
    } else if (c == '<') {
      mode = CaseMode::Lower;
    } else if (c == '!') {
      m.blanksFirst = true;
    } else if (std::strchr("09#LlAaCc", c)) {
      m.items.push_back({true, 0, mode});
    } else if (c == ':') {
      m.items.push_back({false, fs.TimeSeparator, mode});
    } else if (c == '/') {
      m.items.push_back({false, fs.DateSeparator, mode});
    } else if (c == '_') {
      m.items.push_back({false, ' ', mode});
    } else {
      m.items.push_back({false, c, mode});
    }
  }
  if (i < mask.size()) {  // ";save[;blank]"
    const size_t next = mask.find(';', i + 1);
    const AnsiString save = mask.substr(i + 1, next == AnsiString::npos ? AnsiString::npos : next - i - 1);
    m.saveLiterals = save.empty() || save[0] != '0';
    if (next != AnsiString::npos && next + 1 < mask.size()) m.blank = mask[next + 1];
  }
  return m;
}

char ApplyCase(char c, CaseMode mode) {
  return mode == CaseMode::Upper ? AnsiUpperChar(c) : mode == CaseMode::Lower ? AnsiLowerChar(c) : c;
}

}  // namespace

AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value, const TFormatSettings& fs) {
  const ParsedMask m = ParseMask(editMask, fs);
  // The value's characters fill the placeholders (and, when it holds the literals, every
  // position); a short value leaves blanks at the end, or at the start under "!".
  const size_t slots =
      m.saveLiterals ? m.items.size()
                     : static_cast<size_t>(std::count_if(m.items.begin(), m.items.end(),
                                                         [](const MaskItem& it) { return it.placeholder; }));
  const size_t skip = m.blanksFirst && value.size() < slots ? slots - value.size() : 0;
  AnsiString out;
  size_t slot = 0;
  for (const MaskItem& it : m.items) {
    if (!it.placeholder && !m.saveLiterals) {
      out += it.literal;
      continue;
    }
    const size_t at = slot++;
    if (!it.placeholder) {
      out += it.literal;
    } else if (at >= skip && at - skip < value.size()) {
      out += ApplyCase(value[at - skip], it.caseMode);
    } else {
      out += m.blank;
    }
  }
  return out;
}

AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value) {
  return FormatMaskText(editMask, value, FormatSettings);
}
