#pragma once

#include <stdexcept>

namespace ambrelux {

// Raised on use of an absent object reference.
class NilObjectException : public std::runtime_error {
 public:
  explicit NilObjectException(const char* what = "nil object") : std::runtime_error(what) {}
};

// Throws NilObjectException when `p` is null, else returns it.
template <typename T>
T* requireObject(T* p, const char* what = "nil object") {
  if (!p) throw NilObjectException(what);
  return p;
}

}  // namespace ambrelux
