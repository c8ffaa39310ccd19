#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace tx9::test {

namespace {

std::string temp_root() {
#ifdef _WIN32
    const char* names[] = {"TEMP", "TMP"};
#else
    const char* names[] = {"TMPDIR"};
#endif
    for (const char* name : names) {
        const char* value = std::getenv(name);
        std::error_code ec;
        if (value && *value && std::filesystem::is_directory(value, ec)) return value;
    }
#ifdef _WIN32
    return ".";
#else
    return "/tmp";
#endif
}

} // namespace

ScopedTempDir::ScopedTempDir() {
    static std::atomic<unsigned> counter{0};
    std::string root = temp_root();
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = root + "/tx9_test_" + std::to_string(stamp) + "_" + std::to_string(counter++);
        std::error_code ec;
        if (std::filesystem::create_directory(candidate, ec)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory in " + root);
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string ScopedTempDir::file(const std::string& name, char separator) const {
    return path_ + separator + name;
}

bool write_test_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

std::string read_test_file(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    if (ok) *ok = static_cast<bool>(in);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace tx9::test
