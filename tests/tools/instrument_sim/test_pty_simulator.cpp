// The simulator on a pseudo-terminal, through the serial layer as the program uses it, and the
// program itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "platform/os/comm/Comm.h"
#include "platform/os/comm/PtyPair.h"
#include "tools/instrument_sim/core/PtySimulator.h"

namespace {

class SimulatedLink : public ::testing::Test {
 protected:
  void SetUp() override {
    port = CreateFileA(("\\\\.\\" + sim.DevicePath()).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                       OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    ASSERT_NE(port, INVALID_HANDLE_VALUE);
    COMMTIMEOUTS t{MAXDWORD, 0, 0, 100, 1000};
    SetCommTimeouts(port, &t);
    SetCommMask(port, EV_RXCHAR);
    event = CreateEvent(nullptr, TRUE, TRUE, nullptr);
  }
  void TearDown() override {
    CloseHandle(port);
    CloseHandle(event);
  }
  // Writes a command and collects reply bytes until a line end or the time-out; the result of
  // the last failed wait is left in waitError.
  std::string Ask(const std::string& command, DWORD timeoutMs = 1000) {
    OVERLAPPED ov{};
    ov.hEvent = event;
    DWORD count = 0, mask = 0;
    if (!WriteFile(port, command.data(), DWORD(command.size()), nullptr, &ov))
      GetOverlappedResult(port, &ov, &count, TRUE);
    std::string reply;
    while (reply.find('\n') == std::string::npos) {
      if (!WaitCommEvent(port, &mask, &ov) && GetLastError() != ERROR_IO_PENDING) {
        waitError = GetLastError();
        break;
      }
      if (WaitForSingleObject(event, timeoutMs) != WAIT_OBJECT_0) {
        SetCommMask(port, EV_RXCHAR);
        WaitForSingleObject(event, INFINITE);
        break;
      }
      if (!GetOverlappedResult(port, &ov, &count, FALSE)) {
        waitError = GetLastError();
        break;
      }
      char buffer[256];
      if (ReadFile(port, buffer, sizeof buffer, &count, &ov)) reply.append(buffer, count);
    }
    return reply;
  }

  TPtySimulator sim{[] {
    TInstrumentConfig c;
    c.Settle = 1;
    return c;
  }()};
  HANDLE port = INVALID_HANDLE_VALUE;
  HANDLE event = nullptr;
  DWORD waitError = 0;
};

TEST_F(SimulatedLink, AnswersOverTheLineAndTakesFaultsFromItsControlLanguage) {
  EXPECT_EQ(Ask("*IDN?\n"), "RZ Instruments,RZ4180,SN000001,1.00\n");
  EXPECT_EQ(Ask("VOLT 5;:SYST:ERR?\n"), "0,\"No error\"\n");
  std::string response;
  struct {
    const char* control;
    const char* command;
    std::string reply;
  } steps[] = {
      {"error too", "VOLT?\n", "-222,\"Data out of range: value too large\"\n"},
      {"error invalid 1", "VOLT?\n", "-224,\"Invalid parameter value\"\n"},
      {"error command", "VOLT?\n", "-113,\"Undefined command header\"\n"},
      {"crlf on", "VOLT?\n", "5.0000\r\n"},
      {"crlf off", "VOLT?\n", "5.0000\n"},
      {"silence 1", "VOLT?\n", ""},
      {"baud 0", "VOLT?\n", "5.0000\n"},
  };
  for (auto& s : steps) {
    EXPECT_TRUE(sim.Control(s.control, response));
    EXPECT_EQ(response, "ok") << s.control;
    EXPECT_EQ(Ask(s.command, 200), s.reply) << s.control;
  }
  EXPECT_TRUE(sim.Control("garbage 3", response));
  EXPECT_EQ(Ask("VOLT?\n").size(), 3 + 7u);
  EXPECT_TRUE(sim.Control("status", response));
  EXPECT_EQ(response, "model RZ4180, output off, sense off, volt 5.0000, curr 0.0000, load 10.0000");
  for (const char* bad : {"error loud", "silence x", "crlf maybe", "load -1", "baud fast", "dance"}) {
    EXPECT_TRUE(sim.Control(bad, response));
    EXPECT_EQ(response.rfind("error:", 0), 0u) << bad;
  }
  EXPECT_FALSE(sim.Control("quit", response));
}

TEST_F(SimulatedLink, RepliesArePacedAtTheLineRate) {
  std::string response;
  sim.Control("baud 2400", response);
  auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Ask("*IDN?\n").size(), 36u);
  // 36 bytes of 10 bits at 2400 bit/s take 150 ms.
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(140));
}

TEST_F(SimulatedLink, AHangUpReachesTheProgramAsAFailedWait) {
  std::string response;
  EXPECT_TRUE(sim.Control("hangup", response));
  EXPECT_TRUE(sim.HungUp());
  EXPECT_EQ(Ask("*IDN?\n"), "");
  EXPECT_EQ(waitError, ERROR_DEVICE_NOT_CONNECTED);
}

// Runs the program with pipes on its standard input and output.
struct Program {
  pid_t pid = -1;
  int in = -1, out = -1;
  explicit Program(std::vector<std::string> args) {
    int toChild[2], fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0) return;
    pid = fork();
    if (pid == 0) {
      dup2(toChild[0], 0);
      dup2(fromChild[1], 1);
      close(toChild[1]);
      close(fromChild[0]);
      std::vector<char*> argv;
      std::string program = INSTRUMENT_SIM_PROGRAM;
      argv.push_back(program.data());
      for (auto& a : args) argv.push_back(a.data());
      argv.push_back(nullptr);
      execv(program.c_str(), argv.data());
      _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    in = toChild[1];
    out = fromChild[0];
  }
  std::string Line() {
    std::string line;
    char c;
    pollfd p{out, POLLIN, 0};
    while (poll(&p, 1, 3000) > 0 && read(out, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }
  void Say(const std::string& text) { (void)!write(in, text.data(), text.size()); }
  int Wait() {
    int status = -1;
    waitpid(pid, &status, 0);
    close(in);
    close(out);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
};

TEST(SimulatorProgram, PrintsItsDeviceServesItAndObeysItsControlLines) {
  std::string link = ::testing::TempDir() + "sim_link_" + std::to_string(getpid());
  Program p({"--model", "RZ4182", "--baud", "0", "--noise", "0", "--link-file", link});
  ASSERT_GT(p.pid, 0);
  std::string path = p.Line();
  ASSERT_EQ(path.rfind("/dev/", 0), 0u) << path;
  std::ifstream linkFile(link);
  std::string linked;
  std::getline(linkFile, linked);
  EXPECT_EQ(linked, path);

  int fd = OpenRawTerminal(path);
  ASSERT_GE(fd, 0);
  std::string reply;
  EXPECT_TRUE(BareRoundTrip(fd, "*IDN?\n", reply, 2000));
  EXPECT_EQ(reply, "RZ Instruments,RZ4182,SN000001,1.00\n");
  p.Say("status\n");
  EXPECT_EQ(p.Line().rfind("model RZ4182, output off", 0), 0u);
  p.Say("hangup\n");
  EXPECT_EQ(p.Wait(), 0);
  close(fd);
  unlink(link.c_str());
}

TEST(SimulatorProgram, WritesItsModelTableAndRefusesUnknownModels) {
  std::string file = ::testing::TempDir() + "PowerType_" + std::to_string(getpid()) + ".dat";
  EXPECT_EQ(Program({"--write-model-table", file}).Wait(), 0);
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  std::vector<TModelInfo> models;
  ASSERT_TRUE(ParseModelTable(bytes.str(), models));
  EXPECT_EQ(models.size(), BuiltInModels().size());
  EXPECT_EQ(Program({"--model-table", file, "--model", "NOPE"}).Wait(), 2);
  unlink(file.c_str());
}

}  // namespace
