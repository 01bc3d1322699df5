#pragma once
// Reading a picture file. Kept apart from the display so that a build without SDL (the
// portable replay check) can put its own reader in its place.
#include "media/Surface.h"

#include <string>

namespace zorbo {

// Decodes a BMP file into a 32-bit surface at its own size; false with a reason on failure.
bool DecodeBitmap(const std::string& file, Surface& out, std::string& error);

} // namespace zorbo
