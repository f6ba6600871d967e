#pragma once

// Standard output and standard error on a Windows console. The program writes every text as UTF-8
// (generalized UTF-8 where a file name holds an unpaired surrogate); a console shows bytes in its
// code page, where "dBµV" would come out as "dB┬ÁV". So where a stream is a console its text goes
// to the console as UTF-16, which shows in any code page. A stream redirected to a file or a pipe
// is left alone: it gets the UTF-8 bytes, the same as on every other system.

#include <array>
#include <functional>
#include <memory>
#include <streambuf>
#include <string>
#include <string_view>

namespace ambersel::cli {

// Generalized UTF-8 to UTF-16, piece by piece: a character cut between two pieces is completed by
// the next. A byte that starts no character becomes U+FFFD, as does a character cut by the end.
class Utf16Decoder {
  public:
    // The text that the bytes so far complete; keeps the start of a cut character.
    std::u16string decode(std::string_view bytes);
    // The rest: U+FFFD when a character was cut, otherwise nothing.
    std::u16string finish();

  private:
    std::string m_pending;
};

// A stream buffer that hands what is written to it to a sink as UTF-16 text, each time it is
// flushed and whenever its buffer is full. A sink that fails fails the stream.
class WideTextBuffer final : public std::streambuf {
  public:
    // Takes the text; false when it could not be written.
    using Sink = std::function<bool(std::u16string_view text)>;

    explicit WideTextBuffer(Sink sink);
    WideTextBuffer(const WideTextBuffer&) = delete;
    WideTextBuffer& operator=(const WideTextBuffer&) = delete;
    // Hands over what is still held, a cut character as U+FFFD.
    ~WideTextBuffer() override;

  protected:
    int_type overflow(int_type byte) override;
    int sync() override;

  private:
    bool handOver(bool last);

    std::array<char, 4096> m_bytes{};
    Utf16Decoder m_decoder;
    Sink m_sink;
};

// While it lives, std::cout and std::cerr each write through the console's wide-character output
// when it is a console (Windows only), and through a buffer of the C runtime's when it is a file or
// a pipe; every other system stays as it was. Flushes and restores both streams when it ends.
// Made before anything is written; one at a time, on the main thread.
class ConsoleOutput {
  public:
    ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;
    ~ConsoleOutput();

  private:
    std::unique_ptr<WideTextBuffer> m_output;
    std::unique_ptr<WideTextBuffer> m_error;
    std::streambuf* m_formerOutput = nullptr;
    std::streambuf* m_formerError = nullptr;
};

}  // namespace ambersel::cli
