#include "OggVorbis.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace zorbo::assets {

namespace {

// A fixed stream serial number, so the same sound always gives the same file.
constexpr int kSerial = 0x5A0B;
constexpr int kChunk = 4096;

void put_page(Bytes& out, const ogg_page& page) {
    out.insert(out.end(), page.header, page.header + page.header_len);
    out.insert(out.end(), page.body, page.body + page.body_len);
}

// The reading position in a file held in memory, for libvorbisfile's callbacks.
struct Reader {
    const Bytes* bytes;
    std::size_t at = 0;
};

std::size_t read_cb(void* dest, std::size_t size, std::size_t count, void* source) {
    auto* r = static_cast<Reader*>(source);
    const std::size_t want = size * count;
    const std::size_t n = std::min(want, r->bytes->size() - r->at);
    std::memcpy(dest, r->bytes->data() + r->at, n);
    r->at += n;
    return size ? n / size : 0;
}

int seek_cb(void* source, ogg_int64_t offset, int whence) {
    auto* r = static_cast<Reader*>(source);
    const auto size = static_cast<ogg_int64_t>(r->bytes->size());
    ogg_int64_t to = offset;
    if (whence == SEEK_CUR) to += static_cast<ogg_int64_t>(r->at);
    else if (whence == SEEK_END) to += size;
    if (to < 0 || to > size) return -1;
    r->at = static_cast<std::size_t>(to);
    return 0;
}

long tell_cb(void* source) { return static_cast<long>(static_cast<Reader*>(source)->at); }

}  // namespace

Bytes encode_ogg_vorbis(const std::vector<double>& samples, int rate, double quality, const std::string& title) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rate, static_cast<float>(quality)) != 0) {
        vorbis_info_clear(&info);
        throw std::runtime_error("the Vorbis encoder takes no mono sound at " + std::to_string(rate) + " Hz");
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    if (!title.empty()) vorbis_comment_add_tag(&comment, "TITLE", title.c_str());
    vorbis_dsp_state dsp;
    vorbis_block block;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, kSerial);

    Bytes out;
    ogg_packet header, header_comment, header_code;
    vorbis_analysis_headerout(&dsp, &comment, &header, &header_comment, &header_code);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &header_comment);
    ogg_stream_packetin(&stream, &header_code);
    ogg_page page;
    // The headers on pages of their own, as players expect.
    while (ogg_stream_flush(&stream, &page) != 0) put_page(out, page);

    const auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page) != 0) put_page(out, page);
            }
        }
    };
    for (std::size_t at = 0; at < samples.size(); at += kChunk) {
        const int n = static_cast<int>(std::min<std::size_t>(kChunk, samples.size() - at));
        float** buffer = vorbis_analysis_buffer(&dsp, n);
        for (int i = 0; i < n; ++i) buffer[0][i] = static_cast<float>(samples[at + static_cast<std::size_t>(i)]);
        vorbis_analysis_wrote(&dsp, n);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);  // the end: the last page's position is the sample count
    drain();
    while (ogg_stream_flush(&stream, &page) != 0) put_page(out, page);

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

bool decode_ogg_vorbis(const Bytes& file, DecodedSound& out, std::string& error) {
    Reader reader{&file};
    OggVorbis_File vf;
    const ov_callbacks callbacks{&read_cb, &seek_cb, nullptr, &tell_cb};
    if (ov_open_callbacks(&reader, &vf, nullptr, 0, callbacks) != 0) {
        error = "is not an Ogg Vorbis file";
        return false;
    }
    const vorbis_info* info = ov_info(&vf, -1);
    out.rate = static_cast<int>(info->rate);
    out.channels = info->channels;
    out.samples.clear();
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, kChunk, &section);
        if (n == 0) break;
        if (n < 0) {
            error = "is damaged (Vorbis error " + std::to_string(n) + ")";
            ov_clear(&vf);
            return false;
        }
        out.samples.insert(out.samples.end(), pcm[0], pcm[0] + n);
    }
    ov_clear(&vf);
    return true;
}

}  // namespace zorbo::assets
