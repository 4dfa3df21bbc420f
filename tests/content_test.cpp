// The content: the data file the build makes and attaches (order, kinds,
// sizes, colours, the font's height, range, widths and ink rows, the two text
// widths), its round trip through the program's tail, and the check start-up
// runs on bad data files made with the library's own dat.
#include "support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace intro;
using Bytes = std::vector<unsigned char>;

static Bytes readfile(const std::string &path)
{
   std::ifstream in(path, std::ios::binary);
   return Bytes(std::istreambuf_iterator<char>(in), {});
}

static long be32(const Bytes &b, size_t at)
{
   return static_cast<int32_t>(uint32_t(b.at(at)) << 24 | uint32_t(b.at(at + 1)) << 16 |
                               uint32_t(b.at(at + 2)) << 8 | b.at(at + 3));
}

static DATAFILE *load(const std::string &path, const char **why)
{
   *why = "";
   return loadcontent(path.c_str(), why);
}

TEST(Content, BuiltDataFileHoldsLogoFontAndInfo)
{
   const char *why;
   DATAFILE *d = load(INTRO_DAT, &why);
   ASSERT_NE(d, nullptr) << why;
   ASSERT_EQ(d[3].type, DAT_END);
   EXPECT_EQ(d[0].type, DAT_BITMAP);
   EXPECT_EQ(d[1].type, DAT_FONT);
   EXPECT_EQ(d[2].type, DAT_ID('i', 'n', 'f', 'o'));

   BITMAP *logo = static_cast<BITMAP *>(d[0].dat);
   ASSERT_EQ(logo->w * logo->h * bitmap_color_depth(logo), 640 * 480 * 8);
   long ink = 0, other = 0;
   for (int y = 0; y < 480; y++)
      for (int x = 0; x < 640; x++) {
         ink += getpixel(logo, x, y) == 1;
         other += getpixel(logo, x, y) > 1;
      }
   EXPECT_EQ(other, 0);
   EXPECT_NEAR(ink / (640.0 * 480), 2.0 / 3, 0.05);

   FONT *f = static_cast<FONT *>(d[1].dat);
   EXPECT_EQ(text_height(f), 40);
   EXPECT_TRUE(is_mono_font(f));
   EXPECT_EQ(get_font_ranges(f), 1);
   EXPECT_EQ(get_font_range_begin(f, 0), 32);
   EXPECT_EQ(get_font_range_end(f, 0), 126);
   BITMAP *cell = create_bitmap(48, 48);
   int top = 48, bottom = -1, narrowest = 99, widest = 0;
   for (char c = 32; c <= 126; c++) {
      char s[2] = {c, 0};
      int w = text_length(f, s);
      narrowest = std::min(narrowest, w), widest = std::max(widest, w);
      clear_bitmap(cell);
      textout_ex(cell, f, s, 0, 0, 1, -1);
      EXPECT_EQ(test::span(cell, 1, 0, 47).second < w, true) << "ink past " << s;
      for (int y = 0; y < 48; y++)
         if (test::span(cell, 1, y, y).first >= 0)
            top = std::min(top, y), bottom = std::max(bottom, y);
   }
   destroy_bitmap(cell);
   EXPECT_EQ(top, 6);
   EXPECT_EQ(bottom, 39);
   EXPECT_TRUE(narrowest >= 8 && widest <= 39 && narrowest < widest)
      << narrowest << ".." << widest;

   int w1 = text_length(f, scrolltext1), w2 = text_length(f, scrolltext2);
   std::printf("text widths: %d of 6704, %d of 5440\n", w1, w2);
   EXPECT_TRUE(w1 * 10 >= 6704 * 9 && w1 <= 6704) << w1;
   EXPECT_TRUE(w2 * 10 >= 5440 * 9 && w2 <= 5440) << w2;
   unload_datafile(d);
}

// The program's tail: [stored size][-unpacked size][packed body]["slh+"][total].
// The body behind the packed-file magic is a data file the library loads.
TEST(Content, AttachmentUnpacksToTheBuiltDataFile)
{
   Bytes exe = readfile(INTRO_EXE);
   ASSERT_GT(exe.size(), 16u);
   ASSERT_EQ(std::string(exe.end() - 8, exe.end() - 4), "slh+");
   size_t start = exe.size() - static_cast<size_t>(be32(exe, exe.size() - 4));
   long stored = be32(exe, start);
   EXPECT_EQ(start + 16 + static_cast<size_t>(stored), exe.size());
   EXPECT_LT(be32(exe, start + 4), 0) << "packed";

   std::string path = std::string(TEST_TMP) + "/attached.dat";
   std::ofstream out(path, std::ios::binary);
   out << "slh!";
   out.write(reinterpret_cast<const char *>(&exe[start + 8]), stored);
   out.close();
   const char *why;
   DATAFILE *attached = load(path, &why), *built = load(INTRO_DAT, &why);
   ASSERT_TRUE(attached && built) << why;
   EXPECT_EQ(attached[3].type, DAT_END);
   EXPECT_TRUE(test::samerows(static_cast<BITMAP *>(attached[0].dat),
                              static_cast<BITMAP *>(built[0].dat), 0, 479));
   EXPECT_EQ(text_length(static_cast<FONT *>(attached[1].dat), scrolltext1),
             text_length(static_cast<FONT *>(built[1].dat), scrolltext1));
   unload_datafile(attached);
   unload_datafile(built);
}

// Data files made by dat from pictures drawn here; objects sort by file name.
class BadData : public ::testing::Test {
protected:
   std::string dir = std::string(TEST_TMP) + "/" +
                     ::testing::UnitTest::GetInstance()->current_test_info()->name();
   void SetUp() override
   {
      std::filesystem::remove_all(dir);
      std::filesystem::create_directories(dir);
   }

   void picture(const char *name, int w, int h) {
      BITMAP *b = create_bitmap(w, h);
      clear_to_color(b, 1);
      save_pcx((dir + "/" + name).c_str(), b, default_palette);
      destroy_bitmap(b);
   }
   void fontsheet(const char *name, int last, int h)
   {
      BITMAP *b = test::blocksheet(last, h);
      save_pcx((dir + "/" + name).c_str(), b, default_palette);
      destroy_bitmap(b);
   }
   // Runs a shell script in the work folder, with dat quiet, and checks out.dat.
   const char *made(const std::string &script)
   {
      // quoted: the checkout's path may hold spaces
      std::string cmd = "cd '" + dir + "' && dat() { '" DAT_TOOL "' \"$@\" >/dev/null; } && " +
                        script;
      EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
      const char *why;
      DATAFILE *d = load(dir + "/out.dat", &why);
      EXPECT_EQ(d == nullptr, why != nullptr);
      unload_datafile(d);
      return why ? why : "usable";
   }
};

TEST_F(BadData, EachFaultIsNamed)
{
   const char *missing = "the data file attached to this program is missing or unreadable";
   EXPECT_STREQ(checkcontent(nullptr), missing);
   EXPECT_STREQ(made("head -c 300 /dev/zero | tr '\\0' Z > out.dat"),
                "the data file is missing or unreadable");

   picture("a.pcx", 640, 480);
   EXPECT_STREQ(made("rm out.dat && dat -s1 -a -t BMP -bpp 8 out.dat a.pcx"),
                "the attached data file holds 1 object(s); it needs a logo bitmap and a font");
   EXPECT_STREQ(made("dat -a -t BMP -bpp 8 out.dat a.pcx"),  // dat's info object second
                "object 1 of the attached data file is not a font");
   fontsheet("b.pcx", 126, 48);
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"), "usable");
   picture("c.pcx", 16, 16);
   EXPECT_STREQ(made("dat -a -t BMP -bpp 8 out.dat c.pcx"), "usable") << "more is ignored";

   fontsheet("b.pcx", 126, 49);
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"),
                "the font is 49 pixels high; it must be at most 48");
   fontsheet("b.pcx", 100, 40);
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"),
                "the font has no character 101; it needs 32 to 126");
   fontsheet("b.pcx", 126, 40);
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"), "usable");
   const int logos[][3] = {{641, 480, 8}, {640, 479, 8}, {640, 480, 16}};
   for (const auto &l : logos) {
      picture("a.pcx", l[0], l[1]);
      char want[100];
      std::snprintf(want, sizeof want,
                    "the logo is %dx%d at %d bits per pixel; it must be 640x480 at 8",
                    l[0], l[1], l[2]);
      EXPECT_STREQ(made("dat -a -t BMP -bpp " + std::to_string(l[2]) + " out.dat a.pcx"),
                   want);
   }
   EXPECT_STREQ(made("rm out.dat && dat -a -t FONT out.dat b.pcx && "
                     "dat -a -t BMP -bpp 8 out.dat c.pcx"),
                "object 0 of the attached data file is not a bitmap");
}
