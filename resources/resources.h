#pragma once

#include <QIcon>

namespace ambrelux {

// Registers the compiled-in resources; safe to call more than once.
void initResources();

// The application's icon, at each size it is drawn in.
QIcon applicationIcon();

}  // namespace ambrelux
