// What applications ask a camera before they use it: the capture pin
// category, a live source's flags and paused state, and the stream
// configuration (capabilities, SetFormat, GetFormat, media types).
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "camera/camera_filter.h"
#include "tests/support/camera_graph.h"

namespace {

ComRef<IPin> OnlyPin(IBaseFilter* filter) {
  IEnumPins* rawPins = nullptr;
  EXPECT_EQ(S_OK, filter->EnumPins(&rawPins));
  ComRef<IEnumPins> pins(rawPins);
  IPin* pin[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(S_FALSE, pins->Next(2, pin, &fetched));
  EXPECT_EQ(1u, fetched);
  return ComRef<IPin>(pin[0]);
}

void FreeType(AM_MEDIA_TYPE* type) {
  if (!type) return;
  CoTaskMemFree(type->pbFormat);
  CoTaskMemFree(type);
}

const VIDEOINFOHEADER& InfoOf(const AM_MEDIA_TYPE* type) {
  return *reinterpret_cast<const VIDEOINFOHEADER*>(type->pbFormat);
}

class CameraFilterPin : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))); }
  void TearDown() override {
    EXPECT_EQ(0, ModuleLockCount());
    CoUninitialize();
  }
};

TEST_F(CameraFilterPin, AnswersCategoryFlagsAndStreamConfigurationAtEachCamerasSize) {
  for (const CameraProfile* profile : {&kLandscapeCamera, &kPortraitCamera}) {
    IBaseFilter* raw = nullptr;
    ASSERT_EQ(S_OK, CreateCameraFilter(*profile, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(&raw)));
    ComRef<IBaseFilter> filter(raw);
    EXPECT_EQ(ULONG{AM_FILTER_MISC_FLAGS_IS_SOURCE},
              Query<IAMFilterMiscFlags>(filter.get(), IID_IAMFilterMiscFlags)->GetMiscFlags());
    ComRef<IPin> pin = OnlyPin(filter.get());
    ASSERT_TRUE(pin);

    auto property = Query<IKsPropertySet>(pin.get(), IID_IKsPropertySet);
    ASSERT_TRUE(property);
    GUID category = GUID_NULL;
    DWORD returned = 0;
    EXPECT_EQ(S_OK, property->Get(AMPROPSETID_Pin, AMPROPERTY_PIN_CATEGORY, nullptr, 0, &category,
                                  sizeof(category), &returned));
    EXPECT_TRUE(category == PIN_CATEGORY_CAPTURE);
    EXPECT_EQ(sizeof(GUID), returned);

    // One capability per format, each FORMAT_VideoInfo at the camera's size
    // and 30 fps, each accepted by the pin; the media type enumerator agrees.
    auto config = Query<IAMStreamConfig>(pin.get(), IID_IAMStreamConfig);
    ASSERT_TRUE(config);
    int count = 0, size = 0;
    ASSERT_EQ(S_OK, config->GetNumberOfCapabilities(&count, &size));
    ASSERT_EQ(4, count);
    ASSERT_EQ(static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS)), size);
    std::set<DWORD> compressions;
    for (int i = 0; i < count; ++i) {
      AM_MEDIA_TYPE* type = nullptr;
      VIDEO_STREAM_CONFIG_CAPS caps{};
      ASSERT_EQ(S_OK, config->GetStreamCaps(i, &type, reinterpret_cast<BYTE*>(&caps)));
      EXPECT_TRUE(type->formattype == FORMAT_VideoInfo && caps.guid == FORMAT_VideoInfo);
      EXPECT_EQ(profile->width, InfoOf(type).bmiHeader.biWidth);
      EXPECT_EQ(profile->height, InfoOf(type).bmiHeader.biHeight);
      EXPECT_EQ(333333, InfoOf(type).AvgTimePerFrame);
      EXPECT_EQ(333333, caps.MinFrameInterval);
      EXPECT_EQ(type->lSampleSize, InfoOf(type).bmiHeader.biSizeImage);
      EXPECT_EQ(S_OK, pin->QueryAccept(type));
      compressions.insert(InfoOf(type).bmiHeader.biCompression);
      FreeType(type);
    }
    EXPECT_EQ(4u, compressions.size());
    AM_MEDIA_TYPE* beyond = nullptr;
    VIDEO_STREAM_CONFIG_CAPS caps{};
    EXPECT_EQ(S_FALSE, config->GetStreamCaps(count, &beyond, reinterpret_cast<BYTE*>(&caps)));

    IEnumMediaTypes* rawTypes = nullptr;
    ASSERT_EQ(S_OK, pin->EnumMediaTypes(&rawTypes));
    ComRef<IEnumMediaTypes> types(rawTypes);
    AM_MEDIA_TYPE* listed[5] = {};
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, types->Next(5, listed, &fetched));
    EXPECT_EQ(4u, fetched);
    for (ULONG i = 0; i < fetched; ++i) FreeType(listed[i]);

    // SetFormat takes one of ours and refuses another size; GetFormat tells
    // the choice before any connection.
    AM_MEDIA_TYPE* rgb = nullptr;
    ASSERT_EQ(S_OK, config->GetStreamCaps(3, &rgb, reinterpret_cast<BYTE*>(&caps)));
    reinterpret_cast<VIDEOINFOHEADER*>(rgb->pbFormat)->bmiHeader.biWidth = 640;
    EXPECT_EQ(S_FALSE, pin->QueryAccept(rgb));
    EXPECT_EQ(VFW_E_INVALIDMEDIATYPE, config->SetFormat(rgb));
    reinterpret_cast<VIDEOINFOHEADER*>(rgb->pbFormat)->bmiHeader.biWidth = profile->width;
    EXPECT_EQ(S_OK, config->SetFormat(rgb));
    AM_MEDIA_TYPE* chosen = nullptr;
    ASSERT_EQ(S_OK, config->GetFormat(&chosen));
    EXPECT_TRUE(chosen->subtype == rgb->subtype);
    FreeType(chosen);
    FreeType(rgb);
  }
}

// A live source cannot cue: paused, GetState says so; running again, the
// stamps go on rising.
TEST_F(CameraFilterPin, PausedLiveSourceCannotCueAndResumesWithRisingStamps) {
  CameraGraph graph(kLandscapeCamera, SectionNameFor("pause"), CameraFormat::kYuy2);
  ASSERT_EQ(S_OK, graph.built());
  ASSERT_TRUE(SUCCEEDED(graph.Run()));
  ASSERT_TRUE(graph.WaitFrames(3));
  auto control = Query<IMediaControl>(graph.graph(), IID_IMediaControl);
  ASSERT_TRUE(SUCCEEDED(control->Pause()));
  FILTER_STATE state = State_Stopped;
  EXPECT_EQ(VFW_S_CANT_CUE, graph.camera()->GetState(0, &state));
  EXPECT_EQ(State_Paused, state);
  const auto before = graph.Take();
  ASSERT_TRUE(SUCCEEDED(graph.Run()));
  ASSERT_TRUE(graph.WaitFrames(3));
  graph.Stop();
  const auto after = graph.Take();
  EXPECT_GT(after.front().start, before.back().start);
}

// SetFormat after the graph is built reconnects the pin to the same peer
// in the new format (both sides agree on it).
TEST_F(CameraFilterPin, SetFormatOnAConnectedPinReconnectsInTheNewFormat) {
  CameraGraph graph(kLandscapeCamera, SectionNameFor("reformat"), CameraFormat::kYuy2);
  ASSERT_EQ(S_OK, graph.built());
  IPin* rawPin = nullptr;
  ASSERT_EQ(S_OK, graph.camera()->FindPin(L"Capture", &rawPin));
  ComRef<IPin> pin(rawPin);
  IPin* rawPeer = nullptr;
  ASSERT_EQ(S_OK, pin->ConnectedTo(&rawPeer));
  ComRef<IPin> peer(rawPeer);
  auto config = Query<IAMStreamConfig>(pin.get(), IID_IAMStreamConfig);
  AM_MEDIA_TYPE* rgb = nullptr;
  VIDEO_STREAM_CONFIG_CAPS caps{};
  ASSERT_EQ(S_OK, config->GetStreamCaps(3, &rgb, reinterpret_cast<BYTE*>(&caps)));
  EXPECT_EQ(S_OK, config->SetFormat(rgb));
  for (IPin* side : {pin.get(), peer.get()}) {
    AM_MEDIA_TYPE connected{};
    ASSERT_EQ(S_OK, side->ConnectionMediaType(&connected));
    EXPECT_TRUE(connected.subtype == rgb->subtype);
    CoTaskMemFree(connected.pbFormat);
  }
  IPin* rawAgain = nullptr;
  ASSERT_EQ(S_OK, pin->ConnectedTo(&rawAgain));
  ComRef<IPin> again(rawAgain);
  EXPECT_EQ(peer.get(), again.get());
  FreeType(rgb);
}

}  // namespace
