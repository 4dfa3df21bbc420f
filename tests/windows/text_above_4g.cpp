// A check of the Windows build of the library, run under Wine by windows.sh:
// text drawn into a bitmap whose memory lies above 4 GiB lands there. 64-bit
// Windows puts heap blocks there, and a library that keeps bitmap addresses in
// a 32-bit long writes elsewhere and crashes; Wine's own heap stays low, so
// the bitmap's rows are moved up by hand. Exit status 0 when the text is drawn,
// 1 when it is not, 2 when no memory above 4 GiB could be had.
#include <allegro.h>
#include <winalleg.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main()
{
   constexpr int w = 64, h = 16, colour = 7;
   if (install_allegro(SYSTEM_NONE, &errno, std::atexit) != 0) {
      std::fprintf(stderr, "the library could not start\n");
      return 2;
   }
   BITMAP *bmp = create_bitmap_ex(8, w, h);
   // MEM_TOP_DOWN asks for the highest free addresses
   auto *high = static_cast<unsigned char *>(
      VirtualAlloc(nullptr, w * h, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
   if (!bmp || !high || reinterpret_cast<std::uintptr_t>(high) >> 32 == 0) {
      std::fprintf(stderr, "no memory above 4 GiB\n");
      return 2;
   }
   for (int y = 0; y < h; y++)
      bmp->line[y] = high + y * w;

   textout_ex(bmp, font, "AAAA", 0, 0, colour, -1);
   int drawn = 0;
   for (int i = 0; i < w * h; i++)
      drawn += high[i] == colour;
   std::printf("%d pixels of text drawn at %p\n", drawn, static_cast<void *>(high));
   return drawn > 0 ? 0 : 1;
}
END_OF_MAIN()
