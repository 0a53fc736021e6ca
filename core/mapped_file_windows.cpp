#include <io.h>
#include <windows.h>

#include "core/mapped_file.h"

namespace quorvel {

MappedFile MappedFile::Map(int fd, std::size_t size) {
    if (size == 0) {
        return {};
    }
    const auto file = reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
    const HANDLE mapping = ::CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) {
        return {};
    }
    // The view keeps the mapping alive; the file can no longer be cut short while it exists.
    void* address = ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, size);
    ::CloseHandle(mapping);
    if (address == nullptr) {
        return {};
    }
    return {address, size, -1};
}

bool MappedFile::Intact() const {
    return true;
}

void MappedFile::Unmap() {
    if (address_ != nullptr) {
        ::UnmapViewOfFile(address_);
        address_ = nullptr;
    }
}

}  // namespace quorvel
