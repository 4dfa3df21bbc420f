// Makes the corpus of bad data files, as copies of the intro that must end
// with a message and status 1: the attachment truncated at many offsets; bits
// flipped in its trailer, its header and the flag bytes of its packed stream;
// sizes pointing outside the file, zero or huge; a packed stream that reads
// the first ring byte never written; and, its data file attached unpacked,
// bits flipped in the object count and the logo's and the font's headers, the
// logo or the font of the wrong kind, the font first, the logo alone or with
// dat's info object alone, a logo of 641 by 480 pixels, of 479 rows or of 16
// bits, a font of 49 pixels or without '~', and objects added that are each
// past one budget of the check. Where the message must say something, that is
// written beside the program as NAME.says. Beside the corpus, three that must
// play: the data attached unpacked, a font as tall as a band, and the fullest
// data file the budgets allow. Also turns files of attachment bytes (the
// fuzzer's finds) into programs.
//
//    damage INTRO OUTDIR [ATTACHMENT...]     prints how many it made
#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

std::string outdir;
int made = 0;
Bytes program;  // the intro without its attachment

// A damaged program into the corpus, with what its message must say, if
// given; or, with says "plays", a program that must play, beside the corpus.
void write(const std::string &name, const Bytes &bytes, const std::string &says = "")
{
   bool plays = says == "plays";
   std::ofstream(outdir + (plays ? "/../" : "/") + name, std::ios::binary)
      .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
   if (!plays && !says.empty())
      std::ofstream(outdir + "/" + name + ".says") << says;
   made += !plays;
}

unsigned char u8(long v) { return static_cast<unsigned char>(v & 255); }

void put32(Bytes &b, size_t at, long v)
{
   for (int i = 0; i < 4; i++)
      b[at + size_t(i)] = u8(v >> (24 - 8 * i));
}

void add32(Bytes &b, long v)
{
   b.resize(b.size() + 4);
   put32(b, b.size() - 4, v);
}

long get32(const Bytes &b, size_t at)
{
   return static_cast<int32_t>(uint32_t(b[at]) << 24 | uint32_t(b[at + 1]) << 16 |
                               uint32_t(b[at + 2]) << 8 | b[at + 3]);
}

// Bytes through the library's own packer or unpacker, by way of a file:
// packed with its magic, or unpacked to size bytes from a stream without it.
Bytes packed(const Bytes &plain)
{
   std::string path = outdir + "/../packing";
   PACKFILE *f = pack_fopen(path.c_str(), F_WRITE_PACKED);
   pack_fwrite(plain.data(), static_cast<long>(plain.size()), f);
   pack_fclose(f);
   std::ifstream in(path, std::ios::binary);
   return Bytes(std::istreambuf_iterator<char>(in), {});
}

Bytes unpacked(const Bytes &stream, long size)
{
   std::string path = outdir + "/../packing";
   std::ofstream(path, std::ios::binary).write("slh!", 4).write(
      reinterpret_cast<const char *>(stream.data()), static_cast<std::streamsize>(stream.size()));
   Bytes plain(static_cast<size_t>(size));
   PACKFILE *f = pack_fopen(path.c_str(), F_READ_PACKED);
   plain.resize(static_cast<size_t>(std::max(0L, pack_fread(plain.data(), size, f))));
   pack_fclose(f);
   return plain;
}

// The program with a data file attached as exedat does it: unpacked, or packed
// by the library's own writer (exedat -c).
Bytes attach(const Bytes &datafile, bool pack = false)
{
   Bytes body = datafile;
   if (pack) {
      body = packed(datafile);
      body.erase(body.begin(), body.begin() + 4);  // the packed-file magic
   }
   long size = static_cast<long>(body.size());
   Bytes b = program;
   add32(b, size);
   add32(b, pack ? -static_cast<long>(datafile.size()) : size);
   b.insert(b.end(), body.begin(), body.end());
   b.insert(b.end(), {'s', 'l', 'h', '+'});
   add32(b, size + 16);
   return b;
}

// An object as a data file stores it unpacked: its properties, kind and body.
struct Object {
   Bytes props;
   long type;
   Bytes body;
};
Bytes stored(const Object &o)
{
   Bytes b = o.props;
   add32(b, o.type);
   add32(b, static_cast<long>(o.body.size()));
   add32(b, static_cast<long>(o.body.size()));
   b.insert(b.end(), o.body.begin(), o.body.end());
   return b;
}

// The data file with objects added.
Bytes plus(const Bytes &file, const std::vector<Object> &extra)
{
   Bytes b = file;
   put32(b, 4, get32(file, 4) + static_cast<long>(extra.size()));
   for (const Object &o : extra) {
      Bytes one = stored(o);
      b.insert(b.end(), one.begin(), one.end());
   }
   return b;
}

// Where each object of a data file starts, where its kind word is, where it ends.
struct Place {
   size_t start, kind, end;
};
std::vector<Place> places(const Bytes &file)
{
   std::vector<Place> list;
   for (size_t at = 8; list.size() < size_t(get32(file, 4)); at = list.back().end) {
      size_t kind = at;
      while (get32(file, kind) == DAT_PROPERTY)
         kind += 12 + size_t(get32(file, kind + 8));
      list.push_back({at, kind, kind + 12 + size_t(get32(file, kind + 4))});
   }
   return list;
}

// The data file with the bytes from..to replaced.
Bytes spliced(const Bytes &file, size_t from, size_t to, const Bytes &with)
{
   Bytes b(file.begin(), file.begin() + long(from));
   b.insert(b.end(), with.begin(), with.end());
   b.insert(b.end(), file.begin() + long(to), file.end());
   return b;
}

// Blank bodies of the library's formats: a bitmap of that depth, a font of
// ranges of w x h glyphs (depth 1 mono, 8 colour), and n properties of len
// bytes of a kind dat does not use.
Bytes bitmapof(int bits, int w, int h)
{
   Bytes b = {0, u8(bits), u8(w >> 8), u8(w), u8(h >> 8), u8(h)};
   b.resize(b.size() + size_t(w) * size_t(h) * size_t(bits / 8));
   return b;
}

Bytes fontof(const std::vector<std::pair<long, long>> &ranges, int depth, int w, int h)
{
   Bytes b = {0, 0, u8(ranges.size() >> 8), u8(ranges.size())};
   size_t glyph = depth == 1 ? size_t((w + 7) / 8 * h) : size_t(w * h * depth / 8);
   for (auto [first, last] : ranges) {
      b.push_back(u8(depth));
      add32(b, first);
      add32(b, last);
      for (long g = first; g <= last; g++) {
         b.insert(b.end(), {u8(w >> 8), u8(w), u8(h >> 8), u8(h)});
         b.resize(b.size() + glyph);
      }
   }
   return b;
}

Bytes propsof(long n, long len)
{
   Bytes b;
   for (long i = 0; i < n; i++) {
      add32(b, DAT_PROPERTY);
      add32(b, DAT_ID('X', 'T', 'R', 'A'));
      add32(b, len);
      b.resize(b.size() + size_t(len), 'x');
   }
   return b;
}

// n ranges of count characters each, one after another from 0
std::vector<std::pair<long, long>> ranges(long n, long count)
{
   std::vector<std::pair<long, long>> list;
   for (long k = 0; k < n; k++)
      list.push_back({k * count, k * count + count - 1});
   return list;
}

}  // namespace

int main(int argc, char **argv)
{
   install_allegro(SYSTEM_NONE, &errno, atexit);  // for the packing writer
   std::ifstream in(argc > 2 ? argv[1] : "", std::ios::binary);
   Bytes intact(std::istreambuf_iterator<char>(in), {});
   // the attachment as exedat -c leaves it: sizes stored and unpacked
   // (negative), the packed stream, "slh+" and the size of all of it
   size_t size = intact.size();
   if (size < 16 || std::string(intact.end() - 8, intact.end() - 4) != "slh+") {
      std::fprintf(stderr, "usage: damage INTRO OUTDIR [ATTACHMENT...], its data attached\n");
      return 2;
   }
   outdir = argv[2];
   size_t start = size - size_t(get32(intact, size - 4)), body = start + 8;
   long packedsize = get32(intact, start), plain = -get32(intact, start + 4);
   program.assign(intact.begin(), intact.begin() + long(start));

   // truncated: 40 cuts spread over the attachment, ends included
   for (int i = 0; i < 40; i++) {
      size_t cut = start + (size - start - 1) * size_t(i) / 39;
      write("cut-" + std::to_string(cut - start),
            Bytes(intact.begin(), intact.begin() + long(cut)));
   }

   // the intact program, changed in one place
   auto with = [&](const std::string &name, auto change) {
      Bytes b = intact;
      change(b);
      write(name, b);
   };

   // one bit flipped in each byte of the trailer and the header
   for (size_t at = start; at < size; at = at == start + 7 ? size - 8 : at + 1)
      with("bit-" + std::to_string(long(at) - long(size)),
           [&](Bytes &b) { b[at] ^= u8(1 << (at % 8)); });

   // flag bytes of the packed stream inverted, 24 spread over it
   std::vector<size_t> flags;
   for (size_t at = body; at < size - 8;) {
      unsigned f = intact[at];
      flags.push_back(at++);
      for (int k = 0; k < 8 && at < size - 8; k++)
         at += (f >> k) & 1 ? 1 : 2;
   }
   for (int i = 0; i < 24; i++) {
      size_t at = flags[flags.size() * size_t(i) / 24];
      with("flags-" + std::to_string(at - body), [&](Bytes &b) { b[at] ^= 0xFF; });
   }

   // sizes outside the file, zero or huge
   struct { const char *name; size_t at; long value; } sizes[] = {
      {"total-outside", size - 4, long(size - start) + 1}, {"total-zero", size - 4, 0},
      {"total-huge", size - 4, 0x7fffffff}, {"total-negative", size - 4, -16},
      {"stored-zero", start, 0}, {"stored-huge", start, 0x7fffffff},
      {"unpacked-zero", start + 4, 0}, {"unpacked-huge", start + 4, -0x7fffffff},
      {"unpacked-positive", start + 4, packedsize},
   };
   for (auto &s : sizes)
      with(s.name, [&](Bytes &b) { put32(b, s.at, s.value); });

   // a packed stream whose first item copies the first ring byte never written
   // (position 4078), which the library would fill from whatever its memory
   // held: three bytes stored, three unpacked, a flag byte of references
   Bytes ring = program;
   add32(ring, 3);
   add32(ring, -3);
   ring.insert(ring.end(), {0x00, 0xEE, 0xF0, 's', 'l', 'h', '+'});
   add32(ring, 19);
   write("ring-unset", ring, "it does not unpack");

   // the data file attached unpacked, which plays; then well formed, but past
   // what the loader may build: kinds with no loader or one the check does not
   // bound, and bombs of glyphs, pixels, properties and objects, each packed as
   // exedat -c packs them and past one budget
   Bytes file = unpacked(Bytes(&intact[body], &intact[body] + packedsize), plain);
   write("intact-unpacked", attach(file), "plays");
   std::vector<Place> at = places(file);
   Bytes none;

   // bits flipped in the object count and the logo's and the font's headers
   // (each property's size, the kind, the sizes stored and unpacked)
   std::vector<size_t> fields = {7};
   for (int i : {0, 1}) {
      for (size_t p = at[i].start; p < at[i].kind; p += 12 + size_t(get32(file, p + 8)))
         fields.push_back(p + 11);
      fields.insert(fields.end(), {at[i].kind + 3, at[i].kind + 7, at[i].kind + 11});
   }
   for (size_t f : fields) {
      Bytes b = file;
      b[f] ^= 1;
      write("field-" + std::to_string(f), attach(b));
   }

   // the logo or the font of the wrong kind, size or place, or missing
   auto kind = [&](size_t i, long type) { Bytes b = file; put32(b, at[i].kind, type); return b; };
   write("logo-as-data", attach(kind(0, DAT_DATA)), "object 0 of the attached data file is not a");
   write("font-as-sample", attach(kind(1, DAT_SAMPLE)), "of kind 'SAMP', which the intro does not");
   auto instead = [&](size_t i, const Object &o) {
      return attach(spliced(file, at[i].kind, at[i].end, stored(o)));
   };
   for (auto [w, h, bits] : {std::tuple{641, 480, 8}, {640, 479, 8}, {640, 480, 16}})
      write("logo-" + std::to_string(w) + "x" + std::to_string(h) + "x" + std::to_string(bits),
            instead(0, {none, DAT_BITMAP, bitmapof(bits, w, h)}),
            "the logo is " + std::to_string(w) + "x" + std::to_string(h) + " at " +
               std::to_string(bits) + " bits per pixel; it must be 640x480 at 8");
   write("font-49", instead(1, {none, DAT_FONT, fontof({{32, 126}}, 1, 10, 49)}),
         "the font is 49 pixels high; it must be at most 48");
   write("font-to-125", instead(1, {none, DAT_FONT, fontof({{32, 125}}, 1, 10, 40)}),
         "the font has no character 126; it needs 32 to 126");
   write("font-48", instead(1, {none, DAT_FONT, fontof({{32, 126}}, 1, 10, 48)}), "plays");
   Bytes logo(file.begin() + long(at[0].start), file.begin() + long(at[0].end));
   Bytes second = spliced(file, at[1].end, at[1].end, logo);  // the logo after the font
   write("font-first", attach(spliced(second, at[0].start, at[0].end, {})),
         "object 0 of the attached data file is not a bitmap");
   Bytes noinfo = spliced(file, at[1].start, at[1].end, {});  // the logo, then dat's info
   put32(noinfo, 4, 2);
   write("info-second", attach(noinfo), "object 1 of the attached data file is not a font");
   Bytes alone(file.begin(), file.begin() + long(at[0].end));
   put32(alone, 4, 1);
   write("logo-only", attach(alone), "holds 1 object(s); it needs a logo bitmap and a font");
   auto extra = [&](const std::string &name, const std::vector<Object> &objs) {
      write(name, attach(plus(file, objs), true));
   };
   extra("kind-end", {{none, DAT_END, Bytes(8)}});  // also an unused slot's mark
   extra("kind-palette", {{none, DAT_PALETTE, Bytes(768)}});
   // a range that starts on the previous one's last character
   extra("font-overlapping", {{none, DAT_FONT, fontof({{32, 126}, {126, 200}}, 1, 8, 8)}});
   extra("font-30-ranges",
         {{none, DAT_FONT, fontof(std::vector<std::pair<long, long>>(30, {0, 65535}), 1, 0, 0)}});
   extra("font-glyphs", {{none, DAT_FONT, fontof(ranges(16, 32768), 1, 0, 0)}});
   extra("font-glyph-pixels", {{none, DAT_FONT, fontof({{0, 1}}, 8, 1024, 1024)}});
   extra("bitmap-pixels", {{none, DAT_BITMAP, bitmapof(8, 1749, 1024)}});  // a column past the fullest
   Bytes trailing = bitmapof(8, 16, 16);
   trailing.push_back(0);
   extra("bitmap-trailing", {{none, DAT_BITMAP, trailing}});
   Object big = {none, DAT_BITMAP, bitmapof(24, 1748, 1024)};  // pixels to the limit
   extra("memory", {big, {none, DAT_FONT, fontof({{0, 0}}, 24, 1024, 512)}});
   extra("properties-320000", {{propsof(320000, 0), DAT_DATA, none}});
   extra("property-4097", {{propsof(1, 4097), DAT_DATA, none}});
   extra("properties-300", std::vector<Object>(9, {propsof(30, 0), DAT_DATA, none}));
   extra("objects-65", std::vector<Object>(62, {none, DAT_DATA, none}));

   // and the fullest the budgets allow, which must play: bitmap pixels, glyphs
   // and glyph pixels to their limits, the most properties on one object at
   // their longest, and most of the memory
   Bytes fullest = plus(file, {{propsof(32, 4096), DAT_BITMAP, big.body},
                               {none, DAT_FONT, fontof(ranges(16, 250), 1, 15, 16)}});
   write("fullest", attach(fullest, true), "plays");

   // attachments found by the fuzzer
   for (int i = 3; i < argc; i++) {
      std::ifstream f(argv[i], std::ios::binary);
      Bytes tail(std::istreambuf_iterator<char>(f), {});
      Bytes b = program;
      b.insert(b.end(), tail.begin(), tail.end());
      std::string name = argv[i];
      write("found-" + name.substr(name.rfind('/') + 1), b);
   }
   std::printf("%d\n", made);
   return 0;
}
