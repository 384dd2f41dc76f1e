// The program's saved state: the link settings record, the parameter body (hot-key captions,
// scan values, program list and GO/NG list) and the two files that hold them, "Config.dat"
// (record, then body) and parameter files (".PAR": the body alone).  The records have the fixed
// sizes and layouts the files store unchanged, little-endian.
//
// Reading checks a whole file before it gives anything back: a short, long or hostile file
// raises EReadError and the caller's state stays as it was.  Writing replaces the file in one
// step, so a failed save leaves the previous file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/runtime/Types.h"

// ---- records

// 64 bytes: baud index, port name, the step sizes of the two knobs.
struct TLinkSettings {
  int32_t BaudIndex = 1;  // 0 4800, 1 9600, 2 19200, 3 38400 baud; another keeps the port's rate
  char PortName[12] = {'C', 'O', 'M', '1'};
  // Voltage knob arrow key, page key, mouse wheel; then the same for the current knob.
  double Steps[6] = {0.01, 0.01, 0.01, 0.01, 0.01, 0.01};

  // Up to the first NUL, at most 11 characters.
  AnsiString GetPortName() const;
  // Names longer than 11 characters raise EConvertError (the field holds no more).
  void SetPortName(const AnsiString& name);
};

// 32 bytes: one row of the program list.
struct TProgramStep {
  char Voltage[10] = {'1'};
  char Current[10] = {'1'};
  char Padding[4] = {};
  double Time = 1.0;  // in the list's time unit

  AnsiString GetVoltage() const;
  AnsiString GetCurrent() const;
  // Texts of more than 9 characters raise EConvertError.
  void SetVoltage(const AnsiString& text);
  void SetCurrent(const AnsiString& text);
};

// 40 bytes: one row of the GO/NG list.
struct TGoNGStep {
  char Voltage[10] = {'1'};
  char MaxCurrent[10] = {'1'};
  char MinCurrent[10] = {'0'};
  char Padding[2] = {};
  double Time = 1.0;

  AnsiString GetVoltage() const;
  AnsiString GetMaxCurrent() const;
  AnsiString GetMinCurrent() const;
  void SetVoltage(const AnsiString& text);
  void SetMaxCurrent(const AnsiString& text);
  void SetMinCurrent(const AnsiString& text);
};

static_assert(sizeof(TLinkSettings) == 64);
static_assert(sizeof(TProgramStep) == 32);
static_assert(sizeof(TGoNGStep) == 40);

// ---- the parameter body

constexpr int kHotKeyCount = 10;
constexpr size_t kCaptionBlock = 100;

struct TParameterBody {
  std::array<AnsiString, kHotKeyCount> HotKeyCaptions;
  double ScanStart = 1, ScanStop = 6, ScanStep = 1, ScanDelay = 1;
  // Empty lists in a file read back as "keep the list as it is" (a count of 0 or below).
  std::vector<TProgramStep> ProgramSteps;
  std::vector<TGoNGStep> GoNGSteps;
};

// The body the program starts with: captions "0V/0A", scan 1, 6, 1, 1 s, one row in each list.
TParameterBody DefaultParameterBody();

// A file whose name (not its folder), upper-cased, contains ".PAR" holds the body only.
bool IsParameterFileName(const AnsiString& fileName);

// ---- images and files

// The image of a file: the settings record when link is given, then the body.  Captions longer
// than 99 characters are cut to 99.
std::string WriteParameterBytes(const TLinkSettings* link, const TParameterBody& body);
// Reads an image written with (withLink) or without the settings record; raises EReadError for an
// image that does not hold exactly what its counts announce, or that holds numbers that are no
// numbers (NaN, infinities).
void ReadParameterBytes(std::string_view bytes, bool withLink, TLinkSettings& link, TParameterBody& body);

// Writes fileName with the settings record unless it is a parameter file name.
void SaveParameterFile(const AnsiString& fileName, const TLinkSettings& link, const TParameterBody& body);
// Reads fileName (settings record unless it is a parameter file name).  hasLink tells whether link
// was read.  Errors raise (EFOpenError, EReadError) and leave link and body untouched.
void LoadParameterFile(const AnsiString& fileName, TLinkSettings& link, TParameterBody& body, bool& hasLink);
