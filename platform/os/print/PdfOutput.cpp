// Finished documents as PDF: each page drawn at the printer's resolution, placed as an image on
// its sheet through cairo's PDF surface.
#include <cairo-pdf.h>
#include <cairo.h>

#include <cstdio>

#include "platform/os/print/WinSpool.h"

bool WritePdfDocument(const TPrintDocument& document, const std::string& file, std::string& error) {
  const TPrinterDeviceInfo& d = document.Device;
  double sx = 72.0 / d.DpiX, sy = 72.0 / d.DpiY;
  std::string part = file + ".part";
  cairo_surface_t* pdf = cairo_pdf_surface_create(part.c_str(), d.PhysicalWidth * sx, d.PhysicalHeight * sy);
  if (cairo_surface_status(pdf) != CAIRO_STATUS_SUCCESS) {
    error = "Cannot write the file \"" + file + "\": " + cairo_status_to_string(cairo_surface_status(pdf));
    cairo_surface_destroy(pdf);
    std::remove(part.c_str());
    return false;
  }
  if (!document.Title.empty())
    cairo_pdf_surface_set_metadata(pdf, CAIRO_PDF_METADATA_TITLE, document.Title.c_str());
  cairo_t* cr = cairo_create(pdf);
  TSurface page(d.PrintableWidth, d.PrintableHeight);
  for (const std::vector<uint8_t>& recorded : document.Pages) {
    if (!RenderPrintPage(recorded, page)) {
      for (int y = 0; y < page.Height; ++y)
        for (int x = 0; x < page.Width; ++x) page.Row(y)[x] = 0xFFFFFFFFu;
    }
    cairo_surface_t* image =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(page.Pixels), CAIRO_FORMAT_RGB24,
                                            page.Width, page.Height, page.Stride);
    cairo_save(cr);
    cairo_translate(cr, d.OffsetX * sx, d.OffsetY * sy);
    cairo_scale(cr, sx, sy);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_show_page(cr);
    cairo_surface_destroy(image);
  }
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  cairo_surface_finish(pdf);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(pdf);
  cairo_surface_destroy(pdf);
  if (status != CAIRO_STATUS_SUCCESS || std::rename(part.c_str(), file.c_str()) != 0) {
    error = "Cannot write the file \"" + file + "\": " +
            (status != CAIRO_STATUS_SUCCESS ? cairo_status_to_string(status) : "the file cannot be replaced");
    std::remove(part.c_str());
    return false;
  }
  return true;
}
