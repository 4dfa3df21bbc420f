// The content: the data file the build makes and attaches (order, kinds,
// sizes, colours, the font's height, range, widths and ink rows, the two text
// widths, the packing), and the check that start-up runs on whatever it loads,
// fed data files made by the library's own dat.
#include "support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using namespace intro;
using Bytes = std::vector<unsigned char>;

Bytes readfile(const std::string &path)
{
   std::ifstream in(path, std::ios::binary);
   return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writefile(const std::string &path, const Bytes &bytes)
{
   std::ofstream out(path, std::ios::binary);
   out.write(reinterpret_cast<const char *>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

long be32(const Bytes &b, size_t at)
{
   unsigned long v = static_cast<unsigned long>(b.at(at)) << 24 |
                     static_cast<unsigned long>(b.at(at + 1)) << 16 |
                     static_cast<unsigned long>(b.at(at + 2)) << 8 | b.at(at + 3);
   return static_cast<long>(static_cast<int32_t>(v));
}

int objectcount(const DATAFILE *d)
{
   int n = 0;
   while (d[n].type != DAT_END)
      n++;
   return n;
}

std::string property(const DATAFILE &obj, int type)
{
   const char *p = get_datafile_property(&obj, type);
   return p ? p : "";
}

// ---- the built data file ---------------------------------------------------

class BuiltData : public ::testing::Test {
protected:
   void SetUp() override
   {
      intro::resetintro();
      const char *why = nullptr;
      data = loadcontent(INTRO_DAT, &why);
      ASSERT_NE(data, nullptr) << INTRO_DAT << ": " << why;
   }
   void TearDown() override { unload_datafile(data); }
   DATAFILE *data = nullptr;
};

TEST_F(BuiltData, LogoThenFontThenGrabberInfo)
{
   ASSERT_EQ(objectcount(data), 3);
   EXPECT_EQ(data[0].type, static_cast<int>(DAT_BITMAP));
   EXPECT_EQ(data[1].type, static_cast<int>(DAT_FONT));
   EXPECT_EQ(data[2].type, static_cast<int>(DAT_ID('i', 'n', 'f', 'o')));
   EXPECT_EQ(property(data[0], DAT_NAME), "LOGO");
   EXPECT_EQ(property(data[1], DAT_NAME), "MYFONT");
   EXPECT_EQ(property(data[2], DAT_NAME), "GrabberInfo");
   EXPECT_EQ(checkcontent(data), nullptr);
}

TEST_F(BuiltData, LogoIsFullScreenInColoursZeroAndOne)
{
   BITMAP *bmp = static_cast<BITMAP *>(data[0].dat);
   ASSERT_EQ(bmp->w, 640);
   ASSERT_EQ(bmp->h, 480);
   ASSERT_EQ(bitmap_color_depth(bmp), 8);
   long count[2] = {0, 0}, other = 0;
   for (int y = 0; y < bmp->h; y++)
      for (int x = 0; x < bmp->w; x++) {
         int c = getpixel(bmp, x, y);
         if (c == 0 || c == 1)
            count[c]++;
         else
            other++;
      }
   EXPECT_EQ(other, 0);
   double letters = static_cast<double>(count[1]) / (640 * 480);
   EXPECT_GT(letters, 0.60);
   EXPECT_LT(letters, 0.72);
   // the word fills the picture: ink near every edge
   EXPECT_NE(test::leftmost(bmp, 1, 0, 479), -1);
   EXPECT_LT(test::leftmost(bmp, 1, 0, 479), 20);
   EXPECT_GT(test::rightmost(bmp, 1, 0, 479), 620);
}

TEST_F(BuiltData, FontHeightRangeWidthsAndInkRows)
{
   FONT *f = static_cast<FONT *>(data[1].dat);
   EXPECT_EQ(text_height(f), 40);
   EXPECT_TRUE(is_mono_font(f));
   ASSERT_EQ(get_font_ranges(f), 1);
   EXPECT_EQ(get_font_range_begin(f, 0), 32);
   EXPECT_EQ(get_font_range_end(f, 0), 126);

   BITMAP *cell = create_bitmap(64, 48);
   int top = 48, bottom = -1, narrowest = 99, widest = 0;
   for (int c = 32; c <= 126; c++) {
      char s[2] = {static_cast<char>(c), 0};
      int w = text_length(f, s);
      narrowest = std::min(narrowest, w);
      widest = std::max(widest, w);
      clear_to_color(cell, 0);
      textout_ex(cell, f, s, 0, 0, 1, -1);
      for (int y = 0; y < 48; y++)
         for (int x = 0; x < 64; x++)
            if (getpixel(cell, x, y)) {
               EXPECT_LT(x, w) << "ink outside the cell of " << s;
               top = std::min(top, y);
               bottom = std::max(bottom, y);
            }
   }
   destroy_bitmap(cell);
   EXPECT_EQ(top, 6);
   EXPECT_EQ(bottom, 39);
   EXPECT_GE(narrowest, 8);
   EXPECT_LE(widest, 39);
   EXPECT_LT(narrowest, widest) << "proportional";
}

TEST_F(BuiltData, EachTextFillsNinetyToAHundredPercentOfItsWrap)
{
   FONT *f = static_cast<FONT *>(data[1].dat);
   int w1 = text_length(f, scrolltext1), w2 = text_length(f, scrolltext2);
   std::printf("scrolltext1 %d of %d pixels, scrolltext2 %d of %d\n", w1, sl1,
               w2, sl2);
   EXPECT_GE(w1 * 10, sl1 * 9);
   EXPECT_LE(w1, sl1);
   EXPECT_GE(w2 * 10, sl2 * 9);
   EXPECT_LE(w2, sl2);
}

// Walks the raw file: the logo's and font's chunks are packed one by one,
// the info object's is stored, and the file as a whole is not packed.
TEST(BuiltDataBytes, ChunksPackedIndividually)
{
   Bytes b = readfile(INTRO_DAT);
   ASSERT_GT(b.size(), 12u);
   ASSERT_EQ(std::string(b.begin(), b.begin() + 8), "slh.ALL.");
   long objects = be32(b, 8);
   ASSERT_EQ(objects, 3);
   size_t at = 12;
   std::vector<bool> packed;
   for (long i = 0; i < objects; i++) {
      while (std::string(b.begin() + static_cast<long>(at),
                         b.begin() + static_cast<long>(at) + 4) == "prop")
         at += 12 + static_cast<size_t>(be32(b, at + 8));
      long stored = be32(b, at + 4), unpacked = be32(b, at + 8);
      packed.push_back(unpacked < 0);
      at += 12 + static_cast<size_t>(stored);
   }
   EXPECT_EQ(at, b.size());
   EXPECT_EQ(packed, (std::vector<bool>{true, true, false}));
}

// The tail of the program holds the data file, packed; unpacked through the
// library it gives the same logo and font as the data file the build made.
TEST(Attachment, ProgramCarriesThePackedDataFile)
{
   Bytes exe = readfile(INTRO_EXE);
   size_t n = exe.size();
   ASSERT_GT(n, 16u);
   ASSERT_EQ(std::string(exe.end() - 8, exe.end() - 4), "slh+");
   long total = be32(exe, n - 4);
   ASSERT_GT(total, 16);
   ASSERT_LT(static_cast<size_t>(total), n);
   size_t start = n - static_cast<size_t>(total);
   long stored = be32(exe, start);
   long unpacked = be32(exe, start + 4);
   EXPECT_EQ(stored + 16, total);
   EXPECT_LT(unpacked, 0) << "the attachment is packed";
   EXPECT_EQ(std::string(exe.begin(), exe.begin() + 4), "\x7f" "ELF");

   Bytes file = {'s', 'l', 'h', '!'};
   file.insert(file.end(), exe.begin() + static_cast<long>(start) + 8,
               exe.begin() + static_cast<long>(start + 8 + static_cast<size_t>(stored)));
   std::string path = std::string(TEST_TMP) + "/attached.dat";
   writefile(path, file);
   DATAFILE *attached = load_datafile(path.c_str());
   DATAFILE *built = load_datafile(INTRO_DAT);
   ASSERT_NE(attached, nullptr);
   ASSERT_NE(built, nullptr);
   ASSERT_EQ(objectcount(attached), 3);
   EXPECT_EQ(checkcontent(attached), nullptr);
   BITMAP *a = static_cast<BITMAP *>(attached[0].dat);
   BITMAP *b = static_cast<BITMAP *>(built[0].dat);
   EXPECT_TRUE(test::samerows(a, b, 0, 479));
   FONT *fa = static_cast<FONT *>(attached[1].dat);
   FONT *fb = static_cast<FONT *>(built[1].dat);
   EXPECT_EQ(text_length(fa, scrolltext1), text_length(fb, scrolltext1));
   EXPECT_EQ(text_length(fa, scrolltext2), text_length(fb, scrolltext2));
   unload_datafile(attached);
   unload_datafile(built);
}

// ---- the check on bad data files --------------------------------------------

// Makes data files with the library's dat from pictures drawn here.
class BadData : public ::testing::Test {
protected:
   void SetUp() override
   {
      intro::resetintro();
      dir = std::string(TEST_TMP) + "/baddata-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name();
      std::system(("rm -rf '" + dir + "' && mkdir -p '" + dir + "'").c_str());
   }
   void TearDown() override
   {
      if (data)
         unload_datafile(data);
   }

   void picture(const std::string &name, int w, int h)
   {
      BITMAP *bmp = create_bitmap(w, h);
      clear_to_color(bmp, 0);
      rectfill(bmp, 10, 10, w / 2, h / 2, 1);
      save_pcx((dir + "/" + name).c_str(), bmp, default_palette);
      destroy_bitmap(bmp);
   }

   // A grabber sheet of solid glyphs h high for characters 32..last.
   void sheet(const std::string &name, int h, int last = 126)
   {
      int count = last - 32 + 1;
      BITMAP *bmp = create_bitmap(count * 11 + 1, h + 2);
      clear_to_color(bmp, 255);
      for (int i = 0; i < count; i++)
         rectfill(bmp, 1 + i * 11, 1, i * 11 + 10, h, 1);
      save_pcx((dir + "/" + name).c_str(), bmp, default_palette);
      destroy_bitmap(bmp);
   }

   // Runs dat in the work folder on out.dat; objects sort by file name.
   void dat(const std::string &args)
   {
      std::string cmd = "cd '" + dir + "' && '" DAT_TOOL "' " + args +
                        " >/dev/null 2>&1";
      ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
   }

   const char *check()
   {
      const char *why = nullptr;
      data = loadcontent((dir + "/out.dat").c_str(), &why);
      EXPECT_EQ(data == nullptr, why != nullptr) << "data file or complaint";
      return why;
   }

   std::string dir;
   DATAFILE *data = nullptr;
};

TEST_F(BadData, MissingOrNotADataFile)
{
   EXPECT_STREQ(checkcontent(nullptr),
                "the data file attached to this program is missing or unreadable");
   writefile(dir + "/out.dat", Bytes(300, 0x5a));
   EXPECT_NE(std::string(check()).find("missing or unreadable"), std::string::npos);
}

TEST_F(BadData, FewerThanTwoObjects)
{
   picture("a.pcx", 640, 480);
   dat("-s1 -a -t BMP -bpp 8 out.dat a.pcx");  // -s1: no info object
   EXPECT_STREQ(check(), "the attached data file holds 1 object(s); it needs a "
                         "logo bitmap and a font");
}

TEST_F(BadData, InfoObjectWhereTheFontShouldBe)
{
   picture("a.pcx", 640, 480);
   dat("-a -t BMP -bpp 8 out.dat a.pcx");
   EXPECT_STREQ(check(), "object 1 of the attached data file is not a font");
}

TEST_F(BadData, FontBeforeLogo)
{
   sheet("a.pcx", 40);
   picture("b.pcx", 640, 480);
   dat("-a -t FONT out.dat a.pcx");
   dat("-a -t BMP -bpp 8 out.dat b.pcx");
   EXPECT_STREQ(check(), "object 0 of the attached data file is not a bitmap");
}

TEST_F(BadData, LogoOfTheWrongSizeOrDepth)
{
   picture("a.pcx", 641, 480);
   sheet("b.pcx", 40);
   dat("-a -t BMP -bpp 8 out.dat a.pcx");
   dat("-a -t FONT out.dat b.pcx");
   EXPECT_STREQ(check(), "the logo is 641x480 at 8 bits per pixel; it must be "
                         "640x480 at 8");

   picture("a.pcx", 640, 479);
   dat("-a -t BMP -bpp 8 out.dat a.pcx");
   EXPECT_STREQ(check(), "the logo is 640x479 at 8 bits per pixel; it must be "
                         "640x480 at 8");

   picture("a.pcx", 640, 480);
   dat("-a -t BMP -bpp 16 out.dat a.pcx");
   EXPECT_STREQ(check(), "the logo is 640x480 at 16 bits per pixel; it must be "
                         "640x480 at 8");
}

TEST_F(BadData, FontTooTallOrShortOfCharacters)
{
   picture("a.pcx", 640, 480);
   sheet("b.pcx", 49);
   dat("-a -t BMP -bpp 8 out.dat a.pcx");
   dat("-a -t FONT out.dat b.pcx");
   EXPECT_STREQ(check(), "the font is 49 pixels high; it must be at most 48");

   sheet("b.pcx", 48, 100);
   dat("-a -t FONT out.dat b.pcx");
   EXPECT_STREQ(check(), "the font has no character 101; it needs 32 to 126");
}

TEST_F(BadData, FurtherObjectsAreIgnored)
{
   picture("a.pcx", 640, 480);
   sheet("b.pcx", 48);
   picture("c.pcx", 16, 16);
   dat("-a -t BMP -bpp 8 out.dat a.pcx");
   dat("-a -t FONT out.dat b.pcx");
   dat("-a -t BMP -bpp 8 out.dat c.pcx");
   EXPECT_EQ(check(), nullptr);
   EXPECT_EQ(objectcount(data), 4);
}

}  // namespace
