#pragma once
// Reading a picture file. Kept apart from the display so that a build without SDL (the
// portable replay check) can put its own reader in its place.
#include "media/Surface.h"

#include <string>

namespace zorbo {

class MediaBudget;

// Decodes a BMP file into a 32-bit surface at its own size; false with a reason on failure.
// With a budget, the picture's decoded size is taken from it before decoding, and a picture
// that does not fit is refused undecoded.
bool DecodeBitmap(const std::string& file, Surface& out, std::string& error, MediaBudget* budget = nullptr);

} // namespace zorbo
