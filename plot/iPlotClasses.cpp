#include "plot/iPlotClasses.h"

#include "plot/iPlot.h"
#include "plot/iXYPlotChannel.h"

void RegisterPlotClasses() { RegisterClasses({&TiPlot::ClassInfo(), &TiXYPlotChannel::ClassInfo()}); }

// Kept in every program by the library's link interface, which names this symbol as undefined.
extern "C" {
extern const bool pl_plot_classes_registered;
const bool pl_plot_classes_registered = (RegisterPlotClasses(), true);
}
