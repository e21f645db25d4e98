// zkc: reads and sets DAC0 of ZKC motor controllers from the command line.

#include "zkc_program.h"

int main(int argc, char** argv) { return runZkc(argc, argv, WaitPrecision::systemCalls()); }
