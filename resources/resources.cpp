#include "resources/resources.h"

#include <QtGlobal>

static void initAmbreluxResources() { Q_INIT_RESOURCE(ambrelux); }

namespace ambrelux {

void initResources() {
  static const bool done = (initAmbreluxResources(), true);
  (void)done;
}

QIcon applicationIcon() {
  initResources();
  QIcon icon;
  for (int size : {16, 32, 64, 256}) icon.addFile(QStringLiteral(":/icons/%1").arg(size), QSize(size, size));
  return icon;
}

}  // namespace ambrelux
