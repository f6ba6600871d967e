/* A wrong maths library, to preload before the C library's own: pow() a millionth too large. */
#define _GNU_SOURCE
#include <dlfcn.h>

double pow(double base, double exponent) {
    typedef double (*Pow)(double, double);
    /* The real pow, looked up by name so that the compiler cannot fold this call into itself. */
    const Pow real = (Pow)dlsym(RTLD_NEXT, "pow");
    return real(base, exponent) * (1.0 + 1e-6);
}
