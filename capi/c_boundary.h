#pragma once

// What every entry point of the C library shares: no exception crosses into the caller, and
// texts and arrays go into buffers the caller owns, which say how much they need when too small.

#include <algorithm>
#include <cstddef>
#include <new>
#include <span>
#include <string_view>

#include "capi/ambersel.h"

namespace ambersel::capi {

// Runs `call`, which returns a status, and turns whatever it throws into one.
template <typename Call>
int guarded(const Call& call) noexcept {
    try {
        return call();
    } catch (const std::bad_alloc&) {
        return AMBERSEL_ERROR_OUT_OF_MEMORY;
    } catch (...) {
        // Anything else is a fault of the library; the caller gets its status, never the throw.
        return AMBERSEL_ERROR_INTERNAL;
    }
}

// `text` and its terminating NUL into `buffer` of `size` bytes; `needed` (optional) gets the
// bytes it takes. Too small: an empty text (when there is room for one) and the status saying so.
inline int copyText(std::string_view text, char* buffer, std::size_t size, std::size_t* needed) {
    if (buffer == nullptr && size > 0) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    const std::size_t required = text.size() + 1;
    if (needed != nullptr) {
        *needed = required;
    }
    if (buffer == nullptr || size < required) {
        if (buffer != nullptr && size > 0) {
            buffer[0] = '\0';
        }
        return AMBERSEL_ERROR_BUFFER_TOO_SMALL;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = '\0';
    return AMBERSEL_OK;
}

// `items` into `out` of `capacity` elements; `count` (required) gets their number.
template <typename Item>
int copyItems(std::span<const Item> items, Item* out, std::size_t capacity, std::size_t* count) {
    if (count == nullptr || (out == nullptr && capacity > 0)) {
        return AMBERSEL_ERROR_ARGUMENT;
    }
    *count = items.size();
    if (capacity < items.size()) {
        return AMBERSEL_ERROR_BUFFER_TOO_SMALL;
    }
    std::copy(items.begin(), items.end(), out);
    return AMBERSEL_OK;
}

}  // namespace ambersel::capi
