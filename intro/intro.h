// The intro module: a group logo, two endless scrollers and a fading caption on
// a 640x480 8-bit screen, animated by rewriting palette entries once per 60 Hz
// frame. Everything is plain functions over globals; each effect lives in its
// own file and advances by exactly one frame per call. Every global is
// declared here with its meaning and unit, and only here. resetintro() puts
// every global back to its start value, so tests and tools can replay a run
// from frame 1 without the timer.
#pragma once

#include <allegro.h>

#include <atomic>

namespace intro {

// ---- screen layout -------------------------------------------------------
constexpr int screenw = 640;     // pixels
constexpr int screenh = 480;     // pixels
constexpr int bandheight = 48;   // rows of a scroller or caption band
constexpr int tickspeed = BPS_TO_TIMER(60);  // timer units of 1/1193181 s
constexpr double framerate = double(TIMERS_PER_SECOND) / tickspeed;  // frames a second

// ---- content handles (startup.cpp) ----------------------------------------
extern BITMAP *logo;     // object 0 of the data file: the 640x480 picture
extern FONT *myfont;     // object 1 of the data file: the scroller and caption font
extern BITMAP *buffer;   // back buffer the scrollers draw into, 640x480x8

// ---- frame pacing (loop.cpp) ----------------------------------------------
extern std::atomic<int> timerCount;   // ticks arrived and not yet consumed
extern int scrollline1;               // scroller 1's text top, row
extern int scrollline2;               // scroller 2's text top, row

void timerCountUpdate();
void runframe(void (*retrace)());  // step, timerCount = 0, refresh
bool pollframe(void (*retrace)()); // one frame if a tick is pending
void frameloop();  // frames until a key, a signal or the close button

// ---- ends from outside (signals.cpp) ---------------------------------------
extern std::atomic<int> stoprequest;  // 0, a signal's number, or -1 for the close button
extern std::atomic<bool> holding;     // the library holds the keyboard or the display

void watchsignals();      // from the program's first step
void watchdisplay();      // once the library is up
void watchclosebutton();  // once there is a window
void diebysignal(int number);  // the program ends by that signal
// SIGINT and SIGTERM back to their default action, once nothing needs giving
// back, so that a child (the message box) gets them too.
void defaultsignals();

// ---- palette (palette.cpp) -------------------------------------------------
extern PALETTE pal;  // working copy; components raw bytes, the display gets 6 bits

void _setpalcolor(int index, int r, int g, int b);
void pushpal(int from, int to);  // entries from..to to the display

// ---- scrollers (scrollers.cpp) ---------------------------------------------
extern const char scrolltext1[];
extern const char scrolltext2[];
extern int sp1, sp2;                // x of each text's left edge, pixels
extern int sl1, sl2;                // each text wraps once its x is below -sl, pixels
extern unsigned char fcol1, fcol2;  // each text's intensity, raw byte, wraps at 256

void scrollerstep(const char *text, int y, int &x, int wraplength, int speed,
                  int pulsemask, int index, unsigned char &intensity);
void scrollers();  // scroller 1, then scroller 2

// ---- title line (titleline.cpp) --------------------------------------------
extern const char *const caption[3];
extern unsigned char tlcindex;  // palette entry the captions are drawn in
extern int tls;                 // caption drawn, 0..2; 3 from the last one's wipe until
                                // the next frame's drawTextLine
extern int fs;                  // phase: 1 fade in, 2 hold, 3 fade out, 4 wipe
extern int tlc;                 // caption intensity, 0..60 in steps of 4
extern int wait;                // frames held so far, 0..299

void drawTextLine();
void textlineflasher();

// ---- flashes (flashes.cpp) -------------------------------------------------
extern int wflf;              // logo flash: frames rested, 0..367, or 368 while it flashes
extern unsigned char lfcol;   // logo flash: intensity shown, 59..10; 60 when reloaded
extern int wffsf;             // background flash: frames rested, 0..255, or 256 while it flashes
extern unsigned char fsfcol;  // background flash: intensity shown, 59..0; 60 when reloaded

void logoflasher();
void fullscreenflasher();

// ---- start-up (startup.cpp) ------------------------------------------------
void resetintro();  // every global to its start value, handles to null
// Null when the intro can draw with the loaded content: at least two objects,
// a 640x480 8-bit bitmap first and, second, a font no taller than a band that
// holds every character the texts use; or what is wrong.
const char *checkcontent(const DATAFILE *data);
// Once checkcontent accepts it, binds the content, makes the back buffer and
// puts the logo on the screen under a black palette; null, or what is wrong.
const char *firstpicture(DATAFILE *data);
int intromain();    // the program: 0 after a key, 1 on failure

// per-file start values, called by resetintro()
void resetloop();
void resetsignals();
void resetpalette();
void resetscrollers();
void resettitleline();
void resetflashes();

}  // namespace intro
