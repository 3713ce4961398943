#include "panel/ctrl_factory.h"

#include "panel/dui_circle_item.h"
#include "panel/dui_decor_item.h"
#include "panel/dui_filter_item.h"
#include "panel/dui_main.h"
#include "panel/dui_page_adjust.h"
#include "panel/dui_page_holder.h"
#include "panel/dui_page_list.h"
#include "panel/dui_slider.h"
#include "panel/dui_tab_button.h"
#include "panel/dui_tab_holder.h"

std::unique_ptr<DUICtrl> CreateCtrl(const std::string& className) {
  if (className == "op_area") return std::make_unique<DUIMain>();
  if (className == "circle_item") return std::make_unique<DUICircleItem>();
  if (className == "decor_item") return std::make_unique<DUIDecorItem>();
  if (className == "filter_item") return std::make_unique<DUIFilterItem>();
  if (className == "page_adjust") return std::make_unique<DUIPageAdjust>();
  if (className == "page_list") return std::make_unique<DUIPageList>();
  if (className == "page_switch") return std::make_unique<DUIPageHolder>();
  if (className == "slider") return std::make_unique<DUISlider>();
  if (className == "tab") return std::make_unique<DUITabButton>();
  if (className == "tab_holder") return std::make_unique<DUITabHolder>();
  return nullptr;
}
