#pragma once

// The system's side of the advice on long storage (evaluation/storage_advice.h).

#include <cstddef>
#include <span>

namespace ambersel {

// Asks the system to back `storage` with large pages where it can: one page fault then serves
// megabytes instead of kilobytes, and on a virtual machine the faults of small pages cost more
// than reading the points of a long list. Only advice: where the system has no such pages, or
// declines, nothing changes; the contents are never touched.
void adviseLargePages(std::span<const std::byte> storage);

// Installs adviseLargePages() as the advice on long storage, once per process; later calls do
// nothing. The file layer calls it before it reads a list, so every program that reads lists
// through it gets the advice.
void installLargePageAdvice();

}  // namespace ambersel
