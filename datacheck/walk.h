// What the two halves of the data file checker share: read.cpp finds the
// bytes and hands them to the library, walk.cpp checks them.
#pragma once

#include <cstdint>
#include <vector>

namespace datacheck {

using Bytes = std::vector<unsigned char>;

// The most a data file, or one object of it, may unpack to, bytes: twenty
// times the intro's own.
constexpr long maxunpacked = 8L << 20;

// A big-endian 32-bit number, as the library stores them.
inline long be32(const unsigned char *p)
{
   return static_cast<int32_t>(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 |
                               uint32_t(p[2]) << 8 | p[3]);
}

// Unpacks the library's LZSS from in[0..n) into out, at most limit bytes; the
// input bytes used, or -1 where the stream reads ring bytes never written.
long unpack(const unsigned char *in, long n, long limit, Bytes &out);

// Walks a data file's unpacked bytes (after its magic) as the library's
// loader will; null when every number fits, or what is wrong.
const char *walk(const Bytes &file);

}  // namespace datacheck
