// A fresh directory for a test's files, removed with its contents at the end
// of the scope: in TMPDIR (or /tmp) natively, in TEMP under Wine.
#pragma once

#include <string>

namespace tx9::test {

class ScopedTempDir {
  public:
    ScopedTempDir();
    ~ScopedTempDir();
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;

    const std::string& path() const { return path_; } // no trailing separator
    std::string file(const std::string& name, char separator = '/') const { return path_ + separator + name; }

  private:
    std::string path_;
};

// Test set-up and checks, independent of the program's own file code.
bool write_test_file(const std::string& path, const std::string& bytes);
std::string read_test_file(const std::string& path, bool* ok = nullptr);

} // namespace tx9::test
