#include "status_window/bar_pictures.h"

#include "resources/resources.h"

namespace ambrelux {

namespace {

PictureCache& cache(int number) {
  static PictureCache capacity(168), charge(169), life(170);
  return number == 168 ? capacity : number == 169 ? charge : life;
}

std::shared_ptr<Picture> load(int number) {
  initResources();
  return cache(number).get();
}

}  // namespace

std::shared_ptr<Picture> CapacityBarImage() { return load(168); }
std::shared_ptr<Picture> ChargeBarImage() { return load(169); }
std::shared_ptr<Picture> LifeBarImage() { return load(170); }

void releaseBarPictures() {
  cache(168).release();
  cache(169).release();
  cache(170).release();
}

}  // namespace ambrelux
