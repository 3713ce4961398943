// The camera's DirectShow source filter: IBaseFilter with one output pin, a
// live source (IAMFilterMiscFlags) that streams while running and sends
// nothing while paused.
#pragma once
#include <windows.h>

#include <dshow.h>

#include <string>

#include "camera/camera_profile.h"
#include "camera/filter_com.h"
#include "camera/filter_output_pin.h"
#include "camera/filter_streamer.h"
#include "framework/critical_section.h"

class CameraFilter : public IBaseFilter, public IAMFilterMiscFlags, private PinOwner {
 public:
  // Reads the pictures from the section `sectionName`.
  CameraFilter(const CameraProfile& profile, std::string sectionName);
  virtual ~CameraFilter();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IPersist
  STDMETHODIMP GetClassID(CLSID* clsid) override;
  // IMediaFilter
  STDMETHODIMP Stop() override;
  STDMETHODIMP Pause() override;
  STDMETHODIMP Run(REFERENCE_TIME start) override;
  STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
  STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** pins) override;
  STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }
  // IAMFilterMiscFlags
  STDMETHODIMP_(ULONG) GetMiscFlags() override { return AM_FILTER_MISC_FLAGS_IS_SOURCE; }

 private:
  IBaseFilter* Filter() override { return this; }
  CriticalSection& Lock() override { return lock_; }
  bool IsStopped() override { return state_ == State_Stopped; }

  const CameraProfile& profile_;
  LONG references_ = 1;
  CriticalSection lock_;  // state, clock, graph and the pin's connection
  FILTER_STATE state_ = State_Stopped;
  ComRef<IReferenceClock> clock_;
  IFilterGraph* graph_ = nullptr;  // not counted: the graph owns us
  std::wstring name_;
  OutputPin pin_;
  Streamer streamer_;
};
