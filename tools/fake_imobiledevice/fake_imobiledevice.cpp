// A fake libimobiledevice: the device list, names and failures come from a
// scenario file; a device connection is a TCP connection to 127.0.0.1 at the
// port the scenario gives the device, so a local test server plays the phone.
//
// Environment:
//   VELA_FAKE_IDEVICE_SCENARIO  scenario file (missing: no devices)
//   VELA_FAKE_IDEVICE_RECORD    file that gets one line appended per call:
//                               "list", "list_free", "new <udid>",
//                               "free <udid>", "handshake <udid> <label>",
//                               "lockdown_free <udid>", "name <udid>",
//                               "free_string", "connect <udid> <port>",
//                               "disconnect <udid>"
//
// Scenario lines:
//   list fail                 idevice_get_device_list fails
//   device <udid> [port=<n>] [new=fail] [lockdown=fail] [connect=fail]
//          [noname] [name=<rest of the line>]
//
// fake_idevice_outstanding() returns how many lists, devices, lockdown
// clients, connections and strings are currently handed out, so tests can
// check that every one is released.
#include <winsock2.h>
#include <ws2tcpip.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "tools/fake_common/fake_scenario_files.h"

#define FAKE_EXPORT extern "C" __declspec(dllexport)

namespace {

constexpr int kSuccess = 0;
constexpr int kInvalidArg = -1;
constexpr int kUnknownError = -2;
constexpr int kNoDevice = -3;
constexpr int kTimeout = -7;

std::atomic<int> g_outstanding{0};

struct FakeDevice {
  std::string udid;
  int port = 0;
  bool newFails = false, lockdownFails = false, connectFails = false, hasName = true;
  std::string name;
};

struct FakeList {
  bool fails = false;
  std::vector<FakeDevice> devices;
};

FakeList LoadScenario() {
  FakeList list;
  for (const std::string& line : ReadScenarioLines(kFakeIdeviceScenarioEnv)) {
    if (line == "list fail") {
      list.fails = true;
      continue;
    }
    if (line.compare(0, 7, "device ") != 0) continue;
    FakeDevice d;
    std::string rest = line.substr(7);
    size_t namePos = rest.find("name=");
    if (namePos != std::string::npos && (namePos == 0 || rest[namePos - 1] == ' ')) {
      d.name = rest.substr(namePos + 5);
      rest = rest.substr(0, namePos);
    }
    std::istringstream words(rest);
    words >> d.udid;
    std::string w;
    while (words >> w) {
      if (w.compare(0, 5, "port=") == 0)
        d.port = std::atoi(w.c_str() + 5);
      else if (w == "new=fail")
        d.newFails = true;
      else if (w == "lockdown=fail")
        d.lockdownFails = true;
      else if (w == "connect=fail")
        d.connectFails = true;
      else if (w == "noname")
        d.hasName = false;
    }
    list.devices.push_back(d);
  }
  return list;
}

void Record(const std::string& line) {
  AppendRecordLine(kFakeIdeviceRecordEnv, line);
}

char* Duplicate(const std::string& s) {
  char* p = static_cast<char*>(std::malloc(s.size() + 1));
  std::memcpy(p, s.c_str(), s.size() + 1);
  return p;
}

}  // namespace

struct idevice_private {
  FakeDevice device;
};
struct lockdownd_client_private {
  std::string udid;
  FakeDevice device;
};
struct idevice_connection_private {
  std::string udid;
  SOCKET socket = INVALID_SOCKET;
};

FAKE_EXPORT int idevice_get_device_list(char*** devices, int* count) {
  Record("list");
  if (!devices || !count) return kInvalidArg;
  FakeList list = LoadScenario();
  if (list.fails) return kNoDevice;
  char** array = static_cast<char**>(std::calloc(list.devices.size() + 1, sizeof(char*)));
  for (size_t i = 0; i < list.devices.size(); ++i) array[i] = Duplicate(list.devices[i].udid);
  *devices = array;
  *count = static_cast<int>(list.devices.size());
  ++g_outstanding;
  return kSuccess;
}

FAKE_EXPORT int idevice_device_list_free(char** devices) {
  Record("list_free");
  if (!devices) return kSuccess;
  for (char** p = devices; *p; ++p) std::free(*p);
  std::free(devices);
  --g_outstanding;
  return kSuccess;
}

FAKE_EXPORT int idevice_new(idevice_private** device, const char* udid) {
  Record(std::string("new ") + (udid ? udid : "(null)"));
  if (!device || !udid) return kInvalidArg;
  for (const FakeDevice& d : LoadScenario().devices) {
    if (d.udid != udid) continue;
    if (d.newFails) return kNoDevice;
    *device = new idevice_private{d};
    ++g_outstanding;
    return kSuccess;
  }
  return kNoDevice;
}

FAKE_EXPORT int idevice_free(idevice_private* device) {
  if (!device) return kInvalidArg;
  Record("free " + device->device.udid);
  delete device;
  --g_outstanding;
  return kSuccess;
}

FAKE_EXPORT int lockdownd_client_new_with_handshake(idevice_private* device,
                                                    lockdownd_client_private** client, const char* label) {
  if (!device || !client) return kInvalidArg;
  Record("handshake " + device->device.udid + " " + (label ? label : "(null)"));
  if (device->device.lockdownFails) return -4;  // pairing failed
  *client = new lockdownd_client_private{device->device.udid, device->device};
  ++g_outstanding;
  return kSuccess;
}

FAKE_EXPORT int lockdownd_client_free(lockdownd_client_private* client) {
  if (!client) return kInvalidArg;
  Record("lockdown_free " + client->udid);
  delete client;
  --g_outstanding;
  return kSuccess;
}

#ifndef FAKE_IDEVICE_INCOMPLETE
FAKE_EXPORT int lockdownd_get_device_name(lockdownd_client_private* client, char** name) {
  if (!client || !name) return kInvalidArg;
  Record("name " + client->udid);
  if (!client->device.hasName) return -11;  // missing key
  *name = Duplicate(client->device.name);
  ++g_outstanding;
  return kSuccess;
}
#endif

#ifndef FAKE_IDEVICE_NO_PINVOKE_FREE
FAKE_EXPORT void pinvoke_free_string(char* s) {
  Record("free_string");
  if (!s) return;
  std::free(s);
  --g_outstanding;
}
#endif

FAKE_EXPORT int idevice_connect(idevice_private* device, uint16_t port,
                                idevice_connection_private** connection) {
  if (!device || !connection) return kInvalidArg;
  Record("connect " + device->device.udid + " " + std::to_string(port));
  if (device->device.connectFails || device->device.port <= 0) return kUnknownError;
  WSADATA wsa;
  if (WSAStartup(MAKEWORD(2, 2), &wsa) != 0) return kUnknownError;
  SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<u_short>(device->device.port));
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (s == INVALID_SOCKET || connect(s, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0) {
    if (s != INVALID_SOCKET) closesocket(s);
    WSACleanup();
    return kUnknownError;
  }
  *connection = new idevice_connection_private{device->device.udid, s};
  ++g_outstanding;
  return kSuccess;
}

FAKE_EXPORT int idevice_disconnect(idevice_connection_private* connection) {
  if (!connection) return kInvalidArg;
  Record("disconnect " + connection->udid);
  shutdown(connection->socket, SD_BOTH);
  closesocket(connection->socket);
  delete connection;
  WSACleanup();
  --g_outstanding;
  return kSuccess;
}

FAKE_EXPORT int idevice_connection_send(idevice_connection_private* connection, const char* data,
                                        uint32_t len, uint32_t* sent_bytes) {
  if (!connection || !data || !sent_bytes) return kInvalidArg;
  *sent_bytes = 0;
  int n = send(connection->socket, data, static_cast<int>(len), 0);
  if (n == SOCKET_ERROR) return kUnknownError;
  *sent_bytes = static_cast<uint32_t>(n);
  return kSuccess;
}

FAKE_EXPORT int idevice_connection_receive_timeout(idevice_connection_private* connection, char* data,
                                                   uint32_t len, uint32_t* recv_bytes,
                                                   unsigned int timeout_ms) {
  if (!connection || !data || !recv_bytes) return kInvalidArg;
  *recv_bytes = 0;
  fd_set readable;
  FD_ZERO(&readable);
  FD_SET(connection->socket, &readable);
  timeval tv{static_cast<long>(timeout_ms / 1000), static_cast<long>((timeout_ms % 1000) * 1000)};
  int ready = select(0, &readable, nullptr, nullptr, &tv);
  if (ready == 0) return kTimeout;
  if (ready < 0) return kUnknownError;
  int n = recv(connection->socket, data, static_cast<int>(len), 0);
  if (n <= 0) return kUnknownError;  // closed by the peer, or failed
  *recv_bytes = static_cast<uint32_t>(n);
  return kSuccess;
}

// Test hook: items handed out and not yet released.
FAKE_EXPORT int fake_idevice_outstanding() {
  return g_outstanding.load();
}
