// The intro's side of the browser build: the page (page.js) calls these to
// start the intro headless from a checked data file, run frames and read each
// frame as RGBA for its canvas. The frames are the capture tool's, from
// capture/headless.cpp; the page does the pacing and the input.
#include "headless.h"

#include <allegro.h>

#include <cinttypes>
#include <cstdio>
#include <vector>

// The library's own lists of what a program links, cut to what a headless
// 8-bit screen uses: without them every colour depth's drawing code and every
// driver comes along, a fifth of the download.
BEGIN_COLOR_DEPTH_LIST
COLOR_DEPTH_8
END_COLOR_DEPTH_LIST
BEGIN_GFX_DRIVER_LIST
END_GFX_DRIVER_LIST
BEGIN_DIGI_DRIVER_LIST
END_DIGI_DRIVER_LIST
BEGIN_MIDI_DRIVER_LIST
END_MIDI_DRIVER_LIST
BEGIN_JOYSTICK_DRIVER_LIST
END_JOYSTICK_DRIVER_LIST

static std::vector<uint32_t> pixels(size_t(intro::screenw) * intro::screenh);  // RGBA

extern "C" {

// Null, or why the intro cannot start (the data refused, say).
const char *web_start(const char *datapath)
{
   const char *why = capture::start(datapath);
   if (why)
      capture::stop();
   return why;
}

void web_stop()
{
   capture::stop();
}

// Runs n frames; the number of the frame now on screen.
long web_advance(long n)
{
   while (n-- > 0)
      capture::advance();
   return capture::frame;
}

// The frame on screen, 640x480 RGBA, as ImageData wants it.
const uint32_t *web_rgba()
{
   capture::rgba(pixels.data());
   return pixels.data();
}

// The screen's size in pixels, and the intro's frames a second.
int web_width()
{
   return intro::screenw;
}

int web_height()
{
   return intro::screenh;
}

double web_framerate()
{
   return intro::framerate;
}

// The frame's hash, as intro-capture --hash prints it.
const char *web_hash()
{
   static char text[17];
   std::snprintf(text, sizeof text, "%016" PRIx64, capture::hash());
   return text;
}

}  // extern "C"
