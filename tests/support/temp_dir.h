// A fresh directory for a test's files, removed with everything in it at the
// end of the scope. Natively it lives in TMPDIR (or /tmp); under Wine in TEMP,
// falling back to the working directory (the build folder under ctest).
#pragma once

#include <string>

namespace tx9::test {

class ScopedTempDir {
  public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    // The directory, without a trailing separator.
    const std::string& path() const { return path_; }
    // path() + separator + name, with the separator given ('\\' or '/').
    std::string file(const std::string& name, char separator = '/') const;

  private:
    std::string path_;
};

// Write bytes to a file as they are (test set-up, not the program's writer).
bool write_test_file(const std::string& path, const std::string& bytes);
// The bytes of a file; empty with ok = false when it cannot be read.
std::string read_test_file(const std::string& path, bool* ok = nullptr);

} // namespace tx9::test
