#pragma once
// A large file's bytes seen in place: mapped read-only from the system's file cache, so that
// reading it neither copies it nor fills fresh memory first. On the virtual machines this
// runs on, reading a 48 MiB bitmap into a new buffer took 80 to 95 ms; mapping it and
// touching every page, 13 ms.
//
// On POSIX systems a mapped file that another program cuts short while it is mapped would end
// the process on the next touch of a page past its new end (SIGBUS). A handler, installed with
// the first mapping, answers such a fault inside a mapping by putting a page of zeros in its
// place and marking the mapping as not intact; the reader goes on and its result is thrown
// away. Faults anywhere else go on to the handler there was before. Windows refuses to cut a
// file short while it is mapped.

#include <cstddef>
#include <cstdint>
#include <span>
#include <utility>

namespace quorvel {

class MappedFile {
  public:
    MappedFile() = default;
    ~MappedFile() { Unmap(); }
    MappedFile(MappedFile&& other) noexcept
        : address_(std::exchange(other.address_, nullptr)),
          size_(std::exchange(other.size_, 0)),
          guard_(std::exchange(other.guard_, -1)) {}
    MappedFile& operator=(MappedFile&& other) noexcept {
        if (this != &other) {
            Unmap();
            address_ = std::exchange(other.address_, nullptr);
            size_ = std::exchange(other.size_, 0);
            guard_ = std::exchange(other.guard_, -1);
        }
        return *this;
    }
    MappedFile(const MappedFile&) = delete;
    MappedFile& operator=(const MappedFile&) = delete;

    // The first `size` bytes of the open regular file `fd` (a C runtime descriptor), which
    // can be closed afterwards. Empty when the system cannot map it; the caller reads instead.
    static MappedFile Map(int fd, std::size_t size);

    explicit operator bool() const { return address_ != nullptr; }
    std::span<const std::uint8_t> bytes() const {
        return {static_cast<const std::uint8_t*>(address_), size_};
    }
    // False once a read found part of the file gone (cut short, or a failing disk): what was
    // read since is zeros, not the file.
    bool Intact() const;

  private:
    MappedFile(void* address, std::size_t size, int guard)
        : address_(address), size_(size), guard_(guard) {}
    void Unmap();

    void* address_ = nullptr;
    std::size_t size_ = 0;
    int guard_ = -1;  // the slot watching this mapping for faults (POSIX)
};

}  // namespace quorvel
