#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace tx9::test {

ScopedTempDir::ScopedTempDir() {
    static std::atomic<unsigned> counter{0};
#ifdef _WIN32
    const char* env = std::getenv("TEMP");
    std::string root = env && *env ? env : ".";
#else
    const char* env = std::getenv("TMPDIR");
    std::string root = env && *env ? env : "/tmp";
#endif
    auto stamp = std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
        std::string candidate = root + "/tx9_test_" + stamp + "_" + std::to_string(counter++);
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("cannot create a temporary directory in " + root);
}

ScopedTempDir::~ScopedTempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

bool write_test_file(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

std::string read_test_file(const std::string& path, bool* ok) {
    std::ifstream in(path, std::ios::binary);
    if (ok) *ok = static_cast<bool>(in);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace tx9::test
