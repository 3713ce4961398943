// The picture a camera sends while the program publishes none: the
// program's logo and a short hint to connect the phone.
#pragma once
#include <cstdint>
#include <vector>

// Draws it once with GDI at width x height; packed bottom-up BGR rows as the
// section holds them. A plain dark picture if GDI fails, never garbage.
std::vector<uint8_t> DrawPlaceholder(int width, int height);
