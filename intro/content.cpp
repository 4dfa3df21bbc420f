// Loading and checking the content. The intro's picture and font come from the
// data file attached to its own executable, and nothing from it is used before
// this has looked at it: at least two objects, a 640x480 8-bit bitmap first
// and, second, a font no taller than a band that holds every character the
// texts use. A complaint is one line saying what is wrong.
#include "intro.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace intro {

constexpr int firstchar = 32;   // ' ', the first character the texts use
constexpr int lastchar = 126;   // '~', the last

static char why[200];  // the last complaint, one line

static const char *complain(const char *format, int a = 0, int b = 0, int c = 0)
{
   std::snprintf(why, sizeof why, format, a, b, c);
   return why;
}

static bool hascharacter(FONT *f, int c)
{
   int ranges = get_font_ranges(f);
   for (int i = 0; i < ranges; i++)
      if (get_font_range_begin(f, i) <= c && c <= get_font_range_end(f, i))
         return true;
   return false;
}

const char *checkcontent(const DATAFILE *data)
{
   if (!data)
      return "the data file attached to this program is missing or unreadable";

   int objects = 0;
   while (data[objects].type != DAT_END)
      objects++;
   if (objects < 2)
      return complain("the attached data file holds %d object(s); it needs a "
                      "logo bitmap and a font", objects);

   if (data[0].type != DAT_BITMAP || !data[0].dat)
      return "object 0 of the attached data file is not a bitmap";
   BITMAP *bmp = static_cast<BITMAP *>(data[0].dat);
   if (bmp->w != screenw || bmp->h != screenh || bitmap_color_depth(bmp) != 8)
      return complain("the logo is %dx%d at %d bits per pixel; it must be "
                      "640x480 at 8", bmp->w, bmp->h, bitmap_color_depth(bmp));

   if (data[1].type != DAT_FONT || !data[1].dat)
      return "object 1 of the attached data file is not a font";
   FONT *f = static_cast<FONT *>(data[1].dat);
   if (text_height(f) > bandheight)
      return complain("the font is %d pixels high; it must be at most %d",
                      text_height(f), bandheight);
   for (int c = firstchar; c <= lastchar; c++)
      if (!hascharacter(f, c))
         return complain("the font has no character %d; it needs %d to %d", c,
                         firstchar, lastchar);

   return nullptr;
}

// ---- the attachment ----------------------------------------------------------
// At the end of a program the library's exedat leaves: [stored size][unpacked
// size, negative when packed][the data file without its magic]["slh+"][size of
// all of it], the sizes big-endian. The library trusts these numbers; they are
// checked here against the file before it is asked to read anything.

constexpr long maxunpacked = 16L << 20;  // far more than any content, bytes

static long be32(const unsigned char *p)
{
   unsigned long v = static_cast<unsigned long>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
   return static_cast<long>(static_cast<int32_t>(v));
}

const char *findattachment(const char *program, Attachment *where)
{
   FILE *f = std::fopen(program, "rb");
   if (!f)
      return complain("the program file could not be opened to read its data");
   unsigned char tail[8], head[8];
   long size = -1;
   bool ok = std::fseek(f, 0, SEEK_END) == 0 && (size = std::ftell(f)) >= 16 &&
             std::fseek(f, size - 8, SEEK_SET) == 0 && std::fread(tail, 1, 8, f) == 8;
   long total = ok ? be32(tail + 4) : 0;
   ok = ok && std::string(reinterpret_cast<char *>(tail), 4) == "slh+";
   if (!ok) {
      std::fclose(f);
      return "the data file attached to this program is missing or unreadable";
   }
   ok = total > 16 && total <= size && std::fseek(f, size - total, SEEK_SET) == 0 &&
        std::fread(head, 1, 8, f) == 8;
   std::fclose(f);
   if (!ok)
      return complain("the data attached to this program claims %d bytes, more "
                      "than the file holds", static_cast<int>(total));
   where->start = size - total;
   where->stored = be32(head);
   where->unpacked = be32(head + 4);
   long unpacked = std::labs(where->unpacked);
   // LZSS packs at best 18 bytes into 2, plus a flag bit
   if (where->stored != total - 16 || unpacked == 0 || unpacked > maxunpacked ||
       (where->unpacked < 0 ? unpacked > 9 * where->stored : unpacked != where->stored))
      return complain("the data attached to this program has inconsistent sizes "
                      "(%d stored, %d unpacked)", static_cast<int>(where->stored),
                      static_cast<int>(where->unpacked));
   return nullptr;
}

DATAFILE *loadattached(const char *program, const char **complaint)
{
   Attachment a;
   if ((*complaint = findattachment(program, &a)))
      return nullptr;

   // the library reads appended data only from the running program; anything
   // else goes through a file of its own, magic first
   const char *tmp = std::getenv("TMPDIR");
   std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/intro-data-XXXXXX";
   int fd = mkstemp(&path[0]);
   FILE *in = std::fopen(program, "rb");
   FILE *out = fd >= 0 ? fdopen(fd, "wb") : nullptr;
   bool ok = in && out && std::fseek(in, a.start + 8, SEEK_SET) == 0 &&
             std::fputs(a.unpacked < 0 ? "slh!" : "slh.", out) >= 0;
   char block[65536];
   for (long left = a.stored; ok && left > 0;) {
      size_t n = std::fread(block, 1, std::min<long>(left, sizeof block), in);
      ok = n > 0 && std::fwrite(block, 1, n, out) == n;
      left -= static_cast<long>(n);
   }
   ok = (out ? std::fclose(out) == 0 : false) && ok;
   if (in)
      std::fclose(in);
   DATAFILE *data = nullptr;
   if (ok)
      data = loadcontent(path.c_str(), complaint);
   else
      *complaint = "the attached data could not be copied out to read it";
   if (fd >= 0)
      unlink(path.c_str());
   return data;
}

// ---- loading ------------------------------------------------------------------

DATAFILE *loadcontent(const char *name, const char **complaint)
{
   // the library would quietly convert a picture of another depth through
   // whatever palette is set; the check must see it as it was stored
   set_color_conversion(COLORCONV_NONE);
   DATAFILE *data = load_datafile(name);
   *complaint = checkcontent(data);
   if (*complaint && data) {
      unload_datafile(data);
      data = nullptr;
   }
   return data;
}

}  // namespace intro
