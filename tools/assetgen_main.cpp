// zorbo_assetgen ASSETS_DIR OUT_DIR: writes every bitmap and wave file of the Data folder.
#include <chrono>
#include <cstdio>
#include <exception>

#include "assetgen/Generate.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s ASSETS_DIR OUT_DIR\n", argv[0]);
        return 2;
    }
    try {
        const auto t0 = std::chrono::steady_clock::now();
        const auto g = zorbo::assets::generate(argv[1]);
        zorbo::assets::write_outputs(g, argv[2]);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
        std::printf("zorbo_assetgen: %zu files in %s (%lld ms)\n", g.files.size(), argv[2], static_cast<long long>(ms));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zorbo_assetgen: %s\n", e.what());
        return 1;
    }
    return 0;
}
