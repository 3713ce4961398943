#include "tests/panel/container_fixture.h"

TestTile::TestTile(int id) {
  auto list = std::make_unique<AttributeList>();
  list->Add("id", std::to_string(id));
  list->Add("class", "test_tile");
  SetAttributes(std::move(list));
}

PanelHost::PanelHost(int width, int height) {
  Create(nullptr, RECT{60, 60, 60 + width, 60 + height}, "panel test",
         WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW);
}

void ContainerTest::Config(const std::string& ctrls) {
  manager.Execute("<command name=\"config\"><ctrl class=\"op_area\" id=\"1\">" + ctrls + "</ctrl></command>");
  ASSERT_NE(nullptr, manager.root());
  ASSERT_TRUE(manager.root()->m_hWnd);
}

RECT ContainerTest::PlaceInParent(HWND wnd) {
  RECT rc{};
  GetWindowRect(wnd, &rc);
  MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}
