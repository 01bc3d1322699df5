// zorbo_levelmap DATA_DIR LEVEL_SET OUT_PREFIX: each level of a level set as a PNG
// picture, OUT_PREFIX-1.png .. OUT_PREFIX-10.png.
#include "editor/LevelMap.h"

#include <png.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

bool WritePng(const std::string& path, const zorbo::Surface& picture)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = png != nullptr && info != nullptr;
    if (ok && setjmp(png_jmpbuf(png)) != 0)
        ok = false;
    else if (ok) {
        const int w = picture.Width(), h = picture.Height();
        png_init_io(png, file);
        png_set_IHDR(png, info, static_cast<png_uint_32>(w), static_cast<png_uint_32>(h), 8, PNG_COLOR_TYPE_RGB,
                     PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_compression_level(png, 9);
        png_write_info(png, info);
        std::vector<png_byte> row(static_cast<size_t>(w) * 3);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const uint32_t p = picture.Pixel(x, y);
                row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(p >> 16);
                row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(p >> 8);
                row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(p);
            }
            png_write_row(png, row.data());
        }
        png_write_end(png, nullptr);
    }
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0 && ok;
}

} // namespace

int main(int argc, char** argv)
{
    using namespace zorbo::editor;
    if (argc != 4) {
        std::fprintf(stderr, "Usage: zorbo_levelmap DATA_DIR LEVEL_SET OUT_PREFIX\n");
        return 2;
    }
    std::string data = argv[1];
    if (data.back() != '/')
        data += '/';
    std::vector<std::string> missing;
    Pictures pictures;
    if (!pictures.Load(data, missing)) {
        std::fprintf(stderr, "zorbo_levelmap: no pictures in %s\n", data.c_str());
        return 1;
    }
    for (const std::string& file : missing)
        std::fprintf(stderr, "zorbo_levelmap: warning: %s is missing\n", file.c_str());
    std::string error;
    const auto doc = LevelDocument::Load(argv[2], error);
    if (!doc) {
        std::fprintf(stderr, "zorbo_levelmap: %s\n", error.c_str());
        return 1;
    }
    for (int32_t level = 0; level < Levels; ++level) {
        const std::string out = std::string(argv[3]) + "-" + std::to_string(level + 1) + ".png";
        if (!WritePng(out, RenderLevelMap(*doc, pictures, level))) {
            std::fprintf(stderr, "zorbo_levelmap: cannot write %s\n", out.c_str());
            return 1;
        }
    }
    return 0;
}
