// The data file the build makes, as the intro's content, beyond the checks
// start-up runs: the font is mono and 40 pixels high, and each scroll text
// fills 90 to 100 percent of the length after which it wraps (longer, and its
// end would be cut off; much shorter, and its band would stand empty). The
// logo is the generator's, byte for byte (images_regenerate).
#include "support.h"

#include "datacheck.h"

using namespace intro;

TEST(Content, BuiltDataFileIsTheIntrosContent)
{
   resetintro();  // the wrap lengths
   const char *why = nullptr;
   DATAFILE *d = datacheck::load(INTRO_DAT, &why);
   ASSERT_NE(d, nullptr) << why;
   ASSERT_EQ(checkcontent(d), nullptr) << checkcontent(d);
   FONT *f = static_cast<FONT *>(d[1].dat);
   EXPECT_EQ(text_height(f), 40);
   EXPECT_TRUE(is_mono_font(f));
   int w1 = text_length(f, scrolltext1), w2 = text_length(f, scrolltext2);
   EXPECT_TRUE(w1 * 10 >= sl1 * 9 && w1 <= sl1) << w1 << " of " << sl1;
   EXPECT_TRUE(w2 * 10 >= sl2 * 9 && w2 <= sl2) << w2 << " of " << sl2;
   unload_datafile(d);
}
