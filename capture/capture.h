// Frame-exact capture of the intro with no display (headless.h runs the
// frames). A captured frame is what the display shows after that frame's
// refresh: the screen's pixels under the palette as pushed.
#pragma once

#include "headless.h"

#include <string>
#include <vector>

namespace capture {

// Writes the screen as an 8-bit indexed PNG with the shown palette.
bool writeindexed(const std::string &path);
// Writes an RGB picture as a PNG.
bool writergb(const std::string &path, const std::vector<unsigned char> &pixels,
              int w, int h);

// A contact sheet: frames as half-size thumbnails in columns, each labelled.
struct Sheet {
   int columns = 4;    // thumbnails a row
   long count = 0;     // thumbnails on it so far
   long w = 0, h = 0;  // pixels
   std::vector<unsigned char> pixels;  // RGB
};
// Lays out and allocates room for that many frames; empty, or why a sheet of
// that size cannot be made: past libpng's limits or the memory allowed.
std::string sheetsize(Sheet &sheet, long frames);
void addtosheet(Sheet &sheet);  // the current frame, labelled

}  // namespace capture
