#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>

#include "core/mapped_file.h"

namespace quorvel {

namespace {

// The mappings being read, each in a slot of its own; `end` 0 marks a free slot. A fault handler
// may run on any thread at any moment, so the slots are lock-free.
struct Guard {
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> taken{false};
    std::atomic<bool> faulted{false};
};
constexpr int kGuards = 32;
Guard guards[kGuards];

std::uintptr_t pageSize = 0;
struct sigaction previousHandler {};

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Guard& guard : guards) {
        if (address >= guard.begin.load() && address < guard.end.load()) {
            // Zeros where the page was; the faulting read then finds them and goes on.
            void* page = reinterpret_cast<void*>(address & ~(pageSize - 1));
            if (::mmap(page, pageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) !=
                MAP_FAILED) {
                guard.faulted.store(true);
                return;
            }
        }
    }
    // Not a mapped file's fault: as if this handler were not there.
    if ((previousHandler.sa_flags & SA_SIGINFO) != 0) {
        previousHandler.sa_sigaction(signal, info, context);
    } else if (previousHandler.sa_handler != SIG_DFL && previousHandler.sa_handler != SIG_IGN) {
        previousHandler.sa_handler(signal);
    } else {
        // The fault happens again on return, now with the default action.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        ::sigaction(SIGBUS, &fallback, nullptr);
    }
}

bool InstallHandler() {
    pageSize = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
    struct sigaction handler {};
    handler.sa_sigaction = OnBusError;
    handler.sa_flags = SA_SIGINFO | SA_RESTART;
    sigemptyset(&handler.sa_mask);
    return ::sigaction(SIGBUS, &handler, &previousHandler) == 0;
}

// A free slot watching [begin, end), or -1 when all are in use.
int Watch(std::uintptr_t begin, std::uintptr_t end) {
    static const bool installed = InstallHandler();
    if (!installed) {
        return -1;
    }
    for (int i = 0; i < kGuards; ++i) {
        if (!guards[i].taken.exchange(true)) {
            guards[i].faulted.store(false);
            guards[i].begin.store(begin);
            guards[i].end.store(end);
            return i;
        }
    }
    return -1;
}

}  // namespace

MappedFile MappedFile::Map(int fd, std::size_t size) {
    if (size == 0) {
        return {};
    }
    void* address = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (address == MAP_FAILED) {
        return {};
    }
    const auto begin = reinterpret_cast<std::uintptr_t>(address);
    const int guard = Watch(begin, begin + size);
    if (guard < 0) {
        ::munmap(address, size);  // unwatched, a cut-short file could end the process
        return {};
    }
    return {address, size, guard};
}

bool MappedFile::Intact() const {
    return guard_ < 0 || !guards[guard_].faulted.load();
}

void MappedFile::Unmap() {
    if (address_ != nullptr) {
        Guard& guard = guards[guard_];
        guard.end.store(0);
        guard.begin.store(0);
        ::munmap(address_, size_);
        guard.taken.store(false);
        address_ = nullptr;
    }
}

}  // namespace quorvel
