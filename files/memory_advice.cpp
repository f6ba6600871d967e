#include "files/memory_advice.h"

#include <cstdint>
#include <mutex>

#include "evaluation/storage_advice.h"

#if defined(__linux__)
#include <sys/mman.h>
#include <unistd.h>
#endif

namespace ambersel {

void adviseLargePages(std::span<const std::byte> storage) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    static const auto kPageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    if (storage.empty()) {
        return;
    }
    // Whole pages around the storage: advice is given page by page, and the pages the storage
    // shares with its neighbours are theirs too, which the advice does not harm.
    const auto first = reinterpret_cast<std::uintptr_t>(storage.data()) & ~(kPageSize - 1);
    const auto last = reinterpret_cast<std::uintptr_t>(storage.data() + storage.size());
    // NOLINTNEXTLINE(performance-no-int-to-ptr): the system takes the page's address as a pointer.
    void* const start = reinterpret_cast<void*>(first);
    // Advice declined costs speed, nothing else.
    static_cast<void>(madvise(start, last - first, MADV_HUGEPAGE));
#else
    static_cast<void>(storage);
#endif
}

void installLargePageAdvice() {
    static std::once_flag installed;
    std::call_once(installed, [] { setStorageAdvice(adviseLargePages); });
}

}  // namespace ambersel
