#include "platform/runtime/MaskUtils.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Strings.h"

namespace {

char ApplyCase(char c, char mode) {
  return mode == '>' ? AnsiUpperChar(c) : mode == '<' ? AnsiLowerChar(c) : c;
}

}  // namespace

TEditMask ParseEditMask(const AnsiString& mask, const TFormatSettings& fs) {
  TEditMask m;
  char mode = 0;
  size_t i = 0;
  for (; i < mask.size() && mask[i] != ';'; ++i) {
    const char c = mask[i];
    if (c == '\\' && i + 1 < mask.size()) {
      m.Items.push_back({0, mask[++i], mode});
    } else if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
      mode = 0;
      ++i;
    } else if (c == '>' || c == '<') {
      mode = c;
    } else if (c == '!') {
      m.BlanksFirst = true;
    } else if (std::strchr("09#LlAaCc", c)) {
      m.Items.push_back({c, 0, mode});
    } else if (c == ':') {
      m.Items.push_back({0, fs.TimeSeparator, mode});
    } else if (c == '/') {
      m.Items.push_back({0, fs.DateSeparator, mode});
    } else if (c == '_') {
      m.Items.push_back({0, ' ', mode});
    } else {
      m.Items.push_back({0, c, mode});
    }
  }
  if (i < mask.size()) {  // ";save[;blank]"
    const size_t next = mask.find(';', i + 1);
    const AnsiString save = mask.substr(i + 1, next == AnsiString::npos ? AnsiString::npos : next - i - 1);
    m.SaveLiterals = save.empty() || save[0] != '0';
    if (next != AnsiString::npos && next + 1 < mask.size()) m.Blank = mask[next + 1];
  }
  return m;
}

AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value, const TFormatSettings& fs) {
  const TEditMask m = ParseEditMask(editMask, fs);
  // The value's characters fill the placeholders (and, when it holds the literals, every
  // position); a short value leaves blanks at the end, or at the start under "!".
  const size_t slots =
      m.SaveLiterals
          ? m.Items.size()
          : static_cast<size_t>(std::count_if(m.Items.begin(), m.Items.end(),
                                              [](const TEditMaskItem& it) { return it.Kind != 0; }));
  const size_t skip = m.BlanksFirst && value.size() < slots ? slots - value.size() : 0;
  AnsiString out;
  size_t slot = 0;
  for (const TEditMaskItem& it : m.Items) {
    if (!it.Kind && !m.SaveLiterals) {
      out += it.Literal;
      continue;
    }
    const size_t at = slot++;
    if (!it.Kind) {
      out += it.Literal;
    } else if (at >= skip && at - skip < value.size()) {
      out += ApplyCase(value[at - skip], it.Case);
    } else {
      out += m.Blank;
    }
  }
  return out;
}

AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value) {
  return FormatMaskText(editMask, value, FormatSettings);
}
