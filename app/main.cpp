// Ambersel_Test: the Ambersel Test Calculator's desktop program.

#include "app/ambersel_test_app.h"

// The one application object; it exists for the whole life of the process.
CAmbersel_TestApp theApp;

int main(int argc, char** argv) {
    return theApp.Run(argc, argv);
}
