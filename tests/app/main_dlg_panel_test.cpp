// End to end through the main dialog and the phone simulator's panel: after
// connect the phone builds its panel beside the picture; a click on a tile
// reaches the phone as its notify text and the phone's answer selects the
// tile; a double click opens the filter's sliders, and a drag reports each
// new value and one end.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <string>
#include <vector>

#include "app/main_dlg.h"
#include "framework/message_loop.h"
#include "panel/dui_ctrl.h"
#include "panel/dui_page_adjust.h"
#include "tests/support/fake_adb_fixture.h"
#include "tests/support/pump.h"
#include "tests/support/temp_folder.h"

namespace {

// The simulator's panel: the filter page and its second tile, the adjust
// page that a double click on a filter opens and its first slider.
constexpr int kFilterPage = 21, kSecondFilter = 102, kAdjustPage = 24, kStrengthSlider = 401;

DUICtrl* Find(CMainDlg& dlg, int id) {
  if (!dlg.panel().root()) return nullptr;
  std::vector<DUICtrl*> all;
  CollectDescendants(*dlg.panel().root(), all);
  for (DUICtrl* c : all)
    if (c->id() == id) return c;
  return nullptr;
}

// What the simulator printed since `from` (its log holds every session).
class SimulatorLog {
 public:
  SimulatorLog() : from_(ReadFileBytes(path_).size()) {}
  std::string Text() const { return ReadFileBytes(path_).substr(from_); }
  bool Has(const std::string& line) const { return Text().find(line + "\n") != std::string::npos; }
  size_t Count(const std::string& piece) const {
    const std::string text = Text();
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
  }

 private:
  const std::string path_ = WinePath(MAIN_DIALOG_SIMULATOR_LOG);
  const size_t from_;
};

std::string Notify(const std::string& event, int id, int parent, const std::string& extra = "") {
  return "command <command name=\"notify\"><event name=\"" + event + "\" id=\"" + std::to_string(id) +
         "\" parent_id=\"" + std::to_string(parent) + "\"" + extra + "></event></command>";
}

std::string WindowText(HWND wnd) {
  char text[64] = {};
  GetWindowTextA(wnd, text, sizeof text);
  return text;
}

TEST(MainDialogPanel, TheSimulatedPhoneBuildsItsPanelAndAnswersClicksAndDrags) {
  WSADATA wsa;
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("devices", "List of devices attached\r\nSIM0001\tdevice\r\n") +
                  ScenarioLine("model SIM0001", "[ro.product.model]: [Simulator]\r\n"));
  SimulatorLog log;
  CMessageLoop loop;
  AppModule().AddMessageLoop(&loop);
  {
    CMainDlg dlg;
    dlg.SetUserMessage([](const std::string&, const std::string&) {});
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    dlg.worker().SetEndpoint("127.0.0.1", MAIN_DIALOG_SIMULATOR_PORT);
    ASSERT_TRUE(PumpUntil([&] { return dlg.deviceBox().GetText() == "Simulator"; }, 20000));
    dlg.SendMessage(WM_COMMAND, CMainDlg::kConnectId, 0);

    // The panel: twelve filter tiles with their windows, the first (原图) selected.
    ASSERT_TRUE(PumpUntil(
        [&] {
          std::vector<DUICtrl*> tiles;
          if (DUICtrl* page = Find(dlg, kFilterPage)) page->GetChildren(tiles);
          return tiles.size() == 12 && tiles.back()->m_hWnd && IsWindowVisible(dlg.panel().root()->m_hWnd);
        },
        20000))
        << log.Text();
    auto* tile = static_cast<DUIItem*>(Find(dlg, kSecondFilter));
    ASSERT_NE(tile, nullptr);
    EXPECT_FALSE(tile->selected());

    // A click: the exact notify text at the phone, whose answer selects the tile.
    tile->PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
    tile->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
    ASSERT_TRUE(PumpUntil([&] { return tile->selected(); }, 10000)) << log.Text();
    EXPECT_TRUE(log.Has(Notify("click", kSecondFilter, kFilterPage))) << log.Text();

    // A double click opens the filter's sliders.
    tile->PostMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 30));
    tile->PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
    DUICtrl* adjust = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
          adjust = Find(dlg, kAdjustPage);
          return adjust && adjust->m_hWnd && IsWindowVisible(adjust->m_hWnd);
        },
        10000))
        << log.Text();

    // The strength row: its slider window and its value text. The row is not
    // among the page's children for the id searches; it is the page's list's.
    HWND row = nullptr;
    std::vector<DUICtrl*> rows;
    static_cast<DUIPageAdjust*>(adjust)->list().GetChildren(rows);
    for (DUICtrl* r : rows)
      if (r->id() == kStrengthSlider) row = r->m_hWnd;
    ASSERT_NE(row, nullptr);
    HWND slider = nullptr, value = nullptr;
    for (HWND c = GetWindow(row, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      char cls[32] = {};
      GetClassNameA(c, cls, sizeof cls);
      if (lstrcmpiA(cls, "Static") != 0)
        slider = c;
      else if (GetWindowLongA(c, GWL_STYLE) & SS_RIGHT)
        value = c;
    }
    ASSERT_TRUE(slider && value);

    // Press at the left end, drag right in steps, release: each new value
    // shown goes to the phone once, then one end with the last.
    RECT track;
    GetClientRect(slider, &track);
    const int y = track.bottom / 2;
    std::vector<std::string> shown;
    auto note = [&] {
      if (shown.empty() || shown.back() != WindowText(value)) shown.push_back(WindowText(value));
    };
    SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(0, y));
    note();
    for (int x = 0; x <= track.right / 2; x += 7) {
      SendMessageA(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
      note();
    }
    SendMessageA(slider, WM_LBUTTONUP, 0, MAKELPARAM(track.right / 2, y));
    ASSERT_GE(shown.size(), 3u);
    const std::string end =
        Notify("slider_end", kStrengthSlider, kAdjustPage, " pos=\"" + shown.back() + "\"");
    ASSERT_TRUE(PumpUntil([&] { return log.Has(end); }, 10000)) << log.Text();
    for (const std::string& pos : shown)
      EXPECT_EQ(log.Count(Notify("slider_pos", kStrengthSlider, kAdjustPage, " pos=\"" + pos + "\"")), 1u)
          << pos;
    EXPECT_EQ(log.Count("\"slider_pos\""), shown.size());
    EXPECT_EQ(log.Count("\"slider_end\""), 1u);

    dlg.SendMessage(WM_COMMAND, CMainDlg::kConnectId, 0);
    dlg.DestroyWindow();
  }
  AppModule().RemoveMessageLoop();
  WSACleanup();
}

}  // namespace
