// The toolbar's button pictures as bitmap resources: 14 drawings in two sizes, "AUTO" ... at
// 24 x 24 and "SMALLAUTO" ... at 16 x 16, 16 colours, with olive (0x808000) transparent.
#pragma once

// Registers the pictures (once); the toolbar calls it before it loads any.
void RegisterPlotToolBarImages();
