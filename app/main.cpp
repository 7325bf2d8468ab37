#include "app/startup.h"

// Ambrelux takes no arguments and reads no environment of its own.
int main() { return ambrelux::runAmbrelux(); }
