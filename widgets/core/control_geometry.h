// Pointer/value arithmetic of the scroll bar and the slider, free of any
// platform API. Divisions truncate toward zero, as in integer C arithmetic.
#pragma once

// The scroll-bar thumb is never shorter than this, so it stays easy to grab.
constexpr int kMinThumbHeight = 56;

// Thumb height for a bar `barHeight` pixels high: the page's share of the bar,
// at least kMinThumbHeight; the whole bar when range < 1.
int ScrollThumbHeight(int barHeight, int range, int page);
// Offset of the thumb's top from the bar's top for `position`; 0 when the
// range does not exceed the page.
int ScrollThumbOffset(int barHeight, int thumbHeight, int range, int page, int position);
// Position for a thumb dragged to `thumbOffset` pixels below the bar's top.
int ScrollPositionFromOffset(int barHeight, int thumbHeight, int range, int page, int thumbOffset);
// `value` clamped to 0..max(0, range - page).
int ClampScrollPosition(int value, int range, int page);

// Slider value for pointer x in a client from `left` to `right` with a thumb
// `thumbWidth` wide, clamped to minimum..maximum. A degenerate slider
// (maximum <= minimum or no room for the thumb) keeps the minimum.
int SliderValueFromX(int x, int left, int right, int thumbWidth, int minimum, int maximum);
// Left edge of the thumb for `value`; 0 for a degenerate slider.
int SliderThumbLeft(int value, int left, int right, int thumbWidth, int minimum, int maximum);
