// Where the data file checker finds the bytes it checks, and how the library
// gets them afterwards: a data file by name, or the one attached to the end
// of a program. Another program's attachment reaches the library through a
// file of its own, since "#" only means the running one.
#include "datacheck.h"

#include "walk.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace datacheck {

const char *complain(const char *format, ...)
{
   static char why[200];  // the last complaint, one line
   va_list args;
   va_start(args, format);
   std::vsnprintf(why, sizeof why, format, args);
   va_end(args);
   return why;
}

namespace {

struct Attachment {
   long start;     // offset of the attachment in the program file, bytes
   long stored;    // size of the data file as stored, bytes
   long unpacked;  // its unpacked size, bytes; negative when packed
};

// Up to max bytes of a file from offset at; false if it could not be read.
bool readfile(const char *path, long at, long max, Bytes &out)
{
   FILE *f = std::fopen(path, "rb");
   if (!f)
      return false;
   long size = std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
   bool ok = size >= at && std::fseek(f, at, SEEK_SET) == 0;
   out.resize(ok ? static_cast<size_t>(std::min(max, size - at)) : 0);
   out.resize(ok ? std::fread(out.data(), 1, out.size(), f) : 0);
   std::fclose(f);
   return ok;
}

// Where a program's attached data file lies, its sizes checked against the
// file; null, or what is wrong.
const char *findattachment(const char *program, Attachment *where)
{
   Bytes tail, head;
   FILE *f = std::fopen(program, "rb");
   long size = f && std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
   if (f)
      std::fclose(f);
   if (size < 16 || !readfile(program, size - 8, 8, tail) || tail.size() != 8 ||
       std::string(tail.begin(), tail.begin() + 4) != "slh+")
      return "the data file attached to this program is missing or unreadable";
   long total = be32(&tail[4]);
   if (total <= 16 || total > size || !readfile(program, size - total, 8, head) ||
       head.size() != 8)
      return complain("the data attached to this program claims %ld bytes of a "
                      "%ld-byte file", total, size);
   where->start = size - total;
   where->stored = be32(&head[0]);
   where->unpacked = be32(&head[4]);
   long unpacked = std::labs(where->unpacked);
   // LZSS packs at best 18 bytes into 2, plus a flag bit
   if (where->stored != total - 16 || unpacked == 0 || unpacked > maxunpacked ||
       (where->unpacked < 0 ? unpacked > 9 * where->stored : unpacked != where->stored))
      return complain("the data attached to this program has inconsistent sizes "
                      "(%ld stored, %ld unpacked)", where->stored, where->unpacked);
   return nullptr;
}

// The attachment of a program as stored, its sizes checked first.
const char *attachedbytes(const char *program, Attachment &a, Bytes &raw)
{
   if (const char *bad = findattachment(program, &a))
      return bad;
   if (!readfile(program, a.start + 8, a.stored, raw) || static_cast<long>(raw.size()) != a.stored)
      return "the data file attached to this program is missing or unreadable";
   return nullptr;
}

// A data file's bytes after its magic or the attachment's header, unpacked.
const char *readdatafile(const char *name, Bytes &bytes)
{
   Bytes raw;
   if (std::string(name) == "#") {
      char self[1024];
      Attachment a;
      get_executable_name(self, sizeof self);
      if (const char *bad = attachedbytes(self, a, raw))
         return bad;
      if (a.unpacked > 0) {
         bytes.swap(raw);
         return nullptr;
      }
      if (unpack(raw.data(), a.stored, -a.unpacked, bytes) != a.stored ||
          static_cast<long>(bytes.size()) != -a.unpacked)
         return "the data attached to this program is damaged: it does not unpack";
      return nullptr;
   }

   // a file: the packed-file magic, then the data file, packed or not
   if (std::string(name).find('#') != std::string::npos)
      return "a data file's name may not hold '#', which the library reads as a path into it";
   if (!readfile(name, 0, maxunpacked + 5, raw) || raw.size() < 4)
      return "the data file is missing or unreadable";
   std::string magic(raw.begin(), raw.begin() + 4);
   if (magic == "slh.") {
      bytes.assign(raw.begin() + 4, raw.end());
   } else if (magic == "slh!") {
      long n = static_cast<long>(raw.size()) - 4;
      if (unpack(raw.data() + 4, n, maxunpacked + 1, bytes) != n)
         return "the data file is damaged or too large: it does not unpack";
   } else {
      return "the data file is missing or unreadable";
   }
   if (static_cast<long>(bytes.size()) > maxunpacked)
      return "the data file is too large";
   return nullptr;
}

}  // namespace

DATAFILE *load(const char *name, const char **why)
{
   Bytes bytes;
   if ((*why = readdatafile(name, bytes)) || (*why = walk(bytes)))
      return nullptr;
   // the library would quietly convert a picture of another depth through
   // whatever palette is set; the intro's check must see it as it was stored
   set_color_conversion(COLORCONV_NONE);
   DATAFILE *data = load_datafile(name);
   if (!data)
      *why = "the data file attached to this program is missing or unreadable";
   return data;
}

DATAFILE *loadattached(const char *program, const char **why)
{
   Attachment a;
   Bytes raw;
   if ((*why = attachedbytes(program, a, raw)))
      return nullptr;

   // the library reads appended data only from the running program; anything
   // else goes through a file of its own, magic first
   const char *tmp = std::getenv("TMPDIR");
   std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/intro-data-XXXXXX";
   int fd = mkstemp(&path[0]);
   FILE *out = fd >= 0 ? fdopen(fd, "wb") : nullptr;
   bool ok = out && std::fputs(a.unpacked < 0 ? "slh!" : "slh.", out) >= 0 &&
             std::fwrite(raw.data(), 1, raw.size(), out) == raw.size();
   ok = (out ? std::fclose(out) == 0 : false) && ok;
   DATAFILE *data = nullptr;
   if (ok)
      data = load(path.c_str(), why);
   else
      *why = "the attached data could not be copied out to read it";
   if (fd >= 0)
      unlink(path.c_str());
   return data;
}

}  // namespace datacheck
