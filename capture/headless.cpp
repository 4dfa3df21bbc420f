// Runs the intro with no display: starts the library headless with a memory
// bitmap for the screen, steps the intro's own frames, and reads back each
// frame as shown, as a hash or as RGB pixels.
#include "headless.h"

#include "datacheck.h"
#include "intro.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace capture {

long frame;  // frames run since start()

static BITMAP *screenbmp;  // stands in for the display
static DATAFILE *content;  // the logo and the font come from here

static void noretrace() {}

const char *start(const char *datapath)
{
   if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
      return "the library could not start without a display";
   intro::resetintro();
   set_color_depth(8);
   screen = screenbmp = create_bitmap(intro::screenw, intro::screenh);
   if (!screenbmp)
      return "the 640x480 screen could not be created";
   clear_bitmap(screenbmp);
   set_palette(black_palette);

   const char *why;
   content = datacheck::load(datapath, &why);
   if (!content || (why = intro::firstpicture(content)))
      return why;
   frame = 0;
   return nullptr;
}

void stop()
{
   if (intro::buffer)
      destroy_bitmap(intro::buffer);
   if (content)
      unload_datafile(content);
   if (screenbmp)
      destroy_bitmap(screenbmp);
   intro::resetintro();
   screen = screenbmp = nullptr;
   content = nullptr;
   allegro_exit();
}

void advance()
{
   intro::runframe(noretrace);
   frame++;
}

// ---- the frame as shown ---------------------------------------------------------

uint64_t hash()
{
   uint64_t h = 0xcbf29ce484222325u;
   auto mix = [&h](unsigned char byte) { h = (h ^ byte) * 0x100000001b3u; };
   for (int y = 0; y < intro::screenh; y++)
      for (int x = 0; x < intro::screenw; x++)
         mix(screen->line[y][x]);
   PALETTE shown;
   get_palette(shown);
   for (const RGB &e : shown) {
      mix(e.r);
      mix(e.g);
      mix(e.b);
   }
   return h;
}

static unsigned char widen(unsigned char six)
{
   return static_cast<unsigned char>(six << 2 | six >> 4);
}

void shownpalette(unsigned char lookup[256][3])
{
   PALETTE shown;
   get_palette(shown);
   for (int i = 0; i < 256; i++)
      lookup[i][0] = widen(shown[i].r), lookup[i][1] = widen(shown[i].g),
      lookup[i][2] = widen(shown[i].b);
}

void rgb(std::vector<unsigned char> &out)
{
   unsigned char lookup[256][3];
   shownpalette(lookup);
   out.resize(size_t(intro::screenw) * intro::screenh * 3);
   unsigned char *p = out.data();
   for (int y = 0; y < intro::screenh; y++)
      for (int x = 0; x < intro::screenw; x++, p += 3)
         std::memcpy(p, lookup[screen->line[y][x]], 3);
}

void rgba(uint32_t *out)
{
   unsigned char lookup[256][3];
   shownpalette(lookup);
   uint32_t word[256];
   for (int i = 0; i < 256; i++) {
      const unsigned char bytes[4] = {lookup[i][0], lookup[i][1], lookup[i][2], 255};
      std::memcpy(&word[i], bytes, 4);  // byte order in memory, whatever the machine's
   }
   for (int y = 0; y < intro::screenh; y++) {
      const unsigned char *row = screen->line[y];
      for (int x = 0; x < intro::screenw; x++)
         *out++ = word[row[x]];
   }
}

}  // namespace capture
