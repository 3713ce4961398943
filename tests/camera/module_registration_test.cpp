// The two camera module files as applications and the program meet them:
// registered by the program's start-up path and by regsvr32, both cameras
// are listed in the video input category under their exact names and lead
// to their module; unregistered, they are gone; a second registration adds
// nothing. And each module's class object serves only its own camera and
// keeps the module loaded while it lives.
#include <dshow.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/camera_registration.h"
#include "camera/camera_profile.h"
#include "camera/video_inputs.h"
#include "framework/handles.h"
#include "tests/support/temp_folder.h"

namespace {

const CameraProfile* const kProfiles[] = {&kLandscapeCamera, &kPortraitCamera};

std::string ModuleFolder() {
  return WinePath(CAMERA_MODULE_FOLDER);
}

// The friendly names of every device of the video input category, as a
// capture application enumerates them.
std::vector<std::wstring> VideoInputNames() {
  std::vector<std::wstring> names;
  VisitVideoInputs([&](const std::wstring& name, IMoniker*) {
    names.push_back(name);
    return false;
  });
  return names;
}

// How often each camera is listed, landscape first.
std::vector<int> ListedCameras() {
  const std::vector<std::wstring> names = VideoInputNames();
  std::vector<int> counts;
  for (const CameraProfile* p : kProfiles)
    counts.push_back(int(std::count(names.begin(), names.end(), p->friendlyName)));
  return counts;
}

DWORD Regsvr32(const std::string& options, const std::string& module) {
  std::string command = "regsvr32.exe " + options + " \"" + module + "\"";
  STARTUPINFOA startup{sizeof startup};
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return GetLastError();
  UniqueHandle process(info.hProcess), thread(info.hThread);
  DWORD code = WAIT_TIMEOUT;
  if (WaitForSingleObject(process.get(), 60000) == WAIT_OBJECT_0) GetExitCodeProcess(process.get(), &code);
  return code;
}

void RegisterAtStart() {
  std::vector<std::string> messages;
  RegisterCameraModules(ModuleFolder(), [&](const std::string& text) { messages.push_back(text); });
  EXPECT_EQ(messages, std::vector<std::string>{});
}

void RegisterWithRegsvr32() {
  for (const char* name : kCameraModuleNames) EXPECT_EQ(Regsvr32("/s", ModuleFolder() + name), 0u) << name;
}

void UnregisterWithRegsvr32() {
  for (const char* name : kCameraModuleNames) EXPECT_EQ(Regsvr32("/u /s", ModuleFolder() + name), 0u) << name;
}

// Whether COM finds a class object for the camera (through its class key).
HRESULT FindClassObject(const CameraProfile& profile) {
  IClassFactory* raw = nullptr;
  HRESULT result = CoGetClassObject(profile.clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                    reinterpret_cast<void**>(&raw));
  ComRef<IClassFactory> factory(raw);
  return result;
}

class CameraModuleTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))); }
  void TearDown() override { CoUninitialize(); }
};

TEST_F(CameraModuleTest, BothWaysOfRegisteringListTheCamerasOnceAndUnregisteringRemovesThem) {
  const struct {
    const char* what;
    void (*registerBoth)();
  } kWays[] = {{"program start-up", RegisterAtStart}, {"regsvr32", RegisterWithRegsvr32}};
  for (const auto& way : kWays) {
    SCOPED_TRACE(way.what);
    UnregisterWithRegsvr32();  // whatever an earlier program run left
    ASSERT_EQ(ListedCameras(), (std::vector<int>{0, 0}));

    way.registerBoth();
    way.registerBoth();
    EXPECT_EQ(ListedCameras(), (std::vector<int>{1, 1}));
    for (const CameraProfile* p : kProfiles) EXPECT_EQ(FindClassObject(*p), S_OK) << p->moduleName;

    UnregisterWithRegsvr32();
    EXPECT_EQ(ListedCameras(), (std::vector<int>{0, 0}));
    for (const CameraProfile* p : kProfiles)
      EXPECT_EQ(FindClassObject(*p), REGDB_E_CLASSNOTREG) << p->moduleName;
  }
}

TEST_F(CameraModuleTest, EachModuleServesOnlyItsOwnCameraAndStaysLoadedWhileItsFactoryLives) {
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();
  for (int i = 0; i < 2; ++i) {
    const CameraProfile& own = *kProfiles[i];
    const CameraProfile& other = *kProfiles[1 - i];
    SCOPED_TRACE(own.moduleName);
    UniqueModule module(LoadLibraryA((ModuleFolder() + own.moduleName).c_str()));
    ASSERT_TRUE(module);
    auto getClassObject = module.Proc<GetClassObjectFn>("DllGetClassObject");
    auto canUnloadNow = module.Proc<CanUnloadNowFn>("DllCanUnloadNow");
    ASSERT_TRUE(getClassObject && canUnloadNow);

    void* object = reinterpret_cast<void*>(1);
    EXPECT_EQ(getClassObject(other.clsid, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    ASSERT_EQ(getClassObject(own.clsid, IID_IClassFactory, &object), S_OK);
    ComRef<IClassFactory> factory(static_cast<IClassFactory*>(object));
    EXPECT_EQ(canUnloadNow(), S_FALSE);
    factory.get()->LockServer(TRUE);
    factory.reset();
    EXPECT_EQ(canUnloadNow(), S_FALSE);  // the client's lock
    ASSERT_EQ(getClassObject(own.clsid, IID_IClassFactory, &object), S_OK);
    static_cast<IClassFactory*>(object)->LockServer(FALSE);
    static_cast<IClassFactory*>(object)->Release();
    EXPECT_EQ(canUnloadNow(), S_OK);
  }
}

}  // namespace
