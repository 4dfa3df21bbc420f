// What the data file checker checks: a data file's bytes, unpacked and walked
// the way the library's loader will walk them. The loader believes every size
// and count it meets: a damaged byte can make it allocate gigabytes, run off
// the end of a buffer or read a font through the wrong table, and even a
// well-formed file can ask it for millions of glyphs or properties. So only
// bitmaps, fonts and plain data are accepted, each checked field by field, and
// everything the loader would build is counted against the budgets below.
#include "walk.h"

#include "datacheck.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace datacheck {

// ---- budgets ---------------------------------------------------------------
// Everything a data file can make the library build or do, bounded while its
// bytes are walked, so that any file is refused or loaded within a second and
// a few tens of MiB. The intro's own data file (40 KB, its objects 330 KB
// unpacked) holds a 640x480 8-bit logo, a mono font of one range of 95 glyphs
// 40 pixels high, dat's info object and 12 properties, the longest 15 bytes,
// and makes the library allocate about 410 KB; each budget leaves it room
// many times over, and no more.
constexpr long maxobjects = 64;           // objects in the file: the content has 3
constexpr int maxside = 4096;             // a bitmap's width or height, pixels
constexpr long maxbitmappixels = 2L << 20;  // of all bitmaps together: 6.8x the logo
constexpr long maxranges = 16;            // ranges of one font: the content's has 1
constexpr long maxglyphs = 4096;          // glyphs of all fonts together: 43x the content's 95
constexpr int maxglyph = 1024;            // a glyph's width or height, pixels
constexpr long maxglyphpixels = 1L << 20; // of all glyphs together: 13x the content's 77,960
constexpr long maxproperties = 32;        // on one object: dat gives a bitmap 7; the library
                                          // grows the list a copy at a time, so n cost n^2
constexpr long maxallproperties = 256;    // in the whole file: 21x the content's 12
constexpr long maxproperty = 4096;        // one property's bytes: a path of PATH_MAX
constexpr long maxallocated = 16L << 20;  // all the library allocates to load the file,
                                          // bytes, as counted by Budget: 40x the content

// ---- unpacking -------------------------------------------------------------
// The library's own unpacker cannot serve here. It unpacks only a file it
// opens by name (a packfile over memory, pack_fopen_vtable's, is never
// unpacked: pack_fopen_chunk refuses it), and where a stream reads ring bytes
// it never wrote it copies whatever its memory held, so that what was checked
// would not be what it loads. This one refuses such a stream.

long unpack(const unsigned char *in, long n, long limit, Bytes &out)
{
   // the library's LZSS: a 4 KiB ring, writing from 4078, of which the first
   // 4078 bytes start as zeros and the last 18 are unset until written; a flag
   // byte before every eight items, a set bit for a literal byte, a clear one
   // for a 12-bit ring position and a 4-bit length of 3 to 18
   constexpr int ring = 4096, longest = 18, shortest = 3, start = ring - longest;
   unsigned char text[ring] = {};
   int r = start;
   unsigned flags = 0;
   long at = 0, made = 0;
   // at most 18 bytes out of every 2 in, so this is room enough
   out.resize(static_cast<size_t>(std::min(limit, 9 * n + longest)));
   unsigned char *dst = out.data();
   while (made < limit) {
      if (((flags >>= 1) & 256) == 0) {
         if (at >= n)
            break;
         flags = in[at++] | 0xFF00u;  // the high byte counts the eight
      }
      if (flags & 1) {
         if (at >= n)
            break;
         dst[made++] = text[r] = in[at++];
         r = (r + 1) & (ring - 1);
      } else {
         if (at + 2 > n)
            break;
         int pos = in[at] | (in[at + 1] & 0xF0) << 4;
         int len = (in[at + 1] & 0x0F) + shortest;
         at += 2;
         for (int k = 0; k < len && made < limit; k++) {
            int p = (pos + k) & (ring - 1);
            if (made < longest && p >= start + made)
               return -1;  // unset: the library would copy whatever its memory held
            dst[made++] = text[r] = text[p];
            r = (r + 1) & (ring - 1);
         }
      }
   }
   out.resize(static_cast<size_t>(made));
   return at;
}

// ---- walking the objects -----------------------------------------------------

namespace {

constexpr long datakind = DAT_ID('D', 'A', 'T', 'A');  // plain bytes
constexpr long infokind = DAT_ID('i', 'n', 'f', 'o');  // dat's and the grabber's notes
constexpr long block = 256;  // a structure of the library's beside a block's data, and
                             // the C allocator's bookkeeping, bytes at most
constexpr long reader = 16L << 10;  // the library's reader of one object: buffer, ring

// A bounds-checked cursor over a byte range; a read past the end fails it.
struct Cursor {
   const unsigned char *p;
   long n, at = 0;
   bool ok = true;

   bool has(long k) { return ok = ok && k >= 0 && k <= n - at; }
   long getc() { return has(1) ? p[at++] : -1; }
   long mgetw() { return has(2) ? (at += 2, p[at - 2] << 8 | p[at - 1]) : -1; }
   long mgetl() { return has(4) ? (at += 4, be32(p + at - 4)) : -1; }
   bool skip(long k) { return has(k) && (at += k, true); }
};

// What the walk has counted against the budgets so far; the first budget
// exceeded is noted for the message.
struct Budget {
   long bitmappixels = 0, glyphs = 0, glyphpixels = 0, properties = 0, allocated = 0;
   const char *over = nullptr;  // what ran over
   long limit = 0;              // its budget

   bool add(long &count, long more, long most, const char *what)
   {
      count += more;
      if (count > most && !over)
         over = what, limit = most;
      return !over;
   }
   // blocks the library allocates, holding bytes between them
   bool alloc(long bytes, long blocks = 1)
   {
      return add(allocated, bytes + blocks * block, maxallocated, "bytes of memory");
   }
   const char *complaint(long index, const char *damaged)
   {
      if (!over)
         return complain("object %ld of the data file is damaged: %s", index, damaged);
      return complain("object %ld of the data file asks for more %s than the intro "
                      "allows (%ld)", index, over, limit);
   }
};

// Bytes a pixel as the library's bitmap reader takes them, or 0 if it
// takes none of that depth.
long pixelbytes(long bits)
{
   switch (bits) {
   case 8: return 1;
   case 15: case 16: return 2;
   case 24: case 32: return 3;
   case -32: return 4;  // with alpha
   default: return 0;
   }
}

// Width, height and pixels, as the library reads a bitmap of that depth; its
// pixels count towards *pixels, its memory towards the budget.
bool bitmapbody(Cursor &c, Budget &b, long bits, long maxwh, long *pixels, long maxpixels,
                const char *what)
{
   long w = c.mgetw(), h = c.mgetw();
   if (!c.ok || w < 1 || h < 1 || w > maxwh || h > maxwh || !c.skip(w * h * pixelbytes(bits)))
      return false;
   // up to 4 bytes a pixel in memory, and a converted copy of any depth but 8
   long copies = bits == 8 ? 1 : 2, bytes = (bits == 8 ? 1 : 4) * w * h;
   return b.add(*pixels, w * h, maxpixels, what) &&
          b.alloc(copies * (8 * std::max(2L, h) + bytes), 2 * copies);
}

const char *checkbitmap(Cursor c, Budget &b, long index)
{
   long bits = static_cast<short>(c.mgetw());
   bool ok = c.ok && pixelbytes(bits) &&
             bitmapbody(c, b, bits, maxside, &b.bitmappixels, maxbitmappixels,
                        "bitmap pixels") && c.at == c.n;
   return ok ? nullptr : b.complaint(index, "a bitmap's depth, size or pixels");
}

const char *checkfont(Cursor c, Budget &b, long index)
{
   if (c.mgetw() != 0)
      return complain("the data file's font, object %ld, is damaged or in an old "
                      "format", index);
   long ranges = c.mgetw(), kind = -1, last = -1, count = 0;
   bool ok = c.ok && ranges >= 1 && b.add(count, ranges, maxranges, "font ranges");
   for (long r = 0; ok && r < ranges; r++) {
      long depth = c.getc();
      bool mono = depth == 1 || depth == 255;
      if (depth == 0)
         depth = 8;  // an older way to say 8-bit colour
      long begin = c.mgetl(), end = c.mgetl();
      // every range read through the same table, mono or colour, and the
      // ranges in order, apart and inside Unicode
      ok = c.ok && (mono || (depth != 1 && pixelbytes(depth) && depth > 0)) &&
           (kind < 0 || kind == mono) && begin > last && end >= begin && end <= 0x10FFFF &&
           b.add(b.glyphs, end - begin + 1, maxglyphs, "glyphs") &&
           b.alloc(8 * (end - begin + 1), 2);  // the range and its glyph table
      kind = mono;
      last = end;
      for (long g = begin; ok && g <= end; g++) {
         if (mono) {
            long w = c.mgetw(), h = c.mgetw(), bytes = (w + 7) / 8 * h;
            ok = c.ok && w <= maxglyph && h <= maxglyph && c.skip(bytes) &&
                 b.add(b.glyphpixels, w * h, maxglyphpixels, "glyph pixels") && b.alloc(bytes);
         } else {
            ok = bitmapbody(c, b, depth, maxglyph, &b.glyphpixels, maxglyphpixels,
                            "glyph pixels");
         }
      }
   }
   return ok && c.at == c.n ? nullptr : b.complaint(index, "a font's ranges or glyphs");
}

// An object's kind for a message: its four letters, or its number.
const char *kindname(long type)
{
   static char name[40];
   unsigned long v = static_cast<unsigned long>(type) & 0xFFFFFFFFu;
   char letters[5] = {char(v >> 24), char(v >> 16 & 255), char(v >> 8 & 255), char(v & 255), 0};
   if (type == DAT_END)
      return "-1, the library's end-of-list mark";
   if (std::all_of(letters, letters + 4, [](char ch) { return std::isprint(ch & 255); }))
      std::snprintf(name, sizeof name, "'%s'", letters);
   else
      std::snprintf(name, sizeof name, "0x%08lx", v);
   return name;
}

}  // namespace

const char *walk(const Bytes &file)
{
   Cursor c{file.data(), static_cast<long>(file.size())};
   if (c.mgetl() != DAT_MAGIC)
      return "the attached data is not a data file of the library's";
   long count = c.mgetl();
   if (!c.ok || count < 1 || count > maxobjects)
      return complain("the data file claims %ld objects; the intro allows 1 to %ld", count,
                      maxobjects);

   Budget b;
   b.alloc((count + 1) * static_cast<long>(sizeof(DATAFILE)));
   Bytes unpacked;
   long properties = 0;  // of the next object
   for (long index = 0; index < count;) {
      long type = c.mgetl();
      if (!c.ok)
         return complain("the data file ends before object %ld of %ld", index, count);
      if (type == DAT_PROPERTY) {
         c.mgetl();
         long size = c.mgetl();
         if (!c.skip(size))
            return complain("a property of object %ld runs past the end of the data "
                            "file", index);
         if (size > maxproperty)
            return complain("a property of object %ld is %ld bytes long; the intro allows "
                            "%ld", index, size, maxproperty);
         // the text, perhaps a converted copy, and the list grown by a copy
         if (!b.add(properties, 1, maxproperties, "properties on one object") ||
             !b.add(b.properties, 1, maxallproperties, "properties") ||
             !b.alloc(2 * (size + 1) + 2 * (properties + 1) *
                      static_cast<long>(sizeof(DATAFILE_PROPERTY)), 4))
            return b.complaint(index, "");
         continue;
      }
      long stored = c.mgetl(), size = c.mgetl();
      if (!c.ok || !c.has(stored) || std::labs(size) > maxunpacked)
         return complain("object %ld claims more bytes than the data file holds", index);
      Cursor body{c.p + c.at, size};
      if (size < 0) {  // packed
         if (unpack(c.p + c.at, stored, -size, unpacked) != stored ||
             static_cast<long>(unpacked.size()) != -size)
            return complain("the packed data of object %ld is damaged", index);
         body = Cursor{unpacked.data(), -size};
      } else if (size != stored) {
         return complain("object %ld has inconsistent sizes", index);
      }
      c.skip(stored);

      const char *bad = nullptr;
      if (!b.alloc(reader))
         bad = b.complaint(index, "");
      else if (type == DAT_BITMAP)
         bad = checkbitmap(body, b, index);
      else if (type == DAT_FONT)
         bad = checkfont(body, b, index);
      else if (type == datakind || type == infokind)
         bad = b.alloc(body.n) ? nullptr : b.complaint(index, "");
      else  // the library has no loader for it, or one this walk does not bound
         bad = complain("object %ld of the data file is of kind %s, which the intro "
                        "does not read", index, kindname(type));
      if (bad)
         return bad;
      index++;
      properties = 0;
   }
   // the library stops reading here; a data file dat made never goes on
   if (c.at != c.n)
      return complain("the data file goes on for %ld bytes after its last object",
                      c.n - c.at);
   return nullptr;
}

}  // namespace datacheck
