// Standard input, output and error, whatever state the launcher left them in.
#pragma once

namespace ambrelux {

// Opens each of descriptors 0, 1 and 2 that is closed on /dev/null. Call it
// before anything opens a descriptor: otherwise the next pipe, socket or
// file opened takes a closed slot, and whatever writes to standard error
// (Qt's warnings) writes into it.
void openStandardStreams();

}  // namespace ambrelux
