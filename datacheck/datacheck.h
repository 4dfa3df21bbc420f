// The data file checker. The library's loader believes every size and count in
// a data file, so nothing reaches it before its bytes have been read here,
// unpacked and walked the way the loader will walk them, and found to fit.
#pragma once

#include <allegro.h>

namespace datacheck {

// A data file by name, or "#" for the one attached to this program, loaded
// after its bytes are checked; null, with what is wrong in *why.
DATAFILE *load(const char *name, const char **why);
// The same for the data file attached to another program.
DATAFILE *loadattached(const char *program, const char **why);

// Formats one line saying what is wrong; it lasts until the next complaint.
const char *complain(const char *format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace datacheck
