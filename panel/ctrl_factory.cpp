#include "panel/ctrl_factory.h"

#include "panel/dui_main.h"

std::unique_ptr<DUICtrl> CreateCtrl(const std::string& className) {
  if (className == "op_area") return std::make_unique<DUIMain>();
  return nullptr;
}
