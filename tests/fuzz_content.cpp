// A libFuzzer target over the whole load-and-check path: each input is what a
// program might carry as its attachment, put behind a stand-in program and
// read as the intro reads its own (trailer, sizes, unpacking, the walk of the
// bytes, the library's loader, the check of the objects). Anything the library
// loads is unloaded again, so leaks show too.
#include "datacheck.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
   static const bool up = [] {
      install_allegro(SYSTEM_NONE, &errno, atexit);
      set_color_depth(8);
      return true;
   }();
   static const std::string path = "/dev/shm/fuzz-content-" + std::to_string(getpid());
   (void)up;

   FILE *f = std::fopen(path.c_str(), "wb");
   if (!f)
      std::abort();
   std::fputs("\177ELF", f);
   std::fwrite(data, 1, size, f);
   std::fclose(f);
   const char *why;
   if (DATAFILE *d = datacheck::load(path.c_str(), &why))
      unload_datafile(d);
   return 0;
}
