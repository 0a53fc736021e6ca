#pragma once
// Byte buffers of many megabytes: a whole bitmap file, a converted image.
//
// A page fault on a fresh page is expensive on the virtual machines this runs on (about
// 10 µs measured, against a few hundred nanoseconds for filling the 4 KiB page), and filling
// a 48 MiB buffer takes 12,288 of them. Backed by 2 MiB pages, the same buffer takes a few
// dozen, which cut the time to fill it from about 170 ms to about 12 ms.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quorvel {

// Resizes `buffer` to `size` bytes like resize() (new bytes are 0), first asking the system
// to back a large new allocation with huge pages where it can. Only advice: without huge
// pages the buffer is the same, just slower to fill.
void ResizeLargeBuffer(std::vector<std::uint8_t>& buffer, std::size_t size);

}  // namespace quorvel
