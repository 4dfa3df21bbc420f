// Videos through ffmpeg: frames of the intro as raw RGB down a pipe to an
// ffmpeg started with an argument vector, never through a shell.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace capture {

struct Video {
   pid_t pid = -1;  // ffmpeg
   int pipe = -1;   // its standard input
};

// Starts ffmpeg writing path with codec (ffv1 or h264) at the intro's rate
// thinned by every; empty, or what went wrong.
std::string startvideo(Video &video, const std::string &path, const std::string &codec,
                       long every);
// One 640x480 RGB frame; false when ffmpeg no longer takes frames.
bool videoframe(Video &video, const std::vector<unsigned char> &rgb);
// Closes the pipe and waits for ffmpeg; empty when it wrote the video, else
// how it ended.
std::string endvideo(Video &video);

}  // namespace capture
