#include "panel/ctrl_factory.h"

#include "panel/dui_circle_item.h"
#include "panel/dui_decor_item.h"
#include "panel/dui_filter_item.h"
#include "panel/dui_main.h"
#include "panel/dui_slider.h"

std::unique_ptr<DUICtrl> CreateCtrl(const std::string& className) {
  if (className == "op_area") return std::make_unique<DUIMain>();
  if (className == "circle_item") return std::make_unique<DUICircleItem>();
  if (className == "decor_item") return std::make_unique<DUIDecorItem>();
  if (className == "filter_item") return std::make_unique<DUIFilterItem>();
  if (className == "slider") return std::make_unique<DUISlider>();
  return nullptr;
}
