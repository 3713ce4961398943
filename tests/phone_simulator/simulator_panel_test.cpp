// The simulator as the phone app's panel: the pictures and the "config" it
// builds the desktop's panel with, its answers to the desktop's notify
// events, and the selected filter's tint on its picture.
#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "tests/phone_simulator/desktop_client.h"
#include "video/core/ffmpeg_owners.h"
#include "video/core/h264_decoder.h"

namespace {

using Blobs = std::map<std::string, std::vector<uint8_t>>;
using Attributes = std::map<std::string, std::string>;

std::string Notify(const std::string& event, int id, int parent_id, const std::string& extra = "") {
  return "<command name=\"notify\"><event name=\"" + event + "\" id=\"" + std::to_string(id) +
         "\" parent_id=\"" + std::to_string(parent_id) + "\"" + extra + "></event></command>";
}

// Reads frames up to the first Command, keeping the Blobs by name; skips Video.
::testing::AssertionResult ReadPanelOpening(DesktopClient& desktop, Blobs* blobs, std::string* command) {
  for (ReceivedFrame frame; desktop.ReadFrame(&frame) && frame.Whole();) {
    if (frame.type == 4) {
      command->assign(frame.payload.begin(), frame.payload.end());
      return ::testing::AssertionSuccess();
    }
    if (frame.type == 3 && frame.payload.size() >= 255)
      (*blobs)[reinterpret_cast<const char*>(frame.payload.data())].assign(frame.payload.begin() + 255,
                                                                           frame.payload.end());
  }
  return ::testing::AssertionFailure() << "the link ended before a command came";
}

std::string ReadCommand(DesktopClient& desktop) {
  ReceivedFrame frame;
  while (desktop.ReadFrame(&frame) && frame.Whole())
    if (frame.type == 4) return std::string(frame.payload.begin(), frame.payload.end());
  return "(no command)";
}

Attributes AttributesOf(const TiXmlElement* element) {
  Attributes attributes;
  for (const TiXmlAttribute* a = element->FirstAttribute(); a; a = a->Next())
    attributes[a->Name()] = a->Value();
  return attributes;
}

// Every <ctrl> below `element`, depth first, with the class of its parent.
void CollectCtrls(const TiXmlElement* element, const std::string& parent_class,
                  std::vector<std::pair<std::string, Attributes>>* out) {
  for (const TiXmlElement* c = element->FirstChildElement("ctrl"); c; c = c->NextSiblingElement("ctrl")) {
    out->emplace_back(parent_class, AttributesOf(c));
    CollectCtrls(c, AttributesOf(c)["class"], out);
  }
}

// The size FFmpeg's PNG decoder finds in `data`; 0 x 0 when it is not a PNG picture.
std::pair<int, int> DecodedPngSize(std::vector<uint8_t> data) {
  const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_PNG);
  CodecContextOwner context(avcodec_alloc_context3(codec));
  PacketOwner packet(av_packet_alloc());
  FrameOwner frame(av_frame_alloc());
  data.resize(data.size() + AV_INPUT_BUFFER_PADDING_SIZE);  // the decoder reads a little past the end
  packet.get()->data = data.data();
  packet.get()->size = static_cast<int>(data.size() - AV_INPUT_BUFFER_PADDING_SIZE);
  if (avcodec_open2(context.get(), codec, nullptr) < 0 ||
      avcodec_send_packet(context.get(), packet.get()) < 0 ||
      avcodec_receive_frame(context.get(), frame.get()) < 0)
    return {0, 0};
  return {frame.get()->width, frame.get()->height};
}

TEST(SimulatorPanel, ConnectSendsPicturesAndAConfigAndAClickOnATileSelectsIt) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--no-video"}));
  Blobs blobs;
  std::string config;
  ASSERT_TRUE(ReadPanelOpening(desktop, &blobs, &config)) << sim.Transcript();

  TiXmlDocument document;
  document.Parse(config.c_str(), nullptr, TIXML_ENCODING_UTF8);
  ASSERT_FALSE(document.Error()) << config;
  const TiXmlElement* command = document.RootElement();
  ASSERT_EQ(AttributesOf(command)["name"], "config");
  const TiXmlElement* root = command->FirstChildElement("ctrl");
  ASSERT_TRUE(root && !root->NextSiblingElement()) << "one root";
  EXPECT_EQ(AttributesOf(root)["class"], "op_area");
  std::vector<std::pair<std::string, Attributes>> ctrls;
  CollectCtrls(root, "op_area", &ctrls);

  std::map<std::string, int> counts;  // "parent class/class"
  std::set<std::string> ids = {AttributesOf(root)["id"]};
  Attributes page_switch, filter_page, cancel_tile;
  for (auto& [parent, ctrl] : ctrls) {
    ++counts[parent + "/" + ctrl["class"]];
    EXPECT_TRUE(ids.insert(ctrl["id"]).second) << "id " << ctrl["id"] << " twice";
    if (ctrl["class"] == "page_switch") page_switch = ctrl;
    if (ctrl["class"] == "page_list" && filter_page.empty()) filter_page = ctrl;
    if (ctrl["name"] == "原图") cancel_tile = ctrl;
    if (ctrl.count("image")) {
      SCOPED_TRACE(ctrl["image"]);
      ASSERT_TRUE(blobs.count(ctrl["image"])) << "the picture came before the config";
      EXPECT_EQ(DecodedPngSize(blobs[ctrl["image"]]), std::make_pair(68, 68));
    }
  }
  EXPECT_EQ(counts, (std::map<std::string, int>{{"op_area/tab_holder", 1},
                                                {"op_area/page_switch", 1},
                                                {"tab_holder/tab", 3},
                                                {"page_switch/page_list", 3},
                                                {"page_switch/page_adjust", 1},
                                                {"page_list/filter_item", 12},
                                                {"page_list/decor_item", 6},
                                                {"page_list/circle_item", 6},
                                                {"page_adjust/slider", 3}}));
  // The untouched picture is a cancel tile and is selected at the start.
  EXPECT_EQ(cancel_tile["is_cancel"], "1");
  EXPECT_EQ(filter_page["selected"], cancel_tile["id"]);

  // A click on the filter page's tile 105, as the desktop sends it: the
  // answer re-sends the page's whole attribute set with the new selection.
  ASSERT_TRUE(desktop.SendFrame(4, Notify("click", 105, std::stoi(filter_page["id"]))));
  const std::string answer = ReadCommand(desktop);
  TiXmlDocument modify;
  modify.Parse(answer.c_str(), nullptr, TIXML_ENCODING_UTF8);
  ASSERT_FALSE(modify.Error()) << answer;
  EXPECT_EQ(AttributesOf(modify.RootElement()),
            (Attributes{{"name", "modify"}, {"parent_id", page_switch["id"]}}));
  const TiXmlElement* page = modify.RootElement()->FirstChildElement("ctrl");
  ASSERT_TRUE(page && !page->NextSiblingElement()) << answer;
  Attributes expected = filter_page;
  expected["selected"] = "105";
  EXPECT_EQ(AttributesOf(page), expected);
}

// What an answer says, for the table below: per command "modify PARENT:"
// and per control its id with what the phone decides in it (the selection,
// the slider value, the adjust page's title); commands joined by " | ".
std::string Summary(const std::vector<std::string>& commands) {
  std::string out;
  for (const std::string& text : commands) {
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_ENCODING_UTF8);
    if (document.Error()) return "unparsable: " + text;
    Attributes command = AttributesOf(document.RootElement());
    out += (out.empty() ? "" : " | ") + command["name"] + " " + command["parent_id"] + ":";
    for (const TiXmlElement* c = document.RootElement()->FirstChildElement("ctrl"); c;
         c = c->NextSiblingElement()) {
      Attributes ctrl = AttributesOf(c);
      out += " " + ctrl["id"];
      for (const char* key : {"selected", "pos"})
        if (ctrl.count(key)) out += std::string(" ") + key + "=" + ctrl[key];
      if (ctrl["class"] == "page_adjust") out += " name=" + ctrl["name"];
    }
  }
  return out;
}

TEST(SimulatorPanel, AnswersEachEventAsThePhoneApp) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--no-video"}));
  Blobs blobs;
  std::string config;
  ASSERT_TRUE(ReadPanelOpening(desktop, &blobs, &config)) << sim.Transcript();
  const std::string kSliders = "modify 24: 401 pos=70 402 pos=40 403 pos=0";
  // In order, on one link: each row starts from the state the rows above left.
  const struct {
    std::string event, answer;
  } rows[] = {
      {Notify("click", 12, 2), "modify 1: 2 selected=12 3 selected=22"},  // a tab shows its page
      {Notify("click", 203, 22), "modify 3: 22 selected=203"},
      {Notify("click", 105, 21), "modify 3: 21 selected=105"},
      {Notify("doubleclick", 105, 21), "modify 3: 24 name=粉嫩 | " + kSliders + " | modify 1: 3 selected=24"},
      {Notify("slider_pos", 401, 24, " pos=\"35\""), ""},  // taken, not answered
      {Notify("slider_end", 401, 24, " pos=\"36\""), ""},
      {Notify("custom", 24, 3, " event=\"back\""), "modify 1: 3 selected=21"},
      // The filter kept its value: opened again, its slider shows it.
      {Notify("doubleclick", 105, 21),
       "modify 3: 24 name=粉嫩 | modify 24: 401 pos=36 402 pos=40 403 pos=0 | modify 1: 3 selected=24"},
      {Notify("custom", 24, 3, " event=\"reset\""), kSliders},
      {Notify("doubleclick", 101, 21), ""},  // the untouched picture has nothing to adjust
      {Notify("click", 999, 21), ""},
      {"<command name=\"notify\"><event", ""},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.event);
    ASSERT_TRUE(desktop.SendFrame(4, row.event));
    // Answers come in order: a row that expects none would see a stray one
    // at the next row.
    std::vector<std::string> answers;
    const size_t count = row.answer.empty() ? 0 : std::count(row.answer.begin(), row.answer.end(), '|') + 1;
    while (answers.size() < count) answers.push_back(ReadCommand(desktop));
    EXPECT_EQ(Summary(answers), row.answer);
  }
  EXPECT_EQ(desktop.WaitReadable(500), 0) << "nothing more";
}

TEST(SimulatorPanel, SelectedFilterTintsThePictureAndTheUntouchedTileRestoresIt) {
  SimulatorProcess sim;
  DesktopClient desktop;
  ASSERT_TRUE(ListenAndGreet(sim, desktop, {"--size", "640x360", "--preset", "ultrafast"}));
  RecordingSink sink;
  H264Decoder decoder;
  decoder.SetFrameSink(&sink);
  // The white corner patch of the newest picture.
  auto white_corner = [&] {
    const DeliveredPicture& p = sink.pictures.back();
    return p.At(p.height - 1 - p.height / 8, p.width - 1 - p.width / 8);
  };
  // Steps: plain picture, then 冷调 (blue) selected, then 原图 again.
  const std::function<bool()> reached[] = {
      [&] { return sink.pictures.back().Corners() == kUprightCorners; },
      [&] { return white_corner().r < 190 && white_corner().b > 225; },
      [&] { return sink.pictures.back().Corners() == kUprightCorners && white_corner().r > 235; },
  };
  const int clicks[] = {103, 101};
  size_t step = 0;
  // Each step shows within a few pictures; 300 (10 s) bound the wait.
  for (int decoded = 0; decoded < 300 && step < 3;) {
    ReceivedFrame frame;
    ASSERT_TRUE(desktop.ReadFrame(&frame) && frame.Whole()) << sim.Transcript();
    if (frame.type != 1) continue;
    sink.pictures.clear();
    decoder.Feed(frame.payload.data(), static_cast<int>(frame.payload.size()));
    decoded += static_cast<int>(sink.pictures.size());
    if (sink.pictures.empty() || !reached[step]()) continue;
    if (++step < 3) {
      ASSERT_TRUE(desktop.SendFrame(4, Notify("click", clicks[step - 1], 21)));
    }
  }
  EXPECT_EQ(step, 3u) << "stuck before step " << step << "\n" << sim.Transcript();
}

}  // namespace
