// The intro with no display, frame by frame: the library runs headless,
// screen is a memory bitmap, and a frame counter stands in for the timer and
// the retrace; each frame is the intro's own runframe over its own globals. A
// frame as shown is the screen's pixels under the palette as pushed. Shared by
// the capture tool and the browser build.
#pragma once

#include "intro.h"

#include <cstdint>
#include <vector>

namespace capture {

extern long frame;  // frames run since start(); the one on screen now

// Brings the library up headless, loads the content from an intro program (its
// attachment) or a data file, and puts the first picture on the screen as the
// intro does. Null, or what went wrong.
const char *start(const char *datapath);
void advance();  // runs the next frame
void stop();     // gives back all start() took

uint64_t hash();  // FNV-1a over the screen's indices, then the shown palette

// The palette as the display shows it: each entry's red, green and blue,
// widened from the display's 6 bits to 8.
void shownpalette(unsigned char lookup[256][3]);
// The screen as 8-bit RGB, three bytes a pixel, as the display shows it.
void rgb(std::vector<unsigned char> &out);
// The same as RGBA, four bytes a pixel with alpha 255, a word a pixel.
void rgba(uint32_t *out);

}  // namespace capture
