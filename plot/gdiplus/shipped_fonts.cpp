#include "plot/gdiplus/shipped_fonts.h"

// The assembler copies the files into the read-only data section; the build names their folder.
asm(".section .rdata,\"dr\"\n"
    ".p2align 4\n"
    "ambersel_dejavu_sans:\n"
    ".incbin \"" AMBERSEL_DEJAVU_DIR
    "/DejaVuSans.ttf\"\n"
    "ambersel_dejavu_sans_end:\n"
    ".p2align 4\n"
    "ambersel_dejavu_sans_bold:\n"
    ".incbin \"" AMBERSEL_DEJAVU_DIR
    "/DejaVuSans-Bold.ttf\"\n"
    "ambersel_dejavu_sans_bold_end:\n"
    ".text\n");

extern "C" {
extern const std::byte ambersel_dejavu_sans[];
extern const std::byte ambersel_dejavu_sans_end[];
extern const std::byte ambersel_dejavu_sans_bold[];
extern const std::byte ambersel_dejavu_sans_bold_end[];
}

namespace ambersel::plot {

std::span<const std::byte> shippedFontFile(bool bold) {
    return bold ? std::span(ambersel_dejavu_sans_bold, ambersel_dejavu_sans_bold_end)
                : std::span(ambersel_dejavu_sans, ambersel_dejavu_sans_end);
}

}  // namespace ambersel::plot
