// The content: the data file the build makes (a two-colour logo, a mono font
// that fits a band, texts a little shorter than their wrap lengths) and the
// check start-up runs on bad data files made with the library's own dat.
#include "support.h"

#include "datacheck.h"

#include <filesystem>
#include <string>
#include <tuple>

using namespace intro;

// The data file checked as start-up checks it: its bytes, then its objects.
static DATAFILE *load(const std::string &path, const char **why)
{
   *why = "";
   DATAFILE *d = datacheck::load(path.c_str(), why);
   if (d && (*why = checkcontent(d))) {
      unload_datafile(d);
      d = nullptr;
   }
   return d;
}

TEST(Content, BuiltDataFileFitsTheIntro)
{
   const char *why;
   DATAFILE *d = load(INTRO_DAT, &why);
   ASSERT_NE(d, nullptr) << why;
   ASSERT_EQ(d[3].type, DAT_END);  // dat sorts by name: the logo, the font, dat's info
   EXPECT_EQ(std::vector<int>({d[0].type, d[1].type, d[2].type}),
             std::vector<int>({DAT_BITMAP, DAT_FONT, DAT_ID('i', 'n', 'f', 'o')}));
   BITMAP *logo = static_cast<BITMAP *>(d[0].dat);
   EXPECT_EQ(std::vector<int>({logo->w, logo->h, bitmap_color_depth(logo)}),
             std::vector<int>({640, 480, 8}));
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
   EXPECT_EQ(std::vector<int>(
                {get_font_ranges(f), get_font_range_begin(f, 0), get_font_range_end(f, 0)}),
             std::vector<int>({1, 32, 126}));
   // a text longer than its wrap length would be cut off, a much shorter one
   // would leave the band empty for long
   int w1 = text_length(f, scrolltext1), w2 = text_length(f, scrolltext2);
   EXPECT_TRUE(w1 * 10 >= 6704 * 9 && w1 <= 6704) << w1;
   EXPECT_TRUE(w2 * 10 >= 5440 * 9 && w2 <= 5440) << w2;
   unload_datafile(d);
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
   // Saves a w x h picture of colour 1, or (with last) a font sheet of
   // characters 32..last, h pixels high.
   void picture(const char *name, int w, int h, int last = 0)
   {
      BITMAP *b = last ? test::blocksheet(last, h) : create_bitmap(w, h);
      if (!last)
         clear_to_color(b, 1);
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
   EXPECT_STREQ(checkcontent(nullptr),
                "the data file attached to this program is missing or unreadable");
   EXPECT_STREQ(made("head -c 300 /dev/zero | tr '\\0' Z > out.dat"),
                "no data file is attached to the end of the program");

   picture("a.pcx", 640, 480);
   EXPECT_STREQ(made("rm out.dat && dat -s1 -a -t BMP -bpp 8 out.dat a.pcx"),
                "the attached data file holds 1 object(s); it needs a logo bitmap and a font");
   EXPECT_STREQ(made("dat -a -t BMP -bpp 8 out.dat a.pcx"),  // dat's info object second
                "object 1 of the attached data file is not a font");
   picture("b.pcx", 0, 48, 126);  // as tall as a band
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"), "usable");
   picture("c.pcx", 16, 16);
   EXPECT_STREQ(made("dat -a -t BMP -bpp 8 out.dat c.pcx"), "usable") << "more is ignored";

   picture("b.pcx", 0, 49, 126);
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"),
                "the font is 49 pixels high; it must be at most 48");
   picture("b.pcx", 0, 40, 125);
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"),
                "the font has no character 126; it needs 32 to 126");
   picture("b.pcx", 0, 40, 126);
   EXPECT_STREQ(made("dat -a -t FONT out.dat b.pcx"), "usable");
   for (auto [w, h, bits] : {std::tuple{641, 480, 8}, {640, 479, 8}, {640, 480, 16}}) {
      picture("a.pcx", w, h);
      EXPECT_EQ(made("dat -a -t BMP -bpp " + std::to_string(bits) + " out.dat a.pcx"),
                "the logo is " + std::to_string(w) + "x" + std::to_string(h) + " at " +
                   std::to_string(bits) + " bits per pixel; it must be 640x480 at 8");
   }
   EXPECT_STREQ(made("rm out.dat && dat -a -t FONT out.dat b.pcx && "
                     "dat -a -t BMP -bpp 8 out.dat c.pcx"),
                "object 0 of the attached data file is not a bitmap");
}
