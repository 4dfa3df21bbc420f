// The data file checker. The library's loader believes every size and count in
// a data file, so nothing reaches it before its bytes have been read here,
// unpacked and walked the way the loader will walk them, and found to fit.
#pragma once

#include <allegro.h>

namespace datacheck {

// Loads a data file after checking its bytes: name is a data file, a program
// with a data file attached to its end, or "#" for this program. Null, with
// what is wrong in *why.
DATAFILE *load(const char *name, const char **why);

// Formats one line saying what is wrong; it lasts until the next complaint.
const char *complain(const char *format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace datacheck
