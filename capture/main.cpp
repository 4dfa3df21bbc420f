// intro-capture: renders the intro frame by frame with no display, as fast as
// the machine allows, into indexed PNG frames, a contact sheet, a video through
// ffmpeg, or frame hashes. Mistakes on the command line (every number checked
// against its range), a missing data file, a sheet too large to make and an
// output that cannot be written end it with a message and status 2 before any
// frame is rendered; a write that fails later, standard output's included,
// ends it with a message and status 1.
#include "capture.h"
#include "video.h"

#include "intro.h"

#include <CLI/CLI.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int usage = 2;  // exit status for anything wrong before rendering
constexpr long maxframe = 10000000;  // the last frame there is: 46 hours of the intro
constexpr int maxcolumns = 64;       // thumbnails a row on a sheet: 20,740 pixels

struct Options {
   std::string data;        // intro program or data file
   long from = 1;           // first frame
   long to = 0;             // last frame, inclusive; 0 when --seconds counts
   double seconds = 5;      // length of the range instead of --to
   long every = 1;          // keep every K-th frame of the range
   std::string frames;      // folder for PNG frames
   std::string sheet;       // contact sheet PNG
   long columns = 4;        // thumbnails a row
   std::string video;       // video file
   std::string codec = "ffv1";
   bool hashes = false;     // print frame hashes
};

// Whole numbers are decimal, leading zeros and all: CLI11 alone would read 010
// as octal and 0x10 as hex. Out of their range they are refused, never clamped.
const CLI::Validator decimal(
   [](std::string &text) {
      if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
         return "'" + text + "' is not a whole decimal number";
      text.erase(0, std::min(text.find_first_not_of('0'), text.size() - 1));
      return std::string();
   },
   "DECIMAL");
CLI::Option *whole(CLI::Option *option, long lo, long hi)
{
   return option->transform(decimal)->check(CLI::Range(lo, hi));
}

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

// Leaves the file as it was: one that is there is not emptied, and one made to
// find out is removed again, so that a later failure leaves nothing behind.
bool canwrite(const std::string &file)
{
   bool there = access(file.c_str(), F_OK) == 0;
   int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
   if (fd < 0)
      return false;
   close(fd);
   if (!there)
      std::remove(file.c_str());
   return true;
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
   // a reader gone (ffmpeg, or a pipe on standard output) is a failed write
   // with a message, not a silent death
   std::signal(SIGPIPE, SIG_IGN);
   Options o;
   CLI::App app{"Renders the intro with no display, frame by frame, exactly as the "
                "display shows each frame after its refresh."};
   app.add_option("--data", o.data,
                  "the intro program whose attached data to use, or a data file "
                  "(default: the intro beside this program)");
   whole(app.add_option("--from", o.from, "first frame, from 1 (default 1)"), 1, maxframe);
   auto *to = whole(app.add_option("--to", o.to, "last frame, at most " +
                                                    std::to_string(maxframe) +
                                                    " (default: five seconds on)"),
                    1, maxframe);
   app.add_option("--seconds", o.seconds, "length of the range in seconds")->excludes(to);
   whole(app.add_option("--every", o.every, "keep every K-th frame of the range (default 1)"),
         1, maxframe);
   app.add_option("--frames", o.frames, "write frame-NNNNNN.png into this folder");
   app.add_option("--sheet", o.sheet, "write a contact sheet PNG of the frames kept");
   whole(app.add_option("--columns", o.columns, "thumbnails a row on the sheet, 1 to " +
                                                   std::to_string(maxcolumns) + " (default 4)"),
         1, maxcolumns);
   app.add_option("--video", o.video, "write a video of the frames kept through ffmpeg");
   app.add_option("--codec", o.codec, "ffv1 (lossless, default) or h264")
      ->check(CLI::IsMember({"ffv1", "h264"}));
   app.add_flag("--hash", o.hashes, "print each kept frame's hash");
   try {
      app.parse(argc, argv);
   } catch (const CLI::ParseError &e) {
      int status = app.exit(e);
      // --help to a full disk is a failure too
      return status == 0 && std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : usage;
   }

   long from = o.from, last = o.to, every = o.every;
   if (!last) {
      // checked as a double first: a long cannot hold every double
      double count = std::round(o.seconds * intro::framerate);
      if (!(count >= 1) || count > maxframe - from + 1) {
         char why[160];
         std::snprintf(why, sizeof why, "--seconds must span from one frame (%.3f s) up to "
                       "frame %ld, not %g", 1 / intro::framerate, maxframe, o.seconds);
         return fail(why);
      }
      last = from + static_cast<long>(count) - 1;
   }
   if (last < from)
      return fail("the range " + std::to_string(from) + ".." + std::to_string(last) +
                  " is reversed");
   long kept = (last - from) / every + 1;

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
   capture::Sheet sheet;
   sheet.columns = static_cast<int>(o.columns);
   if (!o.sheet.empty()) {
      std::string why = capture::sheetsize(sheet, kept);
      if (!why.empty())
         return fail(why);
      if (!canwrite(o.sheet))
         return fail("cannot write the sheet " + o.sheet);
   }
   if (!o.video.empty()) {
      if (!onpath("ffmpeg"))
         return fail("--video needs ffmpeg, which is not installed (Debian: apt-get install ffmpeg)");
      if (!canwrite(o.video))
         return fail("cannot write the video " + o.video);
   }
   if (const char *why = capture::start(o.data.c_str()))
      return fail(o.data + ": " + why);

   capture::Video video;
   // from here every failure ends ffmpeg and removes the unfinished video, so
   // that none is mistaken for whole
   auto failed = [&](const std::string &what) {
      std::string how = video.pid < 0 ? "" : capture::endvideo(video);
      if (o.video.empty())
         return fail(what, 1);
      std::remove(o.video.c_str());
      return fail(what + (how.empty() ? "" : " (" + how + ")") + "; " + o.video + " removed", 1);
   };
   auto outfailed = [&] {
      return failed(std::string("writing to standard output failed: ") + std::strerror(errno));
   };
   if (!o.video.empty()) {
      std::string why = capture::startvideo(video, o.video, o.codec, every);
      if (!why.empty())
         return failed(why);
   }

   bool bar = isatty(2) && last - from + 1 > 60;  // over a second of the intro
   auto began = std::chrono::steady_clock::now();
   std::vector<unsigned char> pixels;
   while (capture::frame < last) {
      capture::advance();
      long f = capture::frame;
      if (bar && f >= from)
         progress(f - from + 1, last - from + 1, f == last);
      if (f < from || (f - from) % every)
         continue;
      if (o.hashes && (std::printf("%ld %016" PRIx64 "\n", f, capture::hash()) < 0 ||
                       std::ferror(stdout)))
         return outfailed();
      if (!o.frames.empty()) {
         char name[32];
         std::snprintf(name, sizeof name, "/frame-%06ld.png", f);
         if (!capture::writeindexed(o.frames + name))
            return failed("writing " + o.frames + name + " failed");
      }
      if (!o.sheet.empty())
         capture::addtosheet(sheet);
      if (video.pipe >= 0) {
         capture::rgb(pixels);
         if (!capture::videoframe(video, pixels))
            return failed("ffmpeg stopped taking frames at frame " + std::to_string(f));
      }
   }
   double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();

   if (std::fflush(stdout) != 0 || std::ferror(stdout))
      return outfailed();
   if (!o.sheet.empty() &&
       !capture::writergb(o.sheet, sheet.pixels, static_cast<int>(sheet.w),
                          static_cast<int>(sheet.h)))
      return failed("writing the sheet " + o.sheet + " failed");
   if (video.pid >= 0) {
      std::string how = capture::endvideo(video);
      if (!how.empty())
         return failed("ffmpeg failed to write " + o.video + ": " + how);
   }
   std::fprintf(stderr, "frames %ld..%ld, %ld kept: %.3f s, %.0f frames/s\n", from, last,
                kept, secs, last / secs);
   capture::stop();
   return 0;
}
