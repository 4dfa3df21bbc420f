// Loading and checking the content. The intro's picture and font come from the
// data file attached to its own executable, and nothing from it is used before
// this has looked at it: at least two objects, a 640x480 8-bit bitmap first
// and, second, a font no taller than a band that holds every character the
// texts use. A complaint is one line saying what is wrong.
#include "intro.h"

#include <cstdarg>
#include <cstdio>

namespace intro {

constexpr int firstchar = 32;   // ' ', the first character the texts use
constexpr int lastchar = 126;   // '~', the last

const char *complain(const char *format, ...)
{
   static char why[200];  // the last complaint, one line
   va_list args;
   va_start(args, format);
   std::vsnprintf(why, sizeof why, format, args);
   va_end(args);
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

// ---- loading ------------------------------------------------------------------

DATAFILE *loadcontent(const char *name, const char **complaint)
{
   Bytes bytes;
   if ((*complaint = readdatafile(name, bytes)) || (*complaint = checkdatafile(bytes)))
      return nullptr;
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
