#include "files/sha256.h"

#include <windows.h>
// CNG's declarations need windows.h before them.
#include <bcrypt.h>

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "text/byte_text.h"

namespace ambersel {
namespace {

void check(NTSTATUS status, const char* what) {
    // Every Windows since Vista provides SHA-256: a failure here means a broken system.
    if (!BCRYPT_SUCCESS(status)) {
        throw std::runtime_error(std::string("SHA-256 from the system failed: ") + what);
    }
}

}  // namespace

struct Sha256::State {
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    BCRYPT_HASH_HANDLE hash = nullptr;

    State() = default;
    State(const State&) = delete;
    State& operator=(const State&) = delete;
    ~State() {
        if (hash != nullptr) {
            BCryptDestroyHash(hash);
        }
        if (algorithm != nullptr) {
            BCryptCloseAlgorithmProvider(algorithm, 0);
        }
    }
};

Sha256::Sha256() : m_state(std::make_unique<State>()) {
    check(BCryptOpenAlgorithmProvider(&m_state->algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0),
          "no algorithm provider");
    check(BCryptCreateHash(m_state->algorithm, &m_state->hash, nullptr, 0, nullptr, 0, 0),
          "no hash object");
}

Sha256::~Sha256() = default;

void Sha256::add(std::span<const unsigned char> bytes) {
    // CNG takes at most 4 GiB - 1 bytes a call.
    constexpr std::size_t kLargestCall = 1U << 30U;
    while (!bytes.empty()) {
        const std::size_t count = std::min(bytes.size(), kLargestCall);
        check(BCryptHashData(m_state->hash, const_cast<PUCHAR>(bytes.data()),
                             static_cast<ULONG>(count), 0),
              "hashing");
        bytes = bytes.subspan(count);
    }
}

std::string Sha256::hexDigest() {
    unsigned char digest[32];
    check(BCryptFinishHash(m_state->hash, digest, sizeof digest, 0), "finishing");
    return hexText(std::string_view(reinterpret_cast<const char*>(digest), sizeof digest));
}

}  // namespace ambersel
