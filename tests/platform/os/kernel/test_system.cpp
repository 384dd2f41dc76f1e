#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "platform/os/kernel/Kernel.h"
#include "platform/runtime/Resources.h"

namespace {

intptr_t Answer() { return 42; }

TEST(KernelModules, OnlyRegisteredModulesLoadAndTheyKeepTheirExports) {
  for (const char* absent : {"iOPC.dll", "UXTHEME.DLL"}) {
    EXPECT_EQ(LoadLibrary(absent), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
  }
  RegisterModule("Bridge.dll", {{"Answer", &Answer}});
  HMODULE m = LoadLibrary("C:\\Program Files\\x\\BRIDGE");
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(GetProcAddress(m, "Answer")(), 42);
  EXPECT_EQ(GetProcAddress(m, "answer"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PROC_NOT_FOUND);
  // Unregistering hides the name; a loaded module stays usable until freed.
  UnregisterModule("bridge.dll");
  EXPECT_EQ(LoadLibrary("bridge.dll"), nullptr);
  EXPECT_NE(GetProcAddress(m, "Answer"), nullptr);
  EXPECT_TRUE(FreeLibrary(m));
  EXPECT_FALSE(FreeLibrary(m));
  EXPECT_EQ(GetProcAddress(m, "Answer"), nullptr);
}

TEST(KernelSystemInfo, ReportsTheNtFamilyFivePointOne) {
  OSVERSIONINFO info;
  EXPECT_FALSE(GetVersionEx(&info));  // the size field must be filled in
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionEx(&info));
  EXPECT_EQ(info.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(info.dwMajorVersion, 5u);
  EXPECT_EQ(info.dwMinorVersion, 1u);
  EXPECT_EQ(GetACP(), 1252u);
  EXPECT_FALSE(IsDBCSLeadByte(0x81));
}

TEST(KernelSystemInfo, LanguageComesFromTheEnvironment) {
  struct Case {
    const char* lcAll;
    const char* lang;
    LANGID id;
  } cases[] = {
      {"", "en_US.UTF-8", 0x0409}, {"", "de_DE.UTF-8", 0x0407},      {"", "zh_CN.GB2312", 0x0804},
      {"", "zh_TW", 0x0404},       {"", "pt_BR.UTF-8@x", 0x0416},    {"", "fr_BE", 0x080C},
      {"", "C", 0x0409},           {"ja_JP.UTF-8", "de_DE", 0x0411}, {"", "xx_YY", 0x0409},
  };
  const char* saved[3] = {std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG")};
  std::string keep[3];
  for (int i = 0; i < 3; ++i) keep[i] = saved[i] ? saved[i] : "";
  unsetenv("LC_MESSAGES");
  for (auto& c : cases) {
    setenv("LC_ALL", c.lcAll, 1);
    setenv("LANG", c.lang, 1);
    EXPECT_EQ(GetSystemDefaultLangID(), c.id) << c.lcAll << " " << c.lang;
    EXPECT_EQ(GetUserDefaultLCID(), c.id);
  }
  const char* names[3] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (int i = 0; i < 3; ++i) saved[i] ? setenv(names[i], keep[i].c_str(), 1) : unsetenv(names[i]);
}

TEST(KernelText, MultiByteToWideCharFollowsTheCodePage) {
  WCHAR out[8] = {};
  // 0x80 is the euro sign in code page 1252; with -1 the terminator is converted and counted.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0,
                                "\x80"
                                "A",
                                -1, out, 8),
            3);
  EXPECT_EQ(out[0], u'\u20AC');
  EXPECT_EQ(out[1], u'A');
  EXPECT_EQ(out[2], 0);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xE2\x82\xAC", 3, nullptr, 0), 1);
  EXPECT_EQ(MultiByteToWideChar(437, 0, "\x81", 1, out, 8), 1);
  EXPECT_EQ(out[0], u'\u00FC');
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 3, out, 2), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "\xFF", 1, out, 8), 0);
  EXPECT_EQ(GetLastError(), ERROR_NO_UNICODE_TRANSLATION);
  EXPECT_EQ(MultiByteToWideChar(932, 0, "a", 1, out, 8), 0);
}

TEST(KernelText, WideCharToMultiByteMarksWhatThePageLacks) {
  char out[8] = {};
  BOOL usedDefault = FALSE;
  EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u20ACx\u4E2D", 3, out, 8, "#", &usedDefault), 3);
  EXPECT_EQ(std::string(out, 3), "\x80x#");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u20AC", -1, nullptr, 0, nullptr, nullptr), 4);
  // UTF-8 has no default character.
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", 1, out, 8, "#", nullptr), 0);
}

TEST(KernelText, CompareStringGivesTheOrderAndOemTextConverts) {
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "abc", -1, "ABC", -1), CSTR_EQUAL);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "abc", -1, "abd", -1), CSTR_LESS_THAN);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, "abcd", 2, "ab", 2), CSTR_EQUAL);
  EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, u"Zeta", -1, u"alpha", -1),
            CSTR_GREATER_THAN);
  EXPECT_EQ(CompareStringA(LOCALE_USER_DEFAULT, 0, nullptr, -1, "a", -1), 0);
  char text[] = "\x81\x9C\xC4x";  // u-umlaut, pound sign, a box line the page lacks
  EXPECT_TRUE(OemToChar(text, text));
  EXPECT_STREQ(text, "\xFC\xA3?x");
}

TEST(KernelGlobalMemory, FixedAndMoveableBlocks) {
  HGLOBAL fixed = GlobalAlloc(GPTR, 16);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(GlobalLock(fixed), fixed);  // a fixed block's handle is its address
  EXPECT_EQ(static_cast<char*>(fixed)[15], 0);
  EXPECT_EQ(GlobalSize(fixed), 16u);

  HGLOBAL moveable = GlobalAlloc(GHND, 8);
  char* p = static_cast<char*>(GlobalLock(moveable));
  ASSERT_NE(p, nullptr);
  EXPECT_NE(static_cast<void*>(p), moveable);
  std::memcpy(p, "clipboard", 8);
  EXPECT_EQ(GlobalLock(moveable), p);
  EXPECT_TRUE(GlobalUnlock(moveable));  // still locked once
  EXPECT_FALSE(GlobalUnlock(moveable));
  EXPECT_EQ(GlobalFree(moveable), nullptr);
  EXPECT_EQ(GlobalFree(fixed), nullptr);
  // Freed and unknown handles fail instead of reaching memory.
  EXPECT_EQ(GlobalLock(moveable), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GlobalFree(moveable), moveable);
  EXPECT_EQ(GlobalSize(fixed), 0u);
}

const char kReportText[] = "Preview";
const char kSkin[] = {'P', 'C', 'X', 0, 1};
TResourceRegistration stringEntry(RT_STRING, ResourceIdName(53000), kReportText, sizeof kReportText - 1);
TResourceRegistration skinEntry(RT_RCDATA, "LUNASKIN", kSkin, sizeof kSkin);

TEST(KernelResources, StringsAndDataComeFromTheResourceTable) {
  char buffer[5];
  EXPECT_EQ(LoadString(nullptr, 53000, buffer, sizeof buffer), 4);
  EXPECT_STREQ(buffer, "Prev");
  EXPECT_EQ(LoadString(nullptr, 53001, buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");

  HRSRC byType = FindResource(nullptr, "LunaSkin", RT_RCDATA);
  HRSRC byText = FindResourceA(nullptr, "LUNASKIN", "#10");
  HRSRC byId = FindResourceA(nullptr, "LUNASKIN", reinterpret_cast<LPCSTR>(uintptr_t(RT_RCDATA)));
  ASSERT_NE(byType, nullptr);
  EXPECT_EQ(byText, byType);
  EXPECT_EQ(byId, byType);
  EXPECT_EQ(SizeofResource(nullptr, byType), sizeof kSkin);
  EXPECT_EQ(std::memcmp(LockResource(LoadResource(nullptr, byType)), kSkin, sizeof kSkin), 0);
  EXPECT_EQ(FindResource(nullptr, "LUNASKIN", RT_BITMAP), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
  EXPECT_EQ(FindResourceA(nullptr, "LUNASKIN", "PCX"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

TEST(KernelFiles, AttributesOfFoldersFilesAndMissingPaths) {
  std::string dir = ::testing::TempDir() + "kernel_attr_" + std::to_string(getpid());
  mkdir(dir.c_str(), 0700);
  std::ofstream(dir + "/plain.txt") << "x";
  std::ofstream(dir + "/.hidden") << "x";
  EXPECT_EQ(GetFileAttributes(dir.c_str()), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributes((dir + "\\plain.txt").c_str()) & ~FILE_ATTRIBUTE_READONLY,
            FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(GetFileAttributes((dir + "/.hidden").c_str()) & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(GetFileAttributes((dir + "/none").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  unlink((dir + "/plain.txt").c_str());
  unlink((dir + "/.hidden").c_str());
  rmdir(dir.c_str());
  EXPECT_EQ(GetCurrentProcessId(), DWORD(getpid()));
}

TEST(KernelTime, PerformanceCounterReadsTheClockInUse) {
  TFakeClock fake(1000);
  TClockScope scope(fake);
  LARGE_INTEGER frequency, count;
  ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
  ASSERT_TRUE(QueryPerformanceCounter(&count));
  fake.Advance(10);
  LARGE_INTEGER later;
  QueryPerformanceCounter(&later);
  EXPECT_EQ(later.QuadPart - count.QuadPart, frequency.QuadPart / 100);
  EXPECT_EQ(GetTickCount(), 1010u);
}

}  // namespace
