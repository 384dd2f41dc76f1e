// instrument-sim: the simulated power supply on a pseudo-terminal.  Prints the device path the
// program should open, then answers on it until stopped.  Faults are injected with control lines
// on standard input or on a FIFO (see --help).
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/instrument_sim/core/PtySimulator.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

void OnSignal(int) { stopRequested = 1; }

const char* kUsage =
    "usage: instrument-sim [options]\n"
    "  --model NAME             the model *IDN? names (default the first of the table)\n"
    "  --model-table FILE       take the models from a PowerType.dat file\n"
    "  --write-model-table FILE write the model table in PowerType.dat form and exit\n"
    "  --baud N|line            pace replies at N baud, or at the rate the program set (default line);\n"
    "                           0 answers at once\n"
    "  --load OHMS              the load resistance (default 10)\n"
    "  --noise X                largest deviation of a reading (default 0.001)\n"
    "  --settle F               share of the way a reading moves per measurement (default 0.5)\n"
    "  --seed N                 seed of the reading noise\n"
    "  --crlf                   end replies with CR LF\n"
    "  --link-file FILE         also write the device path to FILE\n"
    "  --control FIFO           read control lines from FIFO (created when missing) as well as stdin\n"
    "control lines: error too|small|invalid|command [N], silence [N|on|off], crlf on|off, garbage N,\n"
    "  noise N, load OHMS, baud N|line, status, help, quit, hangup (closes the line and ends the program)\n";

bool ReadFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream s;
  s << in.rdbuf();
  bytes = s.str();
  return true;
}

// Written under a temporary name and renamed, so that a script polling for the file never reads
// half a path.
bool WriteFileAtomically(const std::string& path, const std::string& bytes) {
  std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << bytes)) return false;
  }
  return std::rename(temporary.c_str(), path.c_str()) == 0;
}

bool ToDouble(const std::string& text, double& value) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return ec == std::errc() && end == text.data() + text.size();
}

int Fail(const std::string& message) {
  std::cerr << "instrument-sim: " << message << "\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  TInstrumentConfig config;
  config.Noise = 0.001;
  std::vector<TModelInfo> models = BuiltInModels();
  std::string modelName, linkFile, controlFifo, writeTable;
  uint32_t baud = 0;
  bool followLine = true;
  bool crlf = false;
  for (int i = 1; i < argc; ++i) {
    std::string option = argv[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= argc) return false;
      out = argv[++i];
      return true;
    };
    std::string v;
    double d;
    if (option == "--help" || option == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (option == "--crlf") {
      crlf = true;
    } else if (!value(v)) {
      return Fail("unknown option or missing value: " + option + "\n" + kUsage);
    } else if (option == "--model") {
      modelName = v;
    } else if (option == "--model-table") {
      std::string bytes;
      if (!ReadFile(v, bytes) || !ParseModelTable(bytes, models) || models.empty())
        return Fail("cannot read a model table from " + v);
    } else if (option == "--write-model-table") {
      writeTable = v;
    } else if (option == "--baud") {
      followLine = v == "line";
      if (!followLine && (!ToDouble(v, d) || d < 0 || d > 1e8)) return Fail("bad rate " + v);
      baud = followLine ? 0 : uint32_t(d);
    } else if (option == "--load" && ToDouble(v, d) && d > 0) {
      config.LoadOhms = d;
    } else if (option == "--noise" && ToDouble(v, d) && d >= 0) {
      config.Noise = d;
    } else if (option == "--settle" && ToDouble(v, d) && d > 0 && d <= 1) {
      config.Settle = d;
    } else if (option == "--seed" && ToDouble(v, d) && d >= 0) {
      config.Seed = uint32_t(d);
    } else if (option == "--link-file") {
      linkFile = v;
    } else if (option == "--control") {
      controlFifo = v;
    } else {
      return Fail("bad value for " + option + ": " + v);
    }
  }
  config.Model = models.front();
  if (!modelName.empty()) {
    const TModelInfo* model = FindModel(models, modelName);
    if (!model) return Fail("no model " + modelName + " in the table");
    config.Model = *model;
  }
  if (!writeTable.empty())
    return WriteFileAtomically(writeTable, BuildModelTable(models)) ? 0 : Fail("cannot write " + writeTable);

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  signal(SIGPIPE, SIG_IGN);

  TPtySimulator simulator(config, baud, followLine);
  if (crlf) simulator.With([](TInstrument& i) { i.SetCrLf(true); });
  if (!linkFile.empty() && !WriteFileAtomically(linkFile, simulator.DevicePath() + "\n"))
    return Fail("cannot write " + linkFile);
  std::cout << simulator.DevicePath() << std::endl;

  // Control lines from stdin and the FIFO; the FIFO is held open for writing as well, so that a
  // writer closing it is no end of input.
  std::vector<pollfd> sources = {{STDIN_FILENO, POLLIN, 0}};
  if (!controlFifo.empty()) {
    if (mkfifo(controlFifo.c_str(), 0600) != 0 && errno != EEXIST)
      return Fail("cannot create " + controlFifo);
    int fd = open(controlFifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return Fail("cannot open " + controlFifo);
    sources.push_back({fd, POLLIN, 0});
  }
  std::vector<std::string> partial(sources.size());
  bool running = true;
  while (running && !stopRequested && !simulator.HungUp()) {
    if (poll(sources.data(), sources.size(), -1) < 0) {
      if (errno == EINTR) continue;
      break;
    }
    for (size_t s = 0; s < sources.size() && running; ++s) {
      if (sources[s].revents == 0) continue;
      char buffer[1024];
      ssize_t n = read(sources[s].fd, buffer, sizeof buffer);
      if (n <= 0) {
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        sources[s].fd = -1;  // stdin ended: keep serving the line
        continue;
      }
      partial[s].append(buffer, size_t(n));
      for (size_t end; running && (end = partial[s].find('\n')) != std::string::npos;) {
        std::string line = partial[s].substr(0, end);
        partial[s].erase(0, end + 1);
        std::string response;
        running = simulator.Control(line, response);
        if (!response.empty()) std::cout << response << std::endl;
      }
    }
  }
  simulator.HangUp();
  return 0;
}
