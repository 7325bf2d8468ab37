#pragma once

#include <string>

namespace ambrelux {

// A declared document type.
struct FileType {
  std::string Name;
  std::string Extensions;
  std::string MacType;
  std::string MacCreator;
};

}  // namespace ambrelux
