// Where the data file checker finds the bytes it checks, and how the library
// gets the same bytes afterwards. A data file is read by name, a program's
// attachment from the end of the program's file; "#" means this program,
// which is opened by the system's own means. The library's own name for it is
// wrong outside ASCII: it takes the system's path byte by byte as if each
// byte were a character and encodes it again, so a program in a folder named
// in any other language could not find its data. Once checked, on Linux the
// unpacked bytes reach the library through a sealed file in memory whose
// name, /proc/self/fd/N, is plain ASCII: the library reads exactly the bytes
// that were checked, no temporary file is made, and the user's file name,
// which the library would misread outside a UTF-8 locale or past 1,023 bytes,
// never reaches it. Elsewhere the library opens the name itself: "#" on
// Windows, where it is built with a patch that finds the program by its wide
// name, and in the browser a file of the page's own in memory.
#include "datacheck.h"

#include "walk.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#ifdef ALLEGRO_WINDOWS
#include <winalleg.h>
#elif defined(__linux__)
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace datacheck {

const char *complain(const char *format, ...)
{
   static std::string why;  // the last complaint, one line
   va_list args, again;
   va_start(args, format);
   va_copy(again, args);
   int n = std::vsnprintf(nullptr, 0, format, args);
   why.resize(static_cast<size_t>(std::max(n, 0)) + 1);
   std::vsnprintf(&why[0], why.size(), format, again);
   why.pop_back();
   va_end(again);
   va_end(args);
   return why.c_str();
}

namespace {

// An open file, how a message names it, and its size in bytes.
struct File {
   FILE *f = nullptr;
   std::string name;
   long size = -1;
   ~File()
   {
      if (f)
         std::fclose(f);
   }
};

// The running program's own file.
void openself(File &file)
{
#ifdef ALLEGRO_WINDOWS
   // the wide name: the narrow one loses every character outside the code page
   std::wstring path(MAX_PATH, L'\0');
   DWORD n;
   while ((n = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()))) ==
          path.size())
      path.resize(2 * path.size());
   path.resize(n);
   int bytes = WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, nullptr, 0, nullptr, nullptr);
   std::string utf8(static_cast<size_t>(std::max(bytes, 1)), '\0');
   WideCharToMultiByte(CP_UTF8, 0, path.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
   file.name = "this program (" + std::string(utf8.c_str()) + ")";
   file.f = n ? _wfopen(path.c_str(), L"rb") : nullptr;
#else
   // the kernel's own name for the running program, whatever its path
   file.name = "this program (/proc/self/exe)";
   file.f = std::fopen("/proc/self/exe", "rb");
#endif
}

// Up to max bytes of the file from offset at.
Bytes readat(File &file, long at, long max)
{
   Bytes out(static_cast<size_t>(std::max(0L, std::min(max, file.size - at))));
   if (std::fseek(file.f, at, SEEK_SET) != 0)
      return {};
   out.resize(std::fread(out.data(), 1, out.size(), file.f));
   return out;
}

bool readall(File &file, long at, long n, Bytes &out)
{
   out = readat(file, at, n);
   return static_cast<long>(out.size()) == n;
}

const char *cannotread(const File &file)
{
   return complain("cannot read %s: %s", file.name.c_str(),
                   std::ferror(file.f) ? std::strerror(errno) : "it ends early");
}

// The data file attached to the end of a program, unpacked: exedat's sizes,
// stored and unpacked (negative when packed), the data file, "slh+" and the
// size of all of it.
const char *readattachment(File &file, const char *program, Bytes &bytes)
{
   Bytes tail, head, raw;
   if (file.size < 16 || !readall(file, file.size - 8, 8, tail) || be32(&tail[0]) != F_EXE_MAGIC)
      return complain("no data file is attached to the end of %s", program);
   long total = be32(&tail[4]);
   if (total <= 16 || total > file.size || !readall(file, file.size - total, 8, head))
      return complain("the data attached to %s claims %ld bytes of a %ld-byte file", program,
                      total, file.size);
   long stored = be32(&head[0]), unpacked = be32(&head[4]);
   long size = unpacked < 0 && unpacked >= -maxunpacked ? -unpacked : unpacked;
   // LZSS packs at best 18 bytes into 2, plus a flag bit
   if (stored != total - 16 || size <= 0 || size > maxunpacked ||
       (unpacked < 0 ? size > 9LL * stored : size != stored))
      return complain("the data attached to %s has inconsistent sizes (%ld stored, %ld "
                      "unpacked)", program, stored, unpacked);
   if (!readall(file, file.size - total + 8, stored, raw))
      return cannotread(file);
   if (unpacked > 0)
      bytes.swap(raw);
   else if (unpack(raw.data(), stored, size, bytes) != stored || long(bytes.size()) != size)
      return complain("the data attached to %s is damaged: it does not unpack", program);
   return nullptr;
}

// A data file on its own: its magic, then the data file, packed or not.
const char *readdatafile(File &file, Bytes &bytes)
{
   Bytes raw = readat(file, 0, maxunpacked + 5);
   if (std::ferror(file.f) || raw.size() < 4)  // cut short since its magic was read
      return cannotread(file);
   long n = static_cast<long>(raw.size()) - 4;
   if (be32(&raw[0]) == F_NOPACK_MAGIC)
      bytes.assign(raw.begin() + 4, raw.end());
   else if (unpack(raw.data() + 4, n, maxunpacked + 1, bytes) != n)
      return "the data file is damaged or too large: it does not unpack";
   if (static_cast<long>(bytes.size()) > maxunpacked)
      return "the data file is too large";
   return nullptr;
}

// The checked bytes loaded by the library.
DATAFILE *handover(const Bytes &bytes, const char *name, const char **why)
{
   // the library would quietly convert a picture of another depth through
   // whatever palette is set; the intro's check must see it as it was stored
   set_color_conversion(COLORCONV_NONE);
#ifdef __linux__
   (void)name;
   int fd = memfd_create("intro-data", MFD_CLOEXEC | MFD_ALLOW_SEALING);
   const unsigned char magic[4] = {'s', 'l', 'h', '.'};  // F_NOPACK_MAGIC: not packed
   bool written = fd >= 0 && write(fd, magic, 4) == 4;
   for (size_t at = 0; written && at < bytes.size();) {
      ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
      written = n > 0;
      at += written ? static_cast<size_t>(n) : 0;
   }
   // sealed: nothing can change the bytes between here and the library
   if (!written ||
       fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL) != 0) {
      *why = complain("the checked data could not be put in memory for the library: %s",
                      std::strerror(errno));
      if (fd >= 0)
         close(fd);
      return nullptr;
   }
   char path[32];
   std::snprintf(path, sizeof path, "/proc/self/fd/%d", fd);
   DATAFILE *data = load_datafile(path);
   close(fd);
#else
   (void)bytes;  // the library reads them itself, by the name
   DATAFILE *data = load_datafile(name);
#endif
   if (!data)
      *why = complain("the library could not load the checked data: %s",
                      std::strerror(*allegro_errno));
   return data;
}

}  // namespace

DATAFILE *load(const char *name, const char **why)
{
   File file;
   bool self = !std::strcmp(name, "#");
   if (self) {
      openself(file);
   } else {
      file.name = name;
      file.f = std::fopen(name, "rb");
   }
   if (!file.f) {
      *why = complain("cannot open %s: %s", file.name.c_str(), std::strerror(errno));
      return nullptr;
   }
   file.size = std::fseek(file.f, 0, SEEK_END) == 0 ? std::ftell(file.f) : -1;
   if (file.size < 0) {
      *why = cannotread(file);
      return nullptr;
   }
   Bytes magic = readat(file, 0, 4), bytes;
   long kind = magic.size() == 4 ? be32(&magic[0]) : 0;
   if (!self && (kind == F_PACK_MAGIC || kind == F_NOPACK_MAGIC))
      *why = readdatafile(file, bytes);
   else
      *why = readattachment(file, self ? "this program" : "the program", bytes);
   if (*why || (*why = walk(bytes)))
      return nullptr;
   return handover(bytes, name, why);
}

}  // namespace datacheck
