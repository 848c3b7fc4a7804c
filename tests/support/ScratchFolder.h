// A fresh folder of a test's own under the system's temporary folder
// (TMPDIR on Linux, the user's Temp folder on Windows).
#ifndef KELP_TESTS_SUPPORT_SCRATCHFOLDER_H
#define KELP_TESTS_SUPPORT_SCRATCHFOLDER_H

#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>

namespace kelptest {

// Made empty; its path with '/' separators.
inline std::string makeScratchFolder(const std::string &prefix) {
    std::random_device seed;
    std::mt19937_64 random((static_cast<unsigned long long>(seed()) << 32) ^ seed());
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path folder =
            base / (prefix + std::to_string(random() % 1000000007));
        std::error_code ec;
        if (std::filesystem::create_directory(folder, ec))
            return folder.generic_string();
    }
    throw std::runtime_error("could not make a scratch folder in " + base.string());
}

} // namespace kelptest

#endif
