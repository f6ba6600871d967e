/*
 * ambersel.h: the Ambersel test figure F of frequency-level lists, as a C library.
 *
 * Plain C (C89 and later, and C++), for test sequencers, LabVIEW's library calls, Python's ctypes
 * and any language that calls C. The library evaluates a list exactly as ambersel-eval and the
 * dialog do, with the same core: the same F to the last bit, the same result line.
 *
 * Conventions, the same for every function:
 * - Every function but ambersel_version(), ambersel_status_text() and ambersel_free() returns a
 *   status: AMBERSEL_OK, or an AMBERSEL_ERROR_... code whose text ambersel_status_text() gives.
 *   No exception and no abort ever leaves the library; running out of memory is a status too.
 * - Text is UTF-8 and goes into buffers the caller owns: `buffer` holds `size` bytes, and
 *   `*needed` (when `needed` is not NULL) receives the bytes the text takes with its terminating
 *   NUL, whether or not it fitted. A text that does not fit leaves an empty string in the buffer
 *   (when size > 0) and gives AMBERSEL_ERROR_BUFFER_TOO_SMALL, so a first call with size 0 asks
 *   for the size. Arrays work alike, counted in elements.
 * - Output pointers that a function marks optional may be NULL; the others may not
 *   (AMBERSEL_ERROR_ARGUMENT).
 * - A result is immutable once made: several threads may read one result, and evaluate lists,
 *   at the same time. The library keeps no global state.
 * - Every structure is made of 8-byte members only, so that it has the same layout whatever the
 *   caller's packing (LabVIEW packs clusters to 1 byte on 32-bit Windows).
 */
#ifndef AMBERSEL_H
#define AMBERSEL_H

#include <stddef.h>
#include <stdint.h>

#if defined(_WIN32)
#if defined(AMBERSEL_BUILDING_LIBRARY)
#define AMBERSEL_API __declspec(dllexport)
#else
#define AMBERSEL_API __declspec(dllimport)
#endif
#define AMBERSEL_CALL __cdecl
#else
#define AMBERSEL_API __attribute__((visibility("default")))
#define AMBERSEL_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Statuses. */
#define AMBERSEL_OK 0
#define AMBERSEL_ERROR_ARGUMENT 1         /* a required pointer is NULL, or a value is invalid */
#define AMBERSEL_ERROR_BUFFER_TOO_SMALL 2 /* *needed says how much it takes */
#define AMBERSEL_ERROR_OUT_OF_MEMORY 3
#define AMBERSEL_ERROR_PATH 4       /* the path is not valid UTF-8 (UTF-16) or names no file */
#define AMBERSEL_ERROR_UNREADABLE 5 /* the list file could not be opened, or not read whole */
#define AMBERSEL_ERROR_INCOMPLETE 6 /* AMBERSEL_STRICT: no points, or reading stopped early */
#define AMBERSEL_ERROR_NO_VERDICT 7 /* asked for F, or what comes of it, of a list without one */
#define AMBERSEL_ERROR_BAND_EDGES 8 /* edges not finite, positive and strictly increasing */
#define AMBERSEL_ERROR_KIT 9        /* the validation kit is missing or damaged */
#define AMBERSEL_ERROR_SELF_TEST_FAILED                                                  \
    10                             /* a reference list gave another result than expected \
                                    */
#define AMBERSEL_ERROR_INTERNAL 11 /* a fault of the library itself; please report it */

/* Flags of the evaluate functions. */
#define AMBERSEL_STRICT                                                        \
    1U /* a list without points, or one whose reading stopped at a malformed   \
          item, gives no verdict but AMBERSEL_ERROR_INCOMPLETE: for unattended \
          runs, which must not take a truncated or foreign file for a pass */

/* Verdicts, numbered as ambersel-eval's exit statuses. */
#define AMBERSEL_PASS 0
#define AMBERSEL_FAIL 1
#define AMBERSEL_NONE 2 /* the list gave no verdict: unreadable, or incomplete when strict */

/* How reading a list ended. */
#define AMBERSEL_STOP_END_OF_FILE 0    /* every item was read */
#define AMBERSEL_STOP_MALFORMED_ITEM 1 /* an item was not a point; it and all after it unread */
#define AMBERSEL_STOP_READ_ERROR 2     /* the system failed a read */
#define AMBERSEL_STOP_FILE_CHANGED 3   /* the file was written to while it was read */
#define AMBERSEL_STOP_NOT_OPENED 4     /* the file did not open; nothing was read */

/* Where a band lies. */
#define AMBERSEL_BAND_BETWEEN 0      /* between two edges: [lower, upper), the last one closed */
#define AMBERSEL_BAND_BELOW 1        /* below the lowest edge (lower_hz is -infinity) */
#define AMBERSEL_BAND_ABOVE 2        /* above the highest edge (upper_hz is +infinity) */
#define AMBERSEL_BAND_NO_FREQUENCY 3 /* points whose frequency is not a number */

/* One frequency band's part in F. */
typedef struct ambersel_band {
    int64_t place; /* AMBERSEL_BAND_... */
    double lower_hz;
    double upper_hz;
    uint64_t point_count;
    double sum_of_terms;        /* the band's terms added in list order, in double precision */
    int64_t has_share;          /* 0 when F is zero or not finite */
    double share;               /* sum_of_terms / F */
    int64_t has_margin_without; /* 0 when F without the band has no margin */
    double margin_without_db;   /* the list's margin without the band's points, to 0.01 dB */
} ambersel_band;

/* One of the points that weigh most in F. */
typedef struct ambersel_contributor {
    uint64_t index;      /* 1-based position in the list */
    double frequency_hz; /* as read (a single-precision value, widened exactly) */
    double level_dbuv;   /* as read, widened alike */
    double term;         /* the point's term in F */
    int64_t has_share;   /* 0 when F is zero or not finite */
    double share;        /* term / F */
} ambersel_contributor;

/* One evaluated list. */
typedef struct ambersel_result ambersel_result;

/* The library's version, "1.0.0"; the same as ambersel-eval's. Never NULL. */
AMBERSEL_API const char* AMBERSEL_CALL ambersel_version(void);

/* What a status means, in one English sentence without a full stop. Never NULL. */
AMBERSEL_API const char* AMBERSEL_CALL ambersel_status_text(int status);

/*
 * Reads and evaluates the list file at `path` (UTF-8; on systems other than Windows, any bytes
 * that name a file). `flags`: 0 or AMBERSEL_STRICT. Sets *result to the evaluated list, or to
 * NULL when none could be made (a NULL argument, memory); free it with ambersel_free() whatever
 * the status. AMBERSEL_ERROR_PATH, AMBERSEL_ERROR_UNREADABLE and AMBERSEL_ERROR_INCOMPLETE still
 * give a result: its ambersel_message() says why the list gave no verdict, and its JSON object
 * says so as ambersel-eval does.
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_evaluate_file(const char* path, unsigned int flags,
                                                      ambersel_result** result);

#if defined(_WIN32)
/* The same for a path in UTF-16, as Windows names files; any name Windows accepts. */
AMBERSEL_API int AMBERSEL_CALL ambersel_evaluate_file_w(const wchar_t* path, unsigned int flags,
                                                        ambersel_result** result);
#endif

/*
 * Evaluates the `size` bytes at `bytes` as the contents of a list file. `name` (UTF-8, optional)
 * is what the JSON object gives as its "path"; NULL gives "-", as for standard input. `bytes`
 * may be NULL when `size` is 0.
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_evaluate_buffer(const void* bytes, size_t size,
                                                        const char* name, unsigned int flags,
                                                        ambersel_result** result);

/* Frees a result; NULL is ignored. */
AMBERSEL_API void AMBERSEL_CALL ambersel_free(ambersel_result* result);

/* Why the list gave no verdict ("No such file or directory"); an empty text when it gave one. */
AMBERSEL_API int AMBERSEL_CALL ambersel_message(const ambersel_result* result, char* buffer,
                                                size_t size, size_t* needed);

/* AMBERSEL_PASS, AMBERSEL_FAIL or AMBERSEL_NONE. */
AMBERSEL_API int AMBERSEL_CALL ambersel_verdict(const ambersel_result* result, int* verdict);

/* F, and its IEEE single-precision bits (both optional). AMBERSEL_ERROR_NO_VERDICT without one. */
AMBERSEL_API int AMBERSEL_CALL ambersel_figure(const ambersel_result* result, float* figure,
                                               uint32_t* bits);

/* The result line, "PASS : F = 0.1210" or "FAIL : F = 1.2104". */
AMBERSEL_API int AMBERSEL_CALL ambersel_result_line(const ambersel_result* result, char* buffer,
                                                    size_t size, size_t* needed);

/* The number of points read. */
AMBERSEL_API int AMBERSEL_CALL ambersel_point_count(const ambersel_result* result, uint64_t* count);

/*
 * How reading ended: `reason` is an AMBERSEL_STOP_... value; for a malformed item, `line` is the
 * 1-based line where it begins (0 otherwise) and `excerpt` the start of its text as it stands in
 * the file, up to 40 bytes (empty otherwise). `line` and `excerpt` are optional (excerpt NULL
 * with size 0).
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_stop(const ambersel_result* result, int* reason,
                                             uint64_t* line, char* excerpt, size_t size,
                                             size_t* needed);

/*
 * The margin in dB, 20 log10(1/F), rounded to 0.01 dB as every output prints it: how much every
 * level may rise (positive) or must come down (negative) for F to reach 1. *has_margin is 0,
 * and *margin_db 0, where F is zero, negative or not finite.
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_margin(const ambersel_result* result, int* has_margin,
                                               double* margin_db);

/*
 * F band by band, between `edge_count` edges in Hz (finite, positive, strictly increasing, at
 * least two), or with edges NULL and edge_count 0 over the decades the list spans. Writes up to
 * `capacity` bands; *count (required) receives the number of bands.
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_bands(const ambersel_result* result, const double* edges,
                                              size_t edge_count, ambersel_band* bands,
                                              size_t capacity, size_t* count);

/*
 * The `wanted` points that weigh most in F, heaviest first (a term that is not a number first,
 * ties in list order). *count (required) receives how many there are: `wanted`, or fewer for a
 * shorter list.
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_heaviest(const ambersel_result* result, size_t wanted,
                                                 ambersel_contributor* points, size_t capacity,
                                                 size_t* count);

/*
 * The list's JSON object, byte for byte as `ambersel-eval --json` writes it on its line: with
 * "top" when `top` > 0, bands between `edges` (NULL: over the decades), and "points" when
 * `with_points` is not 0.
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_json(const ambersel_result* result, size_t top,
                                             const double* edges, size_t edge_count,
                                             int with_points, char* buffer, size_t size,
                                             size_t* needed);

/*
 * Evaluates every reference list of the validation kit in `kit_folder` (UTF-8; NULL: the kit
 * installed with the library) and compares each result with the expected one to the bit.
 * AMBERSEL_OK when every case agrees, AMBERSEL_ERROR_SELF_TEST_FAILED when any differs,
 * AMBERSEL_ERROR_KIT when the kit cannot be read. The report goes to `report` as every text does:
 * one line per case and a summary line, or why the kit cannot be read. A report that does not fit
 * gives AMBERSEL_ERROR_BUFFER_TOO_SMALL, whatever the verdict; `cases` and `differing` (optional)
 * still receive the number of cases and of those that differ.
 */
AMBERSEL_API int AMBERSEL_CALL ambersel_self_test(const char* kit_folder, char* report, size_t size,
                                                  size_t* needed, uint64_t* cases,
                                                  uint64_t* differing);

#ifdef __cplusplus
}
#endif

#endif /* AMBERSEL_H */
