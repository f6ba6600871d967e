#include "evaluation/storage_advice.h"

#include <atomic>

namespace ambersel {
namespace {

// The large pages of common processors hold 2 MiB; advice on less cannot be followed.
constexpr std::size_t kLeastAdvisedBytes = std::size_t{2} << 20;

std::atomic<StorageAdvice> installedAdvice{nullptr};

}  // namespace

void setStorageAdvice(StorageAdvice advice) {
    installedAdvice.store(advice, std::memory_order_release);
}

void adviseLongStorage(std::span<const std::byte> storage) {
    const StorageAdvice advice = installedAdvice.load(std::memory_order_acquire);
    if (advice != nullptr && storage.size() >= kLeastAdvisedBytes) {
        advice(storage);
    }
}

}  // namespace ambersel
