#include "app/framework/standard_streams.h"
#include "app/startup.h"

// Ambrelux takes no arguments and reads no environment of its own. A
// launcher may start it with its standard streams closed: they are reopened
// first, before Qt or Ambrelux opens a descriptor that would take their place.
int main() {
  ambrelux::openStandardStreams();
  return ambrelux::runAmbrelux();
}
