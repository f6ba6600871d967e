#include "plot/pdf/deflate.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <stdexcept>

namespace ambersel::plot::pdf {
namespace {

// zlib's fastest: a chart's content and a long list compress five to six times faster than at
// zlib's default level (6), and come out only 10 to 20 % larger.
constexpr int kLevel = 1;
constexpr int kWindowBits = 15;
constexpr int kMemoryLevel = 8;

}  // namespace

// zlib keeps a pointer back to its z_stream: it lives on the heap, where it never moves.
struct Deflater::Stream {
    z_stream zlib{};

    Stream() {
        if (deflateInit2(&zlib, kLevel, Z_DEFLATED, kWindowBits, kMemoryLevel,
                         Z_DEFAULT_STRATEGY) != Z_OK) {
            throw std::runtime_error("zlib could not start a compressed stream");
        }
    }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;
    ~Stream() { deflateEnd(&zlib); }

    // Runs deflate over `bytes` with `flush`, appending its output to `out`.
    void run(std::string_view bytes, int flush, std::string& out) {
        std::array<unsigned char, 16384> chunk{};
        do {
            constexpr std::size_t kLargest = std::numeric_limits<uInt>::max();
            const std::size_t taken = std::min(bytes.size(), kLargest);
            // zlib's interface takes a non-const pointer but never writes through it.
            zlib.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
            zlib.avail_in = static_cast<uInt>(taken);
            const bool last = taken == bytes.size();
            int status = Z_OK;
            do {
                zlib.next_out = chunk.data();
                zlib.avail_out = static_cast<uInt>(chunk.size());
                status = deflate(&zlib, last ? flush : Z_NO_FLUSH);
                if (status == Z_STREAM_ERROR) {
                    throw std::runtime_error("zlib failed while compressing");
                }
                out.append(reinterpret_cast<const char*>(chunk.data()),
                           chunk.size() - zlib.avail_out);
            } while (zlib.avail_out == 0 || (last && flush == Z_FINISH && status != Z_STREAM_END));
            bytes.remove_prefix(taken);
        } while (!bytes.empty());
    }
};

Deflater::Deflater() : m_stream(std::make_unique<Stream>()) {}
Deflater::Deflater(Deflater&&) noexcept = default;
Deflater& Deflater::operator=(Deflater&&) noexcept = default;
Deflater::~Deflater() = default;

void Deflater::add(std::string_view bytes, std::string& out) {
    if (!bytes.empty()) {
        m_stream->run(bytes, Z_NO_FLUSH, out);
    }
}

void Deflater::finish(std::string& out) {
    m_stream->run({}, Z_FINISH, out);
}

std::string deflated(std::string_view bytes) {
    std::string out;
    Deflater deflater;
    deflater.add(bytes, out);
    deflater.finish(out);
    return out;
}

}  // namespace ambersel::plot::pdf
