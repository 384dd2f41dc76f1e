// The system's print service through libcups: its queues, their media and copies, and jobs.
#include <cups/cups.h>

#include <cmath>
#include <cstdlib>

#include "platform/os/print/WinSpool.h"

namespace {

// A medium of the queue as one of the standard forms when the size matches within a millimetre,
// else under a code of the queue's own (above DMPAPER_USER).
TSpoolPaper CupsPaper(const cups_size_t& size, int16_t& nextOwnCode) {
  TSpoolPaper paper;
  paper.Width = (size.width + 5) / 10;
  paper.Height = (size.length + 5) / 10;
  paper.Left = (size.left + 5) / 10;
  paper.Top = (size.top + 5) / 10;
  paper.Right = (size.right + 5) / 10;
  paper.Bottom = (size.bottom + 5) / 10;
  for (const TSpoolPaper& s : StandardPapers())
    if (std::abs(s.Width - paper.Width) <= 10 && std::abs(s.Height - paper.Height) <= 10) {
      paper.Code = s.Code;
      paper.Name = s.Name;
      return paper;
    }
  paper.Code = nextOwnCode++;
  paper.Name = size.media;
  return paper;
}

class CupsPrintSystemImpl : public IPrintSystem {
 public:
  std::vector<TSpoolPrinter> Printers() override {
    std::vector<TSpoolPrinter> result;
    cupsSetServer(nullptr);  // follow CUPS_SERVER as it is now
    cups_dest_t* dests = nullptr;
    int n = cupsGetDests2(CUPS_HTTP_DEFAULT, &dests);
    for (int i = 0; i < n; ++i) {
      cups_dest_t* dest = &dests[i];
      if (dest->instance) continue;
      TSpoolPrinter p;
      p.Name = dest->name;
      p.Driver = "CUPS";
      p.Port = dest->name;
      p.IsDefault = dest->is_default != 0;
      if (cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest)) {
        int16_t ownCode = DMPAPER_USER + 1;
        int count = cupsGetDestMediaCount(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT);
        for (int m = 0; m < count && m < 256; ++m) {
          cups_size_t size{};
          if (cupsGetDestMediaByIndex(CUPS_HTTP_DEFAULT, dest, info, m, CUPS_MEDIA_FLAGS_DEFAULT, &size) &&
              size.width > 0 && size.length > 0)
            p.Papers.push_back(CupsPaper(size, ownCode));
        }
        cups_size_t def{};
        if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT, &def))
          for (const TSpoolPaper& paper : p.Papers)
            if (std::abs(paper.Width - def.width / 10) <= 1 &&
                std::abs(paper.Height - def.length / 10) <= 1) {
              p.DefaultPaper = paper.Code;
              break;
            }
        if (ipp_attribute_t* copies = cupsFindDestSupported(CUPS_HTTP_DEFAULT, dest, info, "copies")) {
          int upper = 1;
          ippGetRange(copies, 0, &upper);
          p.MaxCopies = std::max(1, std::min(upper, 9999));
        }
        cupsFreeDestInfo(info);
      }
      // A queue that reports no media (a raw queue) takes the standard forms.
      if (p.Papers.empty()) {
        p.Papers = StandardPapers();
        p.MaxCopies = std::max(p.MaxCopies, 999);
      }
      result.push_back(std::move(p));
    }
    cupsFreeDests(n, dests);
    return result;
  }

  bool Submit(const std::string& printer, const std::string& pdfFile, const std::string& title, int copies,
              std::string& error) override {
    cupsSetServer(nullptr);
    cups_option_t* options = nullptr;
    int count = cupsAddOption("copies", std::to_string(std::max(1, copies)).c_str(), 0, &options);
    int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, printer.c_str(), pdfFile.c_str(),
                             title.empty() ? "Document" : title.c_str(), count, options);
    cupsFreeOptions(count, options);
    if (job > 0) return true;
    error = "The print service refused the job: " + std::string(cupsLastErrorString());
    return false;
  }
};

}  // namespace

std::shared_ptr<IPrintSystem> CupsPrintSystem() {
  static const std::shared_ptr<IPrintSystem> system = std::make_shared<CupsPrintSystemImpl>();
  return system;
}
