// Run-time binding to libimobiledevice, the usbmux client for iOS devices.
//
// The library is optional: without it the program lists no iOS device and an
// iOS connect fails. Only the calls the link uses are bound; their C
// signatures are declared here (x64 has one calling convention, and every
// error enum of the library is int-sized, 0 meaning success).
//
// Where the library is looked for: only the program's own folder (the folder
// of the running executable), never the current directory or PATH, so that a
// DLL dropped into a working folder cannot be loaded into this elevated
// process. The file names tried, in order:
//   1. "imobiledevice.dll"         single-file build that also exports
//                                  pinvoke_free_string
//   2. "libimobiledevice-1.0.dll"  the usual MinGW build name
//   3. "libimobiledevice.dll"
// Each is loaded with LOAD_WITH_ALTERED_SEARCH_PATH so its own dependencies
// (libplist, libusbmuxd, ...) resolve from the same folder.
//
// A name is usable only when every function below except FreeString is
// exported; otherwise the next name is tried.
#pragma once
#include <cstdint>

// Opaque handles owned by the library.
struct idevice_private;
struct idevice_connection_private;
struct lockdownd_client_private;
typedef idevice_private* idevice_t;
typedef idevice_connection_private* idevice_connection_t;
typedef lockdownd_client_private* lockdownd_client_t;

// Result codes the link checks: 0 is success for every call.
constexpr int kIdeviceSuccess = 0;
constexpr int kLockdownSuccess = 0;
// idevice_connection_receive_timeout's "nothing arrived in time".
constexpr int kIdeviceTimeout = -7;

// The bound entry points. Loaded once per process and never unloaded before
// exit, so a table pointer stays valid for the life of the process.
struct IMobileDeviceApi {
  int (*idevice_get_device_list)(char*** devices, int* count);
  int (*idevice_device_list_free)(char** devices);
  int (*idevice_new)(idevice_t* device, const char* udid);
  int (*idevice_free)(idevice_t device);
  int (*idevice_connect)(idevice_t device, uint16_t port, idevice_connection_t* connection);
  int (*idevice_disconnect)(idevice_connection_t connection);
  int (*idevice_connection_send)(idevice_connection_t connection, const char* data, uint32_t len,
                                 uint32_t* sent_bytes);
  int (*idevice_connection_receive_timeout)(idevice_connection_t connection, char* data, uint32_t len,
                                            uint32_t* recv_bytes, unsigned int timeout_ms);
  int (*lockdownd_client_new_with_handshake)(idevice_t device, lockdownd_client_t* client, const char* label);
  int (*lockdownd_client_free)(lockdownd_client_t client);
  int (*lockdownd_get_device_name)(lockdownd_client_t client, char** device_name);

  // Releases a string the library allocated (the device name). Bound to the
  // library's "pinvoke_free_string" when it exports one, else to "free" of
  // the C runtime the library itself imports (a string must go back to the
  // heap it came from). Null only when neither can be found; FreeString then
  // leaves the string alone: a few bytes lost per device name rather than a
  // corrupted heap.
  void (*free_string)(char* s);

  void FreeString(char* s) const {
    if (s && free_string) free_string(s);
  }
};

// The process-wide table, or null when no usable library is in the program's
// folder. Thread-safe; the first call loads, later calls return the same result.
const IMobileDeviceApi* LoadIMobileDevice();

// The file name of the library that LoadIMobileDevice bound ("" when none),
// for diagnostics and tests.
const char* LoadedIMobileDeviceName();
