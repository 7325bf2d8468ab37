#include "resources/resources.h"

#include <QtGlobal>

static void initAmbreluxResources() { Q_INIT_RESOURCE(ambrelux); }

namespace ambrelux {

void initResources() {
  static const bool done = (initAmbreluxResources(), true);
  (void)done;
}

}  // namespace ambrelux
