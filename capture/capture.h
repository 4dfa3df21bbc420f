// Frame-exact capture of the intro with no display. The library runs headless,
// screen is a memory bitmap, and a frame counter stands in for the timer and
// the retrace; each frame is the intro's own runframe over its own globals. A
// captured frame is what the display shows after that frame's refresh: the
// screen's pixels under the palette as pushed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace capture {

constexpr int width = 640, height = 480;  // pixels
constexpr double rate = 1193181.0 / 19886;  // the intro's frames per second

extern long frame;  // frames run since start(); the one on screen now

// Brings the library up headless, loads the content from an intro program (its
// attachment) or a data file, and puts the first picture on the screen as the
// intro does. Null, or what went wrong.
const char *start(const char *datapath);
void advance();  // runs the next frame
void stop();     // gives back all start() took

uint64_t hash();  // FNV-1a over the screen's indices, then the shown palette
// The screen as 8-bit RGB, three bytes a pixel, palette components widened
// from 6 bits as the display does.
void rgb(std::vector<unsigned char> &out);
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
// Lays out and allocates room for that many frames; null, or why a sheet of
// that size cannot be made: past libpng's limits or the memory allowed.
const char *sheetsize(Sheet &sheet, long frames);
void addtosheet(Sheet &sheet);  // the current frame, labelled

}  // namespace capture
