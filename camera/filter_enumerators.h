// The enumerators the filter and its pin hand out: the one pin, and the
// offered media types.
#pragma once
#include <windows.h>

#include <dshow.h>

// Enumerates the filter's single pin. Holds a reference on the pin.
HRESULT CreatePinEnumerator(IPin* pin, ULONG position, IEnumPins** out);
// Enumerates the offered media types at width x height.
HRESULT CreateMediaTypeEnumerator(int width, int height, ULONG position, IEnumMediaTypes** out);
