// The desktop's display server going away while windows show: a program of its own, since the
// connection stays dead for the rest of the process.  It runs its own virtual X server.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "platform/display/Display.h"
#include "platform/ui/Forms.h"
#include "tests/support/ClosingForm.h"
#include "tests/support/DesktopTest.h"

namespace {

void Turn() { Application->ProcessMessages(); }

// A virtual X server on a free display; its process id, 0 when it cannot start.
pid_t StartServer(std::string& display) {
  int fds[2];
  if (::pipe(fds) != 0) return 0;
  pid_t pid = ::fork();
  if (pid == 0) {
    ::close(fds[0]);
    std::string fd = std::to_string(fds[1]);
    ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "640x480x24",
             static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(fds[1]);
  char buffer[16] = {};
  ssize_t n = ::read(fds[0], buffer, sizeof buffer - 1);  // the server writes its number when ready
  ::close(fds[0]);
  if (pid < 0 || n <= 0) return 0;
  display = ":" + std::string(buffer, size_t(n) - (buffer[n - 1] == '\n' ? 1 : 0));
  return pid;
}

TEST(UiFormsDisplayLost, LosingTheDisplayClosesTheWindowsThroughTheirOwnClosing) {
  if (!Shell("command -v Xvfb > /dev/null")) GTEST_SKIP() << "Xvfb is not installed";
  std::string display;
  pid_t server = StartServer(display);
  ASSERT_GT(server, 0);
  setenv("DISPLAY", display.c_str(), 1);
  ASSERT_EQ(StartDisplay(TDisplayKind::Desktop), TDisplayKind::Desktop);
  Application->Initialize();
  auto* form = TCustomForm::CreateNew<TClosingForm>(Application);
  form->OnClose = TCloseEvent(form, &TClosingForm::Closing);
  form->SetBounds(50, 50, 200, 120);
  form->Show();
  PumpFor(Turn, 300);
  ::kill(server, SIGTERM);
  ::waitpid(server, nullptr, 0);
  // Without a watch, the display library ends the process here.
  EXPECT_TRUE(PumpUntil(Turn, [&] { return form->Closes == 1; }));
  EXPECT_FALSE(form->GetVisible());
  form->Free();
}

}  // namespace
