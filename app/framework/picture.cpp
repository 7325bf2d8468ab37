#include "app/framework/picture.h"

#include <QString>

#include "app/framework/exceptions.h"

namespace ambrelux {

std::shared_ptr<Picture> ResourceFork::GetPicture(int number) const {
  QPixmap pixmap(QStringLiteral(":/pictures/%1").arg(number));
  if (pixmap.isNull()) return nullptr;
  return std::make_shared<Picture>(Picture{std::move(pixmap)});
}

const ResourceFork* appResourceForkGetter() {
  static const ResourceFork fork;
  return &fork;
}

std::shared_ptr<Picture> PictureCache::get() {
  if (picture_) return picture_;
  const ResourceFork* fork = requireObject(appResourceForkGetter(), "no application resources");
  picture_ = fork->GetPicture(number_);
  return picture_;
}

}  // namespace ambrelux
