#include "app/app.h"

#include "app/framework/runtime.h"

namespace ambrelux {

void App::Event_Open() { setAutoQuit(true); }

App* App::instance() { return dynamic_cast<App*>(GetAppObject()); }

std::unique_ptr<FileType> FileTypes::pText;

void InitFileTypes() {
  auto type = std::make_unique<FileType>();
  type->Name = "text";
  type->Extensions = "";
  type->MacType = "TEXT";
  type->MacCreator = "R*ch";
  FileTypes::pText = std::move(type);
}

}  // namespace ambrelux
