#include "status_window/bar_pictures.h"

#include "resources/resources.h"

namespace ambrelux {

namespace {

PictureCache& cache(int number) {
  static PictureCache capacity(kCapacityBarPicture), charge(kChargeBarPicture), life(kLifeBarPicture);
  return number == kCapacityBarPicture ? capacity : number == kChargeBarPicture ? charge : life;
}

}  // namespace

std::shared_ptr<Picture> barPicture(int number) {
  initResources();
  return cache(number).get();
}

std::shared_ptr<Picture> CapacityBarImage() { return barPicture(kCapacityBarPicture); }
std::shared_ptr<Picture> ChargeBarImage() { return barPicture(kChargeBarPicture); }
std::shared_ptr<Picture> LifeBarImage() { return barPicture(kLifeBarPicture); }

void releaseBarPictures() {
  cache(kCapacityBarPicture).release();
  cache(kChargeBarPicture).release();
  cache(kLifeBarPicture).release();
}

}  // namespace ambrelux
