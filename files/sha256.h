#pragma once

// SHA-256 digests, computed by the platform's own cryptography library (nettle on Linux, the
// system's CNG on Windows), so that a record's hash rests on code that others keep and audit.

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace ambersel {

class Sha256 {
  public:
    Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;
    ~Sha256();

    // Adds the next bytes of the message.
    void add(std::span<const unsigned char> bytes);
    // The digest of everything added, as 64 lower-case hexadecimal digits. Ends the message:
    // nothing may be added afterwards.
    std::string hexDigest();

  private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace ambersel
