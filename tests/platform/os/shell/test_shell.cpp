// The shell: opening through a stubbed opener (argument vectors, never a shell), dropped files,
// the in-process notification icon, version information, file information and help.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/os/gdi/Icons.h"
#include "platform/os/shell/ShellAPI.h"

namespace {

namespace fs = std::filesystem;

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::path(::testing::TempDir()) / ("shell-" + std::to_string(getpid()));
    fs::create_directories(dir);
    // Records its arguments one per line, then fails when asked to.
    opener = dir / "opener.sh";
    std::ofstream(opener) << "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \""
                          << (dir / "args").string() << ".tmp\"\nmv \"" << (dir / "args").string()
                          << ".tmp\" \"" << (dir / "args").string()
                          << "\"\ncase \"$1\" in *fail*) exit 4;; esac\nexit 0\n";
    fs::permissions(opener, fs::perms::owner_all);
    setenv("PL_OPENER", opener.c_str(), 1);
  }
  void TearDown() override {
    unsetenv("PL_OPENER");
    fs::remove_all(dir);
  }
  // The arguments the opener got, once it wrote them.
  std::vector<std::string> Recorded() {
    fs::path args = dir / "args";
    for (int i = 0; i < 200 && !fs::exists(args); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::ifstream in(args);
    std::vector<std::string> lines;
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    fs::remove(args);
    return lines;
  }
  static intptr_t Open(const std::string& target, const char* verb = "open") {
    return reinterpret_cast<intptr_t>(
        ShellExecute(nullptr, verb, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  }
  fs::path dir, opener;
};

TEST_F(ShellTest, OpensWithOneArgumentThatNoShellInterprets) {
  std::string odd = (dir / "a b \"c\" ; touch pwned $(touch pwned2) 'q'.txt").string();
  std::ofstream(odd) << "x";
  std::string web = "https://example.com/?q=a b;c&d=$(x)";
  for (const std::string& target : {odd, web, std::string("mailto:someone@example.com")}) {
    EXPECT_GT(Open(target), 32) << target;
    EXPECT_EQ(Recorded(), std::vector<std::string>{target});
  }
  EXPECT_FALSE(fs::exists("pwned"));
  EXPECT_FALSE(fs::exists("pwned2"));
  EXPECT_FALSE(fs::exists(dir / "pwned"));
  // Relative to the folder given.
  std::ofstream(dir / "doc.txt") << "x";
  EXPECT_GT(reinterpret_cast<intptr_t>(ShellExecute(nullptr, nullptr, "doc.txt", nullptr, dir.c_str(), 1)),
            32);
  EXPECT_EQ(Recorded(), std::vector<std::string>{(dir / "doc.txt").string()});
}

TEST_F(ShellTest, FailuresAnswerSystemCodes) {
  std::ofstream(dir / "fail.txt") << "x";
  struct Case {
    std::string target;
    const char* verb;
    intptr_t code;
  } cases[] = {
      {(dir / "missing.txt").string(), "open", ERROR_FILE_NOT_FOUND},
      {"", "open", ERROR_FILE_NOT_FOUND},
      {(dir / "fail.txt").string(), "print", SE_ERR_NOASSOC},
      {"javascript:alert(1)", "open", SE_ERR_NOASSOC},
      {"smb://server/share", "open", SE_ERR_NOASSOC},
      {(dir / "fail.txt").string(), "open", SE_ERR_ACCESSDENIED},
  };
  for (const Case& c : cases) EXPECT_EQ(Open(c.target, c.verb), c.code) << c.target << " " << c.verb;
  setenv("PL_OPENER", (dir / "no-such-opener").c_str(), 1);
  std::ofstream(dir / "doc.txt") << "x";
  EXPECT_EQ(Open((dir / "doc.txt").string()), SE_ERR_NOASSOC) << "no opener";
}

HWND ShellTestWindow(HWND parent) {
  static const char* name = [] {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "ShellTestWindow";
    RegisterClass(&wc);
    return "ShellTestWindow";
  }();
  return CreateWindowEx(0, name, "", parent ? WS_CHILD | WS_VISIBLE : WS_POPUP, parent ? 10 : 100,
                        parent ? 20 : 50, 200, 100, parent, nullptr, nullptr, nullptr);
}

TEST(ShellDrop, FilesDroppedOnAChildReachTheAcceptingParent) {
  HWND top = ShellTestWindow(nullptr);
  HWND child = ShellTestWindow(top);
  EXPECT_FALSE(DropFilesOnWindow(child, {"/tmp/x"}, POINT{1, 1})) << "nobody accepts files yet";
  DragAcceptFiles(top, TRUE);
  ASSERT_TRUE(DropFilesOnWindow(child, {"/tmp/caf\xC3\xA9.txt", "/tmp/b"}, POINT{5, 6}));
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, top, WM_DROPFILES, WM_DROPFILES, PM_REMOVE));
  auto drop = reinterpret_cast<HDROP>(m.wParam);
  EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  char name[8];
  EXPECT_EQ(DragQueryFile(drop, 0, nullptr, 0), 13u);
  EXPECT_EQ(DragQueryFile(drop, 0, name, sizeof name), 7u) << "cut to the buffer";
  EXPECT_STREQ(name, "/tmp/ca");
  char full[64];
  DragQueryFile(drop, 0, full, sizeof full);
  EXPECT_STREQ(full, "/tmp/caf\xE9.txt") << "names in the single-byte code page";
  EXPECT_EQ(DragQueryFile(drop, 2, full, sizeof full), 0u);
  POINT pt;
  EXPECT_TRUE(DragQueryPoint(drop, &pt));
  EXPECT_EQ(pt.X, 15);
  EXPECT_EQ(pt.Y, 26);
  DragFinish(drop);
  DragAcceptFiles(top, FALSE);
  EXPECT_FALSE(DropFilesOnWindow(child, {"/tmp/x"}, POINT{1, 1}));
  DestroyWindow(top);
}

TEST(ShellNotifyIcon, KeptInProcessAndClicked) {
  HWND w = ShellTestWindow(nullptr);
  NOTIFYICONDATA d;
  d.hWnd = w;
  d.uID = 3;
  d.uFlags = NIF_MESSAGE | NIF_TIP;
  d.uCallbackMessage = 1388;
  std::memset(d.szTip, 'x', sizeof d.szTip);  // not terminated: at most 63 taken
  EXPECT_FALSE(Shell_NotifyIcon(NIM_MODIFY, &d)) << "never added";
  EXPECT_TRUE(Shell_NotifyIcon(NIM_ADD, &d));
  EXPECT_FALSE(Shell_NotifyIcon(NIM_ADD, &d));
  NOTIFYICONDATA got;
  ASSERT_TRUE(GetNotifyIcon(w, 3, got));
  EXPECT_EQ(std::string(got.szTip), std::string(63, 'x'));
  std::strcpy(d.szTip, "Ready");
  d.uFlags = NIF_TIP;
  EXPECT_TRUE(Shell_NotifyIcon(NIM_MODIFY, &d));
  ASSERT_TRUE(GetNotifyIcon(w, 3, got));
  EXPECT_STREQ(got.szTip, "Ready");
  EXPECT_EQ(got.uCallbackMessage, 1388u) << "kept from before";
  ASSERT_TRUE(ClickNotifyIcon(w, 3, WM_LBUTTONDBLCLK));
  MSG m;
  ASSERT_TRUE(PeekMessage(&m, w, 1388, 1388, PM_REMOVE));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(m.lParam, LPARAM(WM_LBUTTONDBLCLK));
  EXPECT_TRUE(Shell_NotifyIcon(NIM_DELETE, &d));
  EXPECT_FALSE(GetNotifyIcon(w, 3, got));
  DestroyWindow(w);
}

TEST(ShellVersion, ProgramAndCommonControls) {
  struct Case {
    std::string file;
    DWORD ms;
  } cases[] = {{"/proc/self/exe", 0x00010000},
               {"comctl32.dll", 0x00060000},
               {"C:\\WINDOWS\\COMCTL32.DLL", 0x00060000}};
  for (const Case& c : cases) {
    DWORD handle = 1;
    DWORD size = GetFileVersionInfoSize(c.file.c_str(), &handle);
    ASSERT_GT(size, 0u) << c.file;
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfo(c.file.c_str(), handle, size, block.data()));
    void* p = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), "\\", &p, &len));
    auto* fixed = static_cast<VS_FIXEDFILEINFO*>(p);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, c.ms) << c.file;
  }
  std::vector<char> block(GetFileVersionInfoSize("comctl32.dll", nullptr));
  GetFileVersionInfo("comctl32.dll", 0, DWORD(block.size()), block.data());
  void* p = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValue(block.data(), "\\StringFileInfo\\040904E4\\FileVersion", &p, &len));
  EXPECT_STREQ(static_cast<char*>(p), "6.0.0.0");
  EXPECT_FALSE(VerQueryValue(block.data(), "\\StringFileInfo\\040904E4\\Nothing", &p, &len));
  EXPECT_EQ(GetFileVersionInfoSize("/etc/hostname", nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
}

TEST(ShellInfo, DisplayNameGenericIconAndNoHelp) {
  SHFILEINFOA info;
  ASSERT_NE(SHGetFileInfoA("/tmp/", 0, &info, sizeof info,
                           SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ICON | SHGFI_SMALLICON),
            0u);
  EXPECT_STREQ(info.szDisplayName, "tmp");
  EXPECT_STREQ(info.szTypeName, "File folder");
  ASSERT_NE(info.hIcon, nullptr);
  EXPECT_EQ(GetIconSurface(info.hIcon)->Width, 16);
  DestroyIcon(info.hIcon);
  EXPECT_EQ(SHGetFileInfoA("/no/such/file.txt", 0, &info, sizeof info, SHGFI_DISPLAYNAME), 0u);
  EXPECT_NE(
      SHGetFileInfoA("/no/such/file.txt", 0, &info, sizeof info, SHGFI_DISPLAYNAME | SHGFI_USEFILEATTRIBUTES),
      0u);
  EXPECT_STREQ(info.szDisplayName, "file.txt");
  EXPECT_EQ(SHGetFileInfoA("/tmp", 0, &info, sizeof info, SHGFI_SYSICONINDEX), 0u) << "no system image list";
  SetLastError(0);
  EXPECT_FALSE(WinHelp(nullptr, "ROdude.rir", HELP_CONTEXTPOPUP, 5));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
