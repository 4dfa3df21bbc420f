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
   int columns = 4, count = 0, w = 0, h = 0;
   std::vector<unsigned char> pixels;  // RGB
};
void sheetsize(Sheet &sheet, int frames);  // lays out room for that many
void addtosheet(Sheet &sheet);             // the current frame, labelled

}  // namespace capture
