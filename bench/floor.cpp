// The floor: the least a program on the library costs in the intro's setting.
// The same start-up and mode as the intro, a 60 Hz timer counting ticks, and
// a wait loop that takes each tick and draws nothing, until a key.
#include <allegro.h>

#include <atomic>

static std::atomic<int> ticks;  // arrived and not yet taken

static void tick()
{
   ticks++;
}

int main()
{
   if (allegro_init() != 0 || install_keyboard() != 0 || install_timer() != 0 ||
       install_int_ex(tick, BPS_TO_TIMER(60)) != 0 ||
       set_gfx_mode(GFX_AUTODETECT, 640, 480, 0, 0) != 0)
      return 1;
   set_color_depth(8);
   set_palette(black_palette);
   set_window_title("floor");
   while (!keypressed()) {
      if (ticks.load() > 0)
         ticks = 0;
      else
         rest(1);
   }
   allegro_exit();
   return 0;
}
END_OF_MAIN()
