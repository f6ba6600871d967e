/* Runs the C library's self-test on a validation kit and prints its report:
 *     kit_self_test KIT_FOLDER
 * Exits with 0 when every case agrees, 1 when any differs, 2 when the kit cannot be read. */
#include <stdio.h>
#include <stdlib.h>

#include "ambersel.h"

int main(int argc, char** argv) {
    size_t needed = 0;
    char* report;
    int status;

    if (argc != 2) {
        fputs("usage: kit_self_test KIT_FOLDER\n", stderr);
        return 2;
    }
    ambersel_self_test(argv[1], NULL, 0, &needed, NULL, NULL);
    report = malloc(needed);
    if (report == NULL) {
        return 2;
    }
    status = ambersel_self_test(argv[1], report, needed, NULL, NULL, NULL);
    fputs(report, stdout);
    free(report);
    if (status != AMBERSEL_OK) {
        fprintf(stderr, "%s\n", ambersel_status_text(status));
    }
    return status == AMBERSEL_OK ? 0 : status == AMBERSEL_ERROR_SELF_TEST_FAILED ? 1 : 2;
}
