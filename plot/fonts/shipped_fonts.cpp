#include "plot/fonts/shipped_fonts.h"

// The assembler copies the files into the read-only data section; the build names their folder.
#if defined(_WIN32)
#define AMBERSEL_READ_ONLY_SECTION ".section .rdata,\"dr\"\n"
#else
#define AMBERSEL_READ_ONLY_SECTION ".section .rodata\n"
#endif

#define AMBERSEL_SHIPPED_FACE(symbol, file) \
    ".p2align 4\n" #symbol ":\n.incbin \"" AMBERSEL_DEJAVU_DIR "/" file "\"\n" #symbol "_end:\n"

asm(AMBERSEL_READ_ONLY_SECTION AMBERSEL_SHIPPED_FACE(ambersel_dejavu_sans, "DejaVuSans.ttf")
        AMBERSEL_SHIPPED_FACE(ambersel_dejavu_sans_bold, "DejaVuSans-Bold.ttf")
            AMBERSEL_SHIPPED_FACE(ambersel_dejavu_sans_mono, "DejaVuSansMono.ttf") ".text\n");

extern "C" {
extern const std::byte ambersel_dejavu_sans[];
extern const std::byte ambersel_dejavu_sans_end[];
extern const std::byte ambersel_dejavu_sans_bold[];
extern const std::byte ambersel_dejavu_sans_bold_end[];
extern const std::byte ambersel_dejavu_sans_mono[];
extern const std::byte ambersel_dejavu_sans_mono_end[];
}

namespace ambersel::plot {

std::span<const std::byte> shippedFontFile(Face face) {
    switch (face) {
        case Face::SansBold:
            return {ambersel_dejavu_sans_bold, ambersel_dejavu_sans_bold_end};
        case Face::SansMono:
            return {ambersel_dejavu_sans_mono, ambersel_dejavu_sans_mono_end};
        case Face::Sans:
            break;
    }
    return {ambersel_dejavu_sans, ambersel_dejavu_sans_end};
}

}  // namespace ambersel::plot
