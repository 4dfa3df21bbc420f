// Videos through ffmpeg. ffmpeg is started by posix_spawnp with an argument
// vector, so no file name ever reaches a shell, and the output goes to it as a
// "file:" URL, so that no name can read as an option ("-y"), a protocol
// ("pipe:1") or anything but a file. Frames go down a pipe as raw RGB, written
// straight to it; the caller ignores SIGPIPE, so a pipe ffmpeg has left is a
// failed write here, reported with ffmpeg's own status.
#include "video.h"

#include "capture.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

extern char **environ;

namespace capture {

std::string startvideo(Video &video, const std::string &path, const std::string &codec,
                       long every)
{
   // the intro's true rate, thinned by --every; greys only, so 4:2:0 loses
   // nothing in h264, and crf 12 keeps the glyph edges crisp
   std::string rate = std::to_string(TIMERS_PER_SECOND) + "/" +
                      std::to_string(intro::tickspeed * every);
   std::string size = std::to_string(intro::screenw) + "x" + std::to_string(intro::screenh);
   std::string url = "file:" + path;
   std::vector<const char *> args = {"ffmpeg", "-nostdin", "-loglevel", "error", "-y",
                                     "-f", "rawvideo", "-pix_fmt", "rgb24", "-s",
                                     size.c_str(), "-framerate", rate.c_str(), "-i", "pipe:0"};
   if (codec == "ffv1")
      args.insert(args.end(), {"-c:v", "ffv1", "-level", "3", "-pix_fmt", "bgr0"});
   else
      args.insert(args.end(), {"-c:v", "libx264", "-preset", "slow", "-crf", "12", "-tune",
                               "animation", "-pix_fmt", "yuv420p"});
   // no random file id, no encoder version: the same frames give the same bytes
   args.insert(args.end(), {"-fflags", "+bitexact", "-flags:v", "+bitexact", url.c_str(), nullptr});

   int ends[2];
   if (pipe2(ends, O_CLOEXEC) != 0)
      return std::string("no pipe to ffmpeg: ") + std::strerror(errno);
   posix_spawn_file_actions_t files;
   posix_spawnattr_t attr;
   sigset_t pipesignal;
   sigemptyset(&pipesignal);
   sigaddset(&pipesignal, SIGPIPE);
   posix_spawn_file_actions_init(&files);
   posix_spawn_file_actions_adddup2(&files, ends[0], 0);
   posix_spawnattr_init(&attr);
   // ffmpeg gets SIGPIPE back, which this program ignores
   posix_spawnattr_setsigdefault(&attr, &pipesignal);
   posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF);
   int failed = posix_spawnp(&video.pid, "ffmpeg", &files, &attr,
                             const_cast<char *const *>(args.data()), environ);
   posix_spawn_file_actions_destroy(&files);
   posix_spawnattr_destroy(&attr);
   close(ends[0]);
   if (failed) {
      close(ends[1]);
      video.pid = -1;
      return std::string("ffmpeg could not be started: ") + std::strerror(failed);
   }
   video.pipe = ends[1];
   return "";
}

bool videoframe(Video &video, const std::vector<unsigned char> &rgb)
{
   for (size_t at = 0; at < rgb.size();) {
      ssize_t n = write(video.pipe, rgb.data() + at, rgb.size() - at);
      if (n < 0 && errno == EINTR)
         continue;
      if (n <= 0)
         return false;
      at += static_cast<size_t>(n);
   }
   return true;
}

std::string endvideo(Video &video)
{
   if (video.pipe >= 0)
      close(video.pipe);
   video.pipe = -1;
   int status = 0;
   pid_t waited;
   while ((waited = waitpid(video.pid, &status, 0)) < 0 && errno == EINTR) {
   }
   video.pid = -1;
   if (waited < 0)
      return std::string("ffmpeg could not be waited for: ") + std::strerror(errno);
   if (WIFEXITED(status) && WEXITSTATUS(status) == 0)
      return "";
   if (WIFEXITED(status))
      return "ffmpeg ended with status " + std::to_string(WEXITSTATUS(status));
   return std::string("ffmpeg was killed by signal ") + std::to_string(WTERMSIG(status)) +
          " (" + strsignal(WTERMSIG(status)) + ")";
}

}  // namespace capture
