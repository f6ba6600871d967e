#include "files/sha256.h"

#include <nettle/sha2.h>

#include "text/byte_text.h"

namespace ambersel {

struct Sha256::State {
    sha256_ctx context{};
};

Sha256::Sha256() : m_state(std::make_unique<State>()) {
    sha256_init(&m_state->context);
}

Sha256::~Sha256() = default;

void Sha256::add(std::span<const unsigned char> bytes) {
    sha256_update(&m_state->context, bytes.size(), bytes.data());
}

std::string Sha256::hexDigest() {
    unsigned char digest[SHA256_DIGEST_SIZE];
    sha256_digest(&m_state->context, SHA256_DIGEST_SIZE, digest);
    return hexText(std::string_view(reinterpret_cast<const char*>(digest), sizeof digest));
}

}  // namespace ambersel
