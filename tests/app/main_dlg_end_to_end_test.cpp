// End to end through the main dialog: connect, over the fake adb's forward,
// to a phone simulator. The cameras' side (the section reader in its own
// process, and the camera viewer through DirectShow as a streaming
// application would) sees the simulator's picture by its four corner colours,
// turned and mirrored as the mode and mirror buttons say. The phone's panel
// answers a click on a tile by selecting it, a double click opens the
// filter's sliders, and a drag reports each new value and one end. A second
// click on connect disconnects and the window narrows again.
#include <gtest/gtest.h>

#include <winsock2.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/camera_registration.h"
#include "app/main_dlg.h"
#include "framework/handles.h"
#include "framework/message_loop.h"
#include "panel/dui_ctrl.h"
#include "panel/dui_page_adjust.h"
#include "tests/support/fake_adb_fixture.h"
#include "tests/support/pump.h"
#include "tests/support/temp_folder.h"
#include "tools/phone_simulator/test_pattern.h"
#include "widgets/gdiplus_owners.h"

namespace {

using namespace test_pattern;

// What a camera sees: the size and the corner colours (top left, top right,
// bottom left, bottom right) of the picture in "LumoraFileMapping".
struct CameraView {
  UINT width = 0, height = 0;
  int corners[4] = {kNoCorner, kNoCorner, kNoCorner, kNoCorner};
  bool Is(UINT w, UINT h, const int (&expected)[4]) const {
    return width == w && height == h && std::equal(corners, corners + 4, expected);
  }
};

std::string Describe(const CameraView& view) {
  std::string text = std::to_string(view.width) + "x" + std::to_string(view.height);
  for (int corner : view.corners) text += std::string(" ") + CornerColourName(corner);
  return text;
}

// Runs a tool of the build in its own process; true when it exits with 0.
bool RunTool(std::wstring command) {
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                      &si, &pi))
    return false;
  UniqueHandle process(pi.hProcess), thread(pi.hThread);
  DWORD code = 1;
  if (WaitForSingleObject(process.get(), 30000) != WAIT_OBJECT_0) TerminateProcess(process.get(), 1);
  GetExitCodeProcess(process.get(), &code);
  return code == 0;
}

std::wstring Wide(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

CameraView ReadPng(const std::string& png) {
  CameraView view;
  std::wstring widePng = Wide(png);
  Gdiplus::GpBitmap* raw = nullptr;
  if (Gdiplus::DllExports::GdipCreateBitmapFromFile(widePng.c_str(), &raw) != Gdiplus::Ok) return view;
  GpBitmapPtr picture(raw);
  Gdiplus::DllExports::GdipGetImageWidth(picture.get(), &view.width);
  Gdiplus::DllExports::GdipGetImageHeight(picture.get(), &view.height);
  // The middle of each corner patch (a quarter of the picture each way).
  const INT low[2] = {static_cast<INT>(view.width / 8), static_cast<INT>(view.height / 8)};
  const INT high[2] = {static_cast<INT>(view.width - 1 - view.width / 8),
                       static_cast<INT>(view.height - 1 - view.height / 8)};
  const INT xs[4] = {low[0], high[0], low[0], high[0]}, ys[4] = {low[1], low[1], high[1], high[1]};
  for (int i = 0; i < 4; ++i) {
    Gdiplus::ARGB argb = 0;
    Gdiplus::DllExports::GdipBitmapGetPixel(picture.get(), xs[i], ys[i], &argb);
    view.corners[i] = ClassifyCornerColour(
        {static_cast<uint8_t>(argb >> 16), static_cast<uint8_t>(argb >> 8), static_cast<uint8_t>(argb)});
  }
  return view;
}

// What a tool of the build (section reader, camera viewer) saves as `png`.
CameraView ReadWith(const char* tool, const std::wstring& options, const std::string& png) {
  const std::wstring command =
      L"\"" + Wide(WinePath(tool)) + L"\" " + options + L" --png \"" + Wide(png) + L"\"";
  return RunTool(command) ? ReadPng(png) : CameraView{};
}

int WindowWidth(HWND window) {
  RECT rc;
  GetWindowRect(window, &rc);
  return rc.right - rc.left;
}

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

// The phone's panel, built, clicked, double clicked and dragged.
void ExpectThePhonesPanelToAnswer(CMainDlg& dlg, const SimulatorLog& log) {
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
  const std::string end = Notify("slider_end", kStrengthSlider, kAdjustPage, " pos=\"" + shown.back() + "\"");
  ASSERT_TRUE(PumpUntil([&] { return log.Has(end); }, 10000)) << log.Text();
  for (const std::string& pos : shown)
    EXPECT_EQ(log.Count(Notify("slider_pos", kStrengthSlider, kAdjustPage, " pos=\"" + pos + "\"")), 1u)
        << pos;
  EXPECT_EQ(log.Count("\"slider_pos\""), shown.size());
  EXPECT_EQ(log.Count("\"slider_end\""), 1u);
}

// The cameras' pictures after each button.
void ExpectTheCamerasToFollowTheButtons(CMainDlg& dlg, const std::string& folder) {
  // One connection; each click changes the pictures from the next one on,
  // so each step waits (bounded) until the cameras see the new picture.
  const std::string png = folder + "section.png", framePng = folder + "camera.png";
  const struct {
    int command;  // 0: none, the picture as connected
    UINT width, height;
    int corners[4];
    const wchar_t* camera;  // the camera that carries this picture, read as an application does
  } steps[] = {
      {0, 1280, 720, {kTopLeft, kTopRight, kBottomLeft, kBottomRight}, L"Vela直播助手（横屏）"},
      // Turned a quarter clockwise: the phone's left edge is now the top.
      {CMainDlg::kModeId,
       720,
       1280,
       {kBottomLeft, kTopLeft, kBottomRight, kTopRight},
       L"Vela直播助手（竖屏）"},
      // Left and right swap.
      {CMainDlg::kMirrorHId, 720, 1280, {kTopLeft, kBottomLeft, kTopRight, kBottomRight}, nullptr},
      // Top and bottom swap.
      {CMainDlg::kMirrorVId, 720, 1280, {kTopRight, kBottomRight, kTopLeft, kBottomLeft}, nullptr},
  };
  for (const auto& step : steps) {
    if (step.command) dlg.SendMessage(WM_COMMAND, step.command, 0);
    auto expectSeen = [&](const char* tool, const std::wstring& options, const std::string& png,
                          DWORD bound) {
      CameraView seen;
      EXPECT_TRUE(PumpUntil(
          [&] { return (seen = ReadWith(tool, options, png)).Is(step.width, step.height, step.corners); },
          bound))
          << tool << " after command " << step.command << " sees " << Describe(seen);
    };
    expectSeen(SECTION_READER_PATH, L"", png, 20000);
    if (step.camera)
      expectSeen(CAMERA_VIEWER_PATH, L"--camera \"" + std::wstring(step.camera) + L"\" --frames 5", framePng,
                 30000);
  }
}

TEST(MainDialogEndToEnd, ThePhoneBuildsAndAnswersItsPanelAndTheCamerasSeeItsPictureAsTheButtonsSay) {
  WSADATA wsa;  // the program's entry starts Winsock; here the test does
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &wsa), 0);
  FakeAdbFolder adb;
  adb.SetScenario(ScenarioLine("devices", "List of devices attached\r\nSIM0001\tdevice\r\n") +
                  ScenarioLine("model SIM0001", "[ro.product.model]: [Simulator]\r\n"));
  // The cameras as installed: registered from the build's module folder (the
  // dialog's own start-up looks in the test's program folder, which has none).
  RegisterCameraModules(WinePath(CAMERA_MODULE_FOLDER), [](const std::string&) {});
  SimulatorLog log;
  CMessageLoop loop;
  AppModule().AddMessageLoop(&loop);
  {
    CMainDlg dlg;
    std::string told;
    dlg.SetUserMessage([&](const std::string& text, const std::string&) { told += text + "\n"; });
    ASSERT_TRUE(dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOWNOACTIVATE);
    dlg.worker().SetEndpoint("127.0.0.1", MAIN_DIALOG_SIMULATOR_PORT);
    ASSERT_TRUE(PumpUntil([&] { return dlg.deviceBox().GetText() == "Simulator"; }, 20000));

    dlg.SendMessage(WM_COMMAND, CMainDlg::kConnectId, 0);
    ASSERT_TRUE(PumpUntil([&] { return WindowWidth(dlg) == 1080; }, 20000)) << told;
    // The pictures first: a filter chosen on the panel tints them.
    ExpectTheCamerasToFollowTheButtons(dlg, adb.folder());
    ExpectThePhonesPanelToAnswer(dlg, log);

    dlg.SendMessage(WM_COMMAND, CMainDlg::kConnectId, 0);
    EXPECT_TRUE(PumpUntil([&] { return WindowWidth(dlg) == 730; }, 5000));
    dlg.DestroyWindow();
  }
  AppModule().RemoveMessageLoop();
  WSACleanup();
}

}  // namespace
