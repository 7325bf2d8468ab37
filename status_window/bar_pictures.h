// The three bar pictures, each loaded from the application's resources on
// first use and kept until exit. A failed load gives nil and is retried on
// the next call.
#pragma once

#include <memory>

#include "app/framework/picture.h"

namespace ambrelux {

// Their picture resource numbers.
inline constexpr int kCapacityBarPicture = 168;
inline constexpr int kChargeBarPicture = 169;
inline constexpr int kLifeBarPicture = 170;

std::shared_ptr<Picture> CapacityBarImage();
std::shared_ptr<Picture> ChargeBarImage();
std::shared_ptr<Picture> LifeBarImage();

// The one of the three with that resource number.
std::shared_ptr<Picture> barPicture(int number);

// Releases the three cached pictures, in this order.
void releaseBarPictures();

}  // namespace ambrelux
