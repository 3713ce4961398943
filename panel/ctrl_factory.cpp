#include "panel/ctrl_factory.h"

#include "panel/dui_main.h"
#include "panel/dui_page_adjust.h"
#include "panel/dui_page_holder.h"
#include "panel/dui_page_list.h"
#include "panel/dui_tab_button.h"
#include "panel/dui_tab_holder.h"

std::unique_ptr<DUICtrl> CreateCtrl(const std::string& className) {
  if (className == "op_area") return std::make_unique<DUIMain>();
  if (className == "page_adjust") return std::make_unique<DUIPageAdjust>();
  if (className == "page_list") return std::make_unique<DUIPageList>();
  if (className == "page_switch") return std::make_unique<DUIPageHolder>();
  if (className == "tab") return std::make_unique<DUITabButton>();
  if (className == "tab_holder") return std::make_unique<DUITabHolder>();
  return nullptr;
}
