// A libFuzzer target over the whole load-and-check path: each input is what a
// program might carry as its attachment, put behind a stand-in program in a
// file in memory and read as the intro reads its own (trailer, sizes,
// unpacking, the walk of the bytes, the library's loader, the check of the
// objects). Anything the library loads is unloaded again, so leaks show too.
#include "datacheck.h"
#include "intro.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
   static const bool up = [] {
      install_allegro(SYSTEM_NONE, &errno, atexit);
      set_color_depth(8);
      return true;
   }();
   (void)up;

   int fd = memfd_create("fuzz-program", MFD_CLOEXEC);
   if (fd < 0 || write(fd, "\177ELF", 4) != 4 || write(fd, data, size) != ssize_t(size))
      std::abort();
   char path[32];
   std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
   const char *why;
   if (DATAFILE *d = datacheck::load(path, &why)) {
      intro::checkcontent(d);
      unload_datafile(d);
   }
   close(fd);
   return 0;
}
