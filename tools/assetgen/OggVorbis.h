// Ogg Vorbis files of mono sound, written with Debian's libvorbisenc and read back with
// libvorbisfile (what the game's mixer decodes them with too).
#pragma once

#include <string>
#include <vector>

#include "Image.h"  // Bytes

namespace zorbo::assets {

// Exactly these samples (full scale 1.0) at `rate`, variable bit rate at `quality`
// (-0.1 smallest to 1.0 best); the last page's position ends the sound on the last sample,
// so a player looping the file joins the last sample to the first. The same samples give
// the same bytes.
Bytes encode_ogg_vorbis(const std::vector<double>& samples, int rate, double quality, const std::string& title);

struct DecodedSound {
    int rate = 0;
    int channels = 0;
    std::vector<double> samples;  // the first channel, full scale 1.0
};
// False with the reason in `error` when the bytes are no Ogg Vorbis file.
bool decode_ogg_vorbis(const Bytes& file, DecodedSound& out, std::string& error);

}  // namespace zorbo::assets
