// Edit masks: formatting a text by a mask of the framework's edit-mask language.
#pragma once

#include <vector>

#include "platform/runtime/FormatSettings.h"
#include "platform/runtime/Types.h"

// A mask is "pattern[;save[;blank]]". Pattern characters:
//   0 digit, 9 digit or blank, # digit or sign, L letter, l letter or blank, A letter or digit,
//   a letter, digit or blank, C any character, c any character or blank   (placeholders)
//   > upper case from here, < lower case from here, <> no case conversion, ! blanks of a short
//   text go first instead of last, \ next character is literal, : and / the time and date
//   separators of the settings, _ a blank; every other character is a literal.
// save "0" means value holds no literals (they are inserted); anything else means it holds them
// at their positions (they are passed over). blank (default "_") fills placeholders the value
// does not reach. Characters are placed as they come, not checked against their placeholder.
AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value);

// A mask taken apart, one item per position of the text it formats (the masked edit checks
// typed characters against it).
struct TEditMaskItem {
  char Kind;     // the placeholder character (0 9 # L l A a C c), or 0 for a literal
  char Literal;  // the literal's character
  char Case;     // '>' upper, '<' lower, 0 as typed
};
struct TEditMask {
  std::vector<TEditMaskItem> Items;
  bool BlanksFirst = false;
  bool SaveLiterals = true;
  char Blank = '_';
};
TEditMask ParseEditMask(const AnsiString& editMask, const TFormatSettings& fs);
AnsiString FormatMaskText(const AnsiString& editMask, const AnsiString& value, const TFormatSettings& fs);
