#pragma once

// Flate (zlib) compression of PDF streams, piece by piece, at one fixed level (zlib's fastest) and
// with fixed parameters: the same pieces give the same bytes from the same zlib on every platform.

#include <memory>
#include <string>
#include <string_view>

namespace ambersel::plot::pdf {

class Deflater {
  public:
    Deflater();
    Deflater(Deflater&&) noexcept;
    Deflater& operator=(Deflater&&) noexcept;
    Deflater(const Deflater&) = delete;
    Deflater& operator=(const Deflater&) = delete;
    ~Deflater();

    // Compresses `bytes` after what came before; what comes out is appended to `out`.
    void add(std::string_view bytes, std::string& out);
    // Ends the stream, appending its last bytes to `out`. Nothing may be added after.
    void finish(std::string& out);

  private:
    struct Stream;
    std::unique_ptr<Stream> m_stream;
};

// `bytes` as one whole Flate stream.
std::string deflated(std::string_view bytes);

}  // namespace ambersel::plot::pdf
