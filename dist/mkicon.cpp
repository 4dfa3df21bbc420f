// Makes the desktop icon from the intro's logo: logo.pcx (the letters in colour
// 1 on colour 0) shrunk onto a black square, the logo keeping its 4:3 shape
// between black bars above and below, each icon pixel a grey as bright as the
// share of its logo pixels that are letters. The same logo always gives the
// same bytes. A logo that cannot be read or a bad size ends it with a message
// and status 2.
//
//    mkicon LOGO.pcx SIZE OUT.png
#include "capture.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
   auto fail = [](const std::string &what) {
      std::fprintf(stderr, "mkicon: %s\n", what.c_str());
      return 2;
   };
   if (argc != 4)
      return fail("usage: mkicon LOGO.pcx SIZE OUT.png");
   char *end;
   long size = std::strtol(argv[2], &end, 10);
   if (*end || size < 16 || size > 640)
      return fail(std::string("the size must be 16 to 640 pixels, not ") + argv[2]);
   int s = static_cast<int>(size), h = s * 3 / 4, top = (s - h) / 2;

   if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
      return fail("the library could not be started");
   set_color_conversion(COLORCONV_NONE);  // keep the indices, not colours
   PALETTE pal;
   BITMAP *logo = load_pcx(argv[1], pal);
   if (!logo || logo->w != 640 || logo->h != 480 || bitmap_color_depth(logo) != 8) {
      if (logo)
         destroy_bitmap(logo);
      return fail(std::string(argv[1]) + " is not a readable 640x480 8-bit PCX");
   }

   std::vector<unsigned char> icon(size_t(s) * s * 3, 0);
   for (int y = 0; y < h; y++)
      for (int x = 0; x < s; x++) {
         // the logo pixels whose centres fall inside this icon pixel
         int x0 = x * 640 / s, x1 = (x + 1) * 640 / s;
         int y0 = y * 480 / h, y1 = (y + 1) * 480 / h;
         int lit = 0;
         for (int ly = y0; ly < y1; ly++)
            for (int lx = x0; lx < x1; lx++)
               lit += logo->line[ly][lx] == 1;
         unsigned char grey =
            static_cast<unsigned char>((255 * lit + (x1 - x0) * (y1 - y0) / 2) /
                                       ((x1 - x0) * (y1 - y0)));
         unsigned char *px = &icon[(size_t(top + y) * s + x) * 3];
         px[0] = px[1] = px[2] = grey;
      }
   destroy_bitmap(logo);
   if (!capture::writergb(argv[3], icon, s, s))
      return fail(std::string("cannot write ") + argv[3]);
   return 0;
}
