/* Runs the C library's self-test on a validation kit and prints its report:
 *     kit_self_test [KIT_FOLDER]
 * Without KIT_FOLDER, on the kit installed with the library. Exits with 0 when every case agrees,
 * 1 when any differs, 2 when the kit cannot be read. */
#include <stdio.h>
#include <stdlib.h>

#include "ambersel.h"

int main(int argc, char** argv) {
    size_t needed = 0;
    char* report;
    int status;
    const char* kit = argc == 2 ? argv[1] : NULL;

    if (argc > 2) {
        fputs("usage: kit_self_test [KIT_FOLDER]\n", stderr);
        return 2;
    }
    ambersel_self_test(kit, NULL, 0, &needed, NULL, NULL);
    report = malloc(needed + 1);
    if (report == NULL) {
        return 2;
    }
    report[0] = '\0';
    status = ambersel_self_test(kit, report, needed, NULL, NULL, NULL);
    fputs(report, stdout);
    free(report);
    if (status != AMBERSEL_OK) {
        fprintf(stderr, "%s\n", ambersel_status_text(status));
    }
    return status == AMBERSEL_OK ? 0 : status == AMBERSEL_ERROR_SELF_TEST_FAILED ? 1 : 2;
}
