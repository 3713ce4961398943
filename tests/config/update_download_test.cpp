// The update download against the configuration server: the installer double
// is started with "?update=true" only when the maker's signature and the
// SHA-256 check out; every other offer is refused with its message and
// leaves no file; a cut-off download asks to try again; a web page opens in
// the browser; destroying the owner ends a download in flight at once.
#include <gtest/gtest.h>

#include "config/core/update_signature.h"
#include "config/update_download.h"
#include "tests/config/config_server_fixture.h"
#include "tests/support/pump.h"
#include "tests/support/temp_folder.h"

namespace {

// The test key pair (made once with tools/update_keygen): X || Y, and X || Y || d.
const char kTestPublicKey[] =
    "153f188fa8297e12eb0abd630ad4e63de8eb037acd067182e1aeea4b99b1e1a8"
    "6261fc5a6863693838e5072840f9212f58b5799e93a1ba91e48724ef7b6f0b6e";
const std::string kTestPrivateKey =
    std::string(kTestPublicKey) + "2f7caa36f5b42aaa4d9a39adaa26f6eaa46ee7fba797f5e6f4505fb1e3cd3d80";

// Base64 of the test key's signature over `message`, as the maker's tool makes it.
std::string Sign(const std::string& message) {
  std::string privateKey, digest, signature(kUpdateSignatureBytes, '\0');
  EXPECT_TRUE(DecodeHex(kTestPrivateKey, privateKey, 96));
  EXPECT_TRUE(Sha256OfBytes(message, digest));
  BCRYPT_ECCKEY_BLOB header{BCRYPT_ECDSA_PRIVATE_P256_MAGIC, 32};
  std::string blob = std::string(reinterpret_cast<const char*>(&header), sizeof header) + privateKey;
  BCryptAlgorithm algorithm = OpenAlgorithm(BCRYPT_ECDSA_P256_ALGORITHM);
  BCRYPT_KEY_HANDLE raw = nullptr;
  EXPECT_EQ(BCryptImportKeyPair(algorithm.get(), nullptr, BCRYPT_ECCPRIVATE_BLOB, &raw,
                                reinterpret_cast<UCHAR*>(&blob[0]), static_cast<ULONG>(blob.size()), 0),
            0);
  BCryptKey key(raw);
  ULONG size = 0;
  EXPECT_EQ(BCryptSignHash(key.get(), nullptr, reinterpret_cast<UCHAR*>(&digest[0]), 32,
                           reinterpret_cast<UCHAR*>(&signature[0]), 64, &size, 0),
            0);
  return EncodeBase64(signature);
}

// An offer for `bytes` at `url`, signed with the test key.
UpdateOffer SignedOffer(const std::string& url, const std::string& bytes) {
  UpdateOffer offer{"1.0.0.1", url, "", ""};
  std::string digest;
  EXPECT_TRUE(Sha256OfBytes(bytes, digest));
  offer.sha256 = EncodeHex(digest);
  offer.signature = Sign(UpdateSignedMessage(offer.version, offer.url, digest));
  return offer;
}

// The installer double served as /files/<name>, and a signed offer for it.
UpdateOffer ServeSignedInstaller(const std::string& name, std::string& bytes) {
  bytes = ReadFileBytes(RECORDING_INSTALLER);
  WriteFileBytes(WinePath(CONFIG_SERVER_STATE "/files/" + name), bytes);
  return SignedOffer(ServerUrl("/files/" + name + "?v=2"), bytes);
}

// A download in a folder of its own under a hidden owner window; what it
// shows is recorded as one text.
struct DownloadRun {
  TempFolder folder;
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  std::string events;
  int retries = 0;
  int yesToRetry = 0;
  CDownloadUpdate download{Ui(), kTestPublicKey, folder.path()};

  ~DownloadRun() {
    if (IsWindow(owner)) DestroyWindow(owner);
  }
  UpdateDownloadUi Ui() {
    UpdateDownloadUi ui = DefaultUpdateDownloadUi(
        [this](const char* text) { events += std::string("balloon ") + text + "; "; });
    ui.askRetry = [this] {
      events += "retry?; ";
      return ++retries <= yesToRetry;
    };
    ui.tellFailure = [this](const std::string& text) { events += "refused " + text + "; "; };
    ui.openPage = [this](const std::string& url) { events += "open " + url + "; "; };
    return ui;
  }
  bool Finishes() {
    return PumpUntil([&] { return download.result() >= 0; }, 20000);
  }
  bool Exists(const std::string& name) const {
    return GetFileAttributesA((folder.path() + name).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
};

const char kStarted[] = "balloon 已切换至后台更新，下载完毕后将提示您安装; ";

}  // namespace

TEST(UpdateDownloadTest, AVerifiedInstallerStartsWithTheUpdateArgument) {
  RemoteConfigScope scope;
  std::string bytes;
  UpdateOffer offer = ServeSignedInstaller("vela_update_good.exe", bytes);
  DownloadRun run;
  ASSERT_TRUE(run.download.StartUpdateDownload(run.owner, offer));
  ASSERT_TRUE(run.Finishes());
  EXPECT_EQ(run.download.result(), 1);
  EXPECT_EQ(run.events, std::string(kStarted) + "balloon 更新下载完毕; ");
  std::string installer = run.folder.path() + "vela_update_good.exe";
  ASSERT_TRUE(PumpUntil(
      [&] { return GetFileAttributesA((installer + ".args").c_str()) != INVALID_FILE_ATTRIBUTES; }, 20000));
  EXPECT_NE(ReadFileBytes(installer + ".args").find("?update=true"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(installer), bytes);
  EXPECT_FALSE(run.Exists("vela_update_good.tmp"));
  EXPECT_FALSE(IsWindow(run.download.m_hWnd));
  // The installer has ended once its file can go.
  EXPECT_TRUE(PumpUntil([&] { return DeleteFileA(installer.c_str()) != 0; }, 10000));
}

TEST(UpdateDownloadTest, AnInstallerThatDoesNotCheckOutIsRefusedAndDeleted) {
  RemoteConfigScope scope;
  struct Case {
    const char* name;
    void (*spoil)(UpdateOffer& offer, const std::string& name);
    const char* message;  // part of what the user is told
    bool downloaded;      // only a signed offer is downloaded at all
  } cases[] = {
      {"tampered installer",
       [](UpdateOffer&, const std::string& name) {
         WriteFileBytes(WinePath(CONFIG_SERVER_STATE "/files/" + name),
                        ReadFileBytes(RECORDING_INSTALLER) + "x");
       },
       "可能已被篡改", true},
      {"hash changed after signing",
       [](UpdateOffer& o, const std::string&) { o.sha256[0] = o.sha256[0] == '0' ? '1' : '0'; },
       "数字签名无效", false},
      {"hash not hex", [](UpdateOffer& o, const std::string&) { o.sha256 = "not a hash"; },
       "缺少有效的文件校验值", false},
      {"no signature", [](UpdateOffer& o, const std::string&) { o.signature.clear(); }, "缺少数字签名",
       false},
      {"signature not base64", [](UpdateOffer& o, const std::string&) { o.signature = "@@@@"; },
       "数字签名无效", false},
  };
  int i = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = "vela_update_refused" + std::to_string(i++) + ".exe";
    std::string bytes;
    UpdateOffer offer = ServeSignedInstaller(name, bytes);
    c.spoil(offer, name);
    const int requests = LoggedRequests("/files/" + name);
    DownloadRun run;
    ASSERT_TRUE(run.download.StartUpdateDownload(run.owner, offer));
    ASSERT_TRUE(run.Finishes());
    EXPECT_EQ(run.download.result(), 0);
    EXPECT_EQ(run.events.rfind(std::string(kStarted) + "refused ", 0), 0u) << run.events;
    EXPECT_NE(run.events.find(c.message), std::string::npos) << run.events;
    EXPECT_EQ(LoggedRequests("/files/" + name) - requests, c.downloaded ? 1 : 0);
    EXPECT_FALSE(run.Exists(name));
    EXPECT_FALSE(run.Exists(name + ".args"));
    EXPECT_FALSE(run.Exists(name.substr(0, name.size() - 4) + ".tmp"));
  }
}

TEST(UpdateDownloadTest, ACutOffDownloadAsksToTryAgainAndYesStartsAfresh) {
  RemoteConfigScope scope;
  DownloadRun run;
  run.yesToRetry = 1;
  UpdateOffer offer = SignedOffer(ServerUrl("/fault/cut/vela_update_cut.exe"), "whole");
  const int before = LoggedRequests("/fault/cut/vela_update_cut.exe");
  ASSERT_TRUE(run.download.StartUpdateDownload(run.owner, offer));
  ASSERT_TRUE(run.Finishes());
  EXPECT_EQ(run.download.result(), 0);
  EXPECT_EQ(run.events, std::string(kStarted) + "retry?; retry?; ");
  EXPECT_EQ(LoggedRequests("/fault/cut/vela_update_cut.exe") - before, 2);
  EXPECT_FALSE(run.Exists("vela_update_cut.tmp"));
  EXPECT_FALSE(run.Exists("vela_update_cut.exe"));
}

TEST(UpdateDownloadTest, AWebPageOpensInTheBrowser) {
  DownloadRun run;
  EXPECT_FALSE(run.download.StartUpdateDownload(run.owner, {"1.0.0.1", "http://h/new.exe.html", "", ""}));
  EXPECT_EQ(run.events, "open http://h/new.exe.html; ");
  EXPECT_FALSE(run.download.IsRunning());
}

TEST(UpdateDownloadTest, DestroyingTheOwnerEndsADownloadInFlight) {
  RemoteConfigScope scope;
  DownloadRun run;
  ASSERT_TRUE(
      run.download.StartUpdateDownload(run.owner, SignedOffer(ServerUrl("/fault/hang/setup.exe"), "whole")));
  ASSERT_TRUE(PumpUntil([] { return LoggedRequests("/fault/hang/setup.exe") > 0; }, 10000));
  DWORD start = GetTickCount();
  DestroyWindow(run.owner);
  EXPECT_FALSE(run.download.IsRunning());
  EXPECT_LT(GetTickCount() - start, 3000u);
  EXPECT_EQ(run.events, kStarted);
  EXPECT_FALSE(run.Exists("setup.tmp"));
}
