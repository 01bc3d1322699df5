// zorbo_icons ASSETS_DIR OUT_DIR: writes the game's icon for the desktop's icon theme, as
// OUT_DIR/SIZExSIZE/zorbo.png.
#include <cstdio>
#include <exception>
#include <filesystem>

#include "assetgen/Generate.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        namespace fs = std::filesystem;
        for (const auto& f : zorbo::assets::desktop_icons(zorbo::assets::generate(argv[1]))) {
            const fs::path file = fs::path(argv[2]) / f.name;
            fs::create_directories(file.parent_path());
            zorbo::assets::write_file(file.string(), f.data);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbo_icons: %s\n", e.what());
        return 1;
    }
    return 0;
}
