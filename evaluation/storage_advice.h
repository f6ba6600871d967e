#pragma once

// The long vectors of one list's analysis (its points, their terms, the points of its chart) are
// each written once, front to back, straight after they are sized. On a virtual machine the first
// write to each small page of memory costs more than reading the point that fills it, so the
// program may install advice (files/memory_advice.h asks the system for large pages) that each
// such vector is shown before it is filled. The core stays free of system calls: without advice
// installed, nothing happens.

#include <cstddef>
#include <span>
#include <vector>

namespace ambersel {

// Takes storage about to be filled; only advice: it never touches the contents, and failing to
// follow it changes nothing but speed.
using StorageAdvice = void (*)(std::span<const std::byte> storage);

// Installs `advice` for every later call of adviseLongStorage(), in any thread; nullptr removes it.
void setStorageAdvice(StorageAdvice advice);

// Hands the storage to the installed advice when there is one and the storage spans enough
// memory for the advice to matter (a large page or more); else does nothing.
void adviseLongStorage(std::span<const std::byte> storage);

// The whole capacity of `vector`, written or not: reserve() first, then advise, then fill.
template <typename T>
void adviseLongStorage(const std::vector<T>& vector) {
    adviseLongStorage(std::as_bytes(std::span(vector.data(), vector.capacity())));
}

}  // namespace ambersel
