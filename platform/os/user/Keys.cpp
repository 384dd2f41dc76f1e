// Key tables: virtual keys to PC scan codes (set 1, so that the key data carries the keypad
// bit the grids read) and the characters keys type on a US keyboard.
#include "platform/os/user/Internal.h"

namespace user_internal {

namespace {

struct TScan {
  UINT Vk;
  UINT Scan;
  bool Extended;
};

// Set 1 make codes of the PC keyboard; keypad keys have codes 0x47..0x53, their navigation
// twins the same codes as extended keys.
constexpr TScan kScans[] = {
    {VK_ESCAPE, 0x01, false},     {'1', 0x02, false},         {'2', 0x03, false},
    {'3', 0x04, false},           {'4', 0x05, false},         {'5', 0x06, false},
    {'6', 0x07, false},           {'7', 0x08, false},         {'8', 0x09, false},
    {'9', 0x0A, false},           {'0', 0x0B, false},         {VK_OEM_MINUS, 0x0C, false},
    {VK_OEM_PLUS, 0x0D, false},   {VK_BACK, 0x0E, false},     {VK_TAB, 0x0F, false},
    {'Q', 0x10, false},           {'W', 0x11, false},         {'E', 0x12, false},
    {'R', 0x13, false},           {'T', 0x14, false},         {'Y', 0x15, false},
    {'U', 0x16, false},           {'I', 0x17, false},         {'O', 0x18, false},
    {'P', 0x19, false},           {VK_OEM_4, 0x1A, false},    {VK_OEM_6, 0x1B, false},
    {VK_RETURN, 0x1C, false},     {VK_CONTROL, 0x1D, false},  {VK_LCONTROL, 0x1D, false},
    {VK_RCONTROL, 0x1D, true},    {'A', 0x1E, false},         {'S', 0x1F, false},
    {'D', 0x20, false},           {'F', 0x21, false},         {'G', 0x22, false},
    {'H', 0x23, false},           {'J', 0x24, false},         {'K', 0x25, false},
    {'L', 0x26, false},           {VK_OEM_1, 0x27, false},    {VK_OEM_7, 0x28, false},
    {VK_OEM_3, 0x29, false},      {VK_SHIFT, 0x2A, false},    {VK_LSHIFT, 0x2A, false},
    {VK_OEM_5, 0x2B, false},      {'Z', 0x2C, false},         {'X', 0x2D, false},
    {'C', 0x2E, false},           {'V', 0x2F, false},         {'B', 0x30, false},
    {'N', 0x31, false},           {'M', 0x32, false},         {VK_OEM_COMMA, 0x33, false},
    {VK_OEM_PERIOD, 0x34, false}, {VK_OEM_2, 0x35, false},    {VK_DIVIDE, 0x35, true},
    {VK_RSHIFT, 0x36, false},     {VK_MULTIPLY, 0x37, false}, {VK_MENU, 0x38, false},
    {VK_LMENU, 0x38, false},      {VK_RMENU, 0x38, true},     {VK_SPACE, 0x39, false},
    {VK_CAPITAL, 0x3A, false},    {VK_F1, 0x3B, false},       {VK_F2, 0x3C, false},
    {VK_F3, 0x3D, false},         {VK_F4, 0x3E, false},       {VK_F5, 0x3F, false},
    {VK_F6, 0x40, false},         {VK_F7, 0x41, false},       {VK_F8, 0x42, false},
    {VK_F9, 0x43, false},         {VK_F10, 0x44, false},      {VK_NUMLOCK, 0x45, true},
    {VK_SCROLL, 0x46, false},     {VK_NUMPAD7, 0x47, false},  {VK_HOME, 0x47, true},
    {VK_NUMPAD8, 0x48, false},    {VK_UP, 0x48, true},        {VK_NUMPAD9, 0x49, false},
    {VK_PRIOR, 0x49, true},       {VK_SUBTRACT, 0x4A, false}, {VK_NUMPAD4, 0x4B, false},
    {VK_LEFT, 0x4B, true},        {VK_NUMPAD5, 0x4C, false},  {VK_CLEAR, 0x4C, false},
    {VK_NUMPAD6, 0x4D, false},    {VK_RIGHT, 0x4D, true},     {VK_ADD, 0x4E, false},
    {VK_NUMPAD1, 0x4F, false},    {VK_END, 0x4F, true},       {VK_NUMPAD2, 0x50, false},
    {VK_DOWN, 0x50, true},        {VK_NUMPAD3, 0x51, false},  {VK_NEXT, 0x51, true},
    {VK_NUMPAD0, 0x52, false},    {VK_INSERT, 0x52, true},    {VK_DECIMAL, 0x53, false},
    {VK_DELETE, 0x53, true},      {VK_OEM_102, 0x56, false},  {VK_F11, 0x57, false},
    {VK_F12, 0x58, false},        {VK_LWIN, 0x5B, true},      {VK_RWIN, 0x5C, true},
    {VK_APPS, 0x5D, true},        {VK_PAUSE, 0x45, false},    {VK_SNAPSHOT, 0x37, true},
};

struct TKeyChars {
  UINT Vk;
  char Plain;
  char Shifted;
};

constexpr TKeyChars kPunctuation[] = {
    {VK_OEM_1, ';', ':'},      {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'},
    {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'},    {VK_OEM_3, '`', '~'},     {VK_OEM_4, '[', '{'},
    {VK_OEM_5, '\\', '|'},     {VK_OEM_6, ']', '}'},    {VK_OEM_7, '\'', '"'},    {VK_OEM_102, '\\', '|'},
    {VK_MULTIPLY, '*', '*'},   {VK_ADD, '+', '+'},      {VK_SUBTRACT, '-', '-'},  {VK_DECIMAL, '.', '.'},
    {VK_DIVIDE, '/', '/'},     {VK_SPACE, ' ', ' '},
};

constexpr char kShiftedDigits[] = ")!@#$%^&*(";

}  // namespace

UINT ScanCodeOf(UINT vk, bool* extended) {
  for (const TScan& s : kScans)
    if (s.Vk == vk) {
      if (extended) *extended = s.Extended;
      return s.Scan;
    }
  if (extended) *extended = false;
  return 0;
}

UINT VirtualKeyOfScanCode(UINT scan) {
  for (const TScan& s : kScans)
    if (s.Scan == scan && !s.Extended) return s.Vk;
  return 0;
}

WideString CharsOfKey(UINT vk, const std::array<BYTE, 256>& keys) {
  bool shift = keys[VK_SHIFT] & 0x80;
  bool ctrl = keys[VK_CONTROL] & 0x80;
  bool alt = keys[VK_MENU] & 0x80;
  bool caps = keys[VK_CAPITAL] & 0x01;
  if (ctrl && alt) return {};  // no AltGr characters on this layout
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return WideString(1, char16_t(vk - 'A' + 1));
    bool upper = shift != caps;
    return WideString(1, char16_t(upper ? vk : vk - 'A' + 'a'));
  }
  switch (vk) {
    case VK_RETURN:
      return WideString(1, ctrl ? u'\n' : u'\r');
    case VK_TAB:
      return ctrl ? WideString() : WideString(1, u'\t');
    case VK_BACK:
      return WideString(1, ctrl ? char16_t(0x7F) : u'\b');
    case VK_ESCAPE:
      return WideString(1, char16_t(0x1B));
    default:
      break;
  }
  if (ctrl) {
    if (vk == VK_OEM_4) return WideString(1, char16_t(0x1B));
    if (vk == VK_OEM_5) return WideString(1, char16_t(0x1C));
    if (vk == VK_OEM_6) return WideString(1, char16_t(0x1D));
    return {};
  }
  if (vk >= '0' && vk <= '9') return WideString(1, char16_t(shift ? kShiftedDigits[vk - '0'] : char(vk)));
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return WideString(1, char16_t('0' + (vk - VK_NUMPAD0)));
  for (const TKeyChars& k : kPunctuation)
    if (k.Vk == vk) return WideString(1, char16_t(shift ? k.Shifted : k.Plain));
  return {};
}

}  // namespace user_internal
