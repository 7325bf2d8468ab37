// Pictures from the application's own resources, by number.
#pragma once

#include <QPixmap>
#include <memory>

namespace ambrelux {

struct Picture {
  QPixmap pixmap;
};

class ResourceFork {
 public:
  // The picture resource of that number, or nil when missing or unreadable.
  std::shared_ptr<Picture> GetPicture(int number) const;
};

// The application's own resources; nil when it has none.
const ResourceFork* appResourceForkGetter();

// A picture loaded on first use and kept; a failed load is tried again on
// the next call.
class PictureCache {
 public:
  explicit PictureCache(int number) : number_(number) {}
  std::shared_ptr<Picture> get();
  void release() { picture_.reset(); }

 private:
  int number_;
  std::shared_ptr<Picture> picture_;
};

}  // namespace ambrelux
