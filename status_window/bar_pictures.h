// The three bar pictures, each loaded from the application's resources on
// first use and kept until exit. A failed load gives nil and is retried on
// the next call.
#pragma once

#include <memory>

#include "app/framework/picture.h"

namespace ambrelux {

std::shared_ptr<Picture> CapacityBarImage();  // picture 168
std::shared_ptr<Picture> ChargeBarImage();    // picture 169
std::shared_ptr<Picture> LifeBarImage();      // picture 170

// Releases the three cached pictures, in this order.
void releaseBarPictures();

}  // namespace ambrelux
