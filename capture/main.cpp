// intro-capture: renders the intro frame by frame with no display, as fast as
// the machine allows, into indexed PNG frames, a contact sheet, a video through
// ffmpeg, or frame hashes. Mistakes on the command line, a missing data file
// and an output that cannot be written end it with a message and status 2
// before any frame is rendered.
#include "capture.h"

#include <CLI/CLI.hpp>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr int usage = 2;  // exit status for anything wrong before rendering

struct Options {
   std::string data;         // intro program or data file
   long from = 1, to = 0;    // frames, from 1, inclusive
   double seconds = 5;       // length instead of --to
   long every = 1;           // keep every K-th frame of the range
   std::string frames;       // folder for PNG frames
   std::string sheet;        // contact sheet PNG
   int columns = 4;          // thumbnails a row
   std::string video;        // video file
   std::string codec = "ffv1";
   bool hashes = false;      // print frame hashes
};

// The intro program beside this one: this one's name less "-capture", so that
// the installed vintara-intro-capture finds vintara-intro; else plain intro.
std::string besideme(const char *name)
{
   char self[PATH_MAX];
   ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
   if (n <= 0)
      return name;
   std::string path(self, static_cast<size_t>(n));
   size_t cut = path.rfind("-capture");
   if (cut != std::string::npos && cut + sizeof "-capture" - 1 == path.size())
      return path.substr(0, cut);
   return path.substr(0, path.rfind('/') + 1) + name;
}

bool onpath(const char *program)
{
   const char *path = std::getenv("PATH");
   std::string dirs = path ? path : "";
   for (size_t at = 0; at <= dirs.size();) {
      size_t end = dirs.find(':', at);
      if (end == std::string::npos)
         end = dirs.size();
      std::string dir = dirs.substr(at, end - at);
      if (access(((dir.empty() ? "." : dir) + "/" + program).c_str(), X_OK) == 0)
         return true;
      at = end + 1;
   }
   return false;
}

int fail(const std::string &what, int status = usage)
{
   std::fprintf(stderr, "intro-capture: %s\n", what.c_str());
   return status;
}

bool canwrite(const std::string &file)
{
   FILE *f = std::fopen(file.c_str(), "wb");
   return f && std::fclose(f) == 0;
}

// A bar on standard error, redrawn at most ten times a second.
void progress(long done, long total, bool last)
{
   static auto shown = std::chrono::steady_clock::now();
   auto now = std::chrono::steady_clock::now();
   if (!last && now - shown < std::chrono::milliseconds(100))
      return;
   shown = now;
   int filled = static_cast<int>(40 * done / total);
   std::fprintf(stderr, "\r[%.*s%.*s] %3ld%% frame %ld/%ld%s",
                filled, "########################################", 40 - filled,
                "........................................", 100 * done / total, done,
                total, last ? "\n" : "");
}

}  // namespace

int main(int argc, char **argv)
{
   Options o;
   CLI::App app{"Renders the intro with no display, frame by frame, exactly as the "
                "display shows each frame after its refresh."};
   app.add_option("--data", o.data,
                  "the intro program whose attached data to use, or a data file "
                  "(default: the intro beside this program)");
   app.add_option("--from", o.from, "first frame, from 1 (default 1)");
   auto *to = app.add_option("--to", o.to, "last frame (default: five seconds on)");
   auto *seconds =
      app.add_option("--seconds", o.seconds, "length of the range in seconds")->excludes(to);
   app.add_option("--every", o.every, "keep every K-th frame of the range (default 1)");
   app.add_option("--frames", o.frames, "write frame-NNNNNN.png into this folder");
   app.add_option("--sheet", o.sheet, "write a contact sheet PNG of the frames kept");
   app.add_option("--columns", o.columns, "thumbnails a row on the sheet (default 4)");
   app.add_option("--video", o.video, "write a video of the frames kept through ffmpeg");
   app.add_option("--codec", o.codec, "ffv1 (lossless, default) or h264")
      ->check(CLI::IsMember({"ffv1", "h264"}));
   app.add_flag("--hash", o.hashes, "print each kept frame's hash");
   try {
      app.parse(argc, argv);
   } catch (const CLI::ParseError &e) {
      int status = app.exit(e);
      return status == 0 ? 0 : usage;
   }

   if (!*to)
      o.to = o.from + std::lround((*seconds ? o.seconds : 5) * capture::rate) - 1;
   if (o.from < 1 || o.to < o.from)
      return fail("the range " + std::to_string(o.from) + ".." + std::to_string(o.to) +
                  " is empty or reversed; frames count from 1");
   if (o.every < 1 || o.columns < 1)
      return fail("--every and --columns must be at least 1");
   long kept = (o.to - o.from) / o.every + 1;

   if (o.data.empty())
      o.data = besideme("intro");
   if (access(o.data.c_str(), R_OK) != 0)
      return fail("no data: cannot read " + o.data);
   if (!o.frames.empty()) {
      mkdir(o.frames.c_str(), 0777);
      struct stat st;
      if (stat(o.frames.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) ||
          access(o.frames.c_str(), W_OK) != 0)
         return fail("cannot write frames into " + o.frames);
   }
   if (!o.sheet.empty() && !canwrite(o.sheet))
      return fail("cannot write the sheet " + o.sheet);
   if (!o.video.empty()) {
      if (!onpath("ffmpeg"))
         return fail("--video needs ffmpeg, which is not installed (Debian: apt-get install ffmpeg)");
      if (!canwrite(o.video))
         return fail("cannot write the video " + o.video);
   }
   if (const char *why = capture::start(o.data.c_str()))
      return fail(o.data + ": " + why);

   FILE *ffmpeg = nullptr;
   if (!o.video.empty()) {
      // the intro's true rate, thinned by --every; greys only, so 4:2:0 loses
      // nothing in h264, and crf 12 keeps the glyph edges crisp
      std::string cmd = "ffmpeg -loglevel error -y -f rawvideo -pix_fmt rgb24 -s 640x480 "
                        "-framerate 1193181/" + std::to_string(19886 * o.every) + " -i - " +
                        (o.codec == "ffv1" ? "-c:v ffv1 -level 3 -pix_fmt bgr0 "
                                           : "-c:v libx264 -preset slow -crf 12 "
                                             "-tune animation -pix_fmt yuv420p ") +
                        "'" + o.video + "'";
      ffmpeg = popen(cmd.c_str(), "w");
      if (!ffmpeg)
         return fail("ffmpeg could not be started", 1);
   }
   capture::Sheet sheet;
   sheet.columns = o.columns;
   if (!o.sheet.empty())
      capture::sheetsize(sheet, static_cast<int>(kept));

   bool bar = isatty(2) && o.to - o.from + 1 > 60;  // over a second of the intro
   auto began = std::chrono::steady_clock::now();
   std::vector<unsigned char> pixels;
   while (capture::frame < o.to) {
      capture::advance();
      long f = capture::frame;
      if (bar && f >= o.from)
         progress(f - o.from + 1, o.to - o.from + 1, f == o.to);
      if (f < o.from || (f - o.from) % o.every)
         continue;
      if (o.hashes)
         std::printf("%ld %016" PRIx64 "\n", f, capture::hash());
      if (!o.frames.empty()) {
         char name[32];
         std::snprintf(name, sizeof name, "/frame-%06ld.png", f);
         if (!capture::writeindexed(o.frames + name))
            return fail("writing " + o.frames + name + " failed", 1);
      }
      if (!o.sheet.empty())
         capture::addtosheet(sheet);
      if (ffmpeg) {
         capture::rgb(pixels);
         if (std::fwrite(pixels.data(), 1, pixels.size(), ffmpeg) != pixels.size())
            return fail("ffmpeg stopped taking frames", 1);
      }
   }
   double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

   if (!o.sheet.empty() && !capture::writergb(o.sheet, sheet.pixels, sheet.w, sheet.h))
      return fail("writing the sheet " + o.sheet + " failed", 1);
   if (ffmpeg && pclose(ffmpeg) != 0)
      return fail("ffmpeg failed to write " + o.video, 1);
   std::fprintf(stderr, "frames %ld..%ld, %ld kept: %.3f s, %.0f frames/s\n", o.from, o.to,
                kept, secs, o.to / secs);
   capture::stop();
   return 0;
}
