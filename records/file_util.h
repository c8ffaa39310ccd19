// Whole-file helpers. Implemented with the Win32 file API on Windows and
// POSIX calls elsewhere; paths are 8-bit text in the system code page.
#pragma once

#include <string>

namespace tx9 {

bool directory_exists(const std::string& path);
// Create every missing directory along the path ('\' or '/' separators,
// double-byte characters stepped over); true when the whole path is a directory.
bool create_directories(const std::string& path);
// Replace the file atomically: write a temporary file beside it, flush, then
// move it over the target. On failure the old file stays whole, and error
// receives the system's message text. A read-only target is refused (access
// denied) and left untouched.
bool write_whole_file(const std::string& path, const std::string& data, std::string* error);
// The temporary file write_whole_file writes beside the target ("<path>.tmp~").
std::string temp_path_for(const std::string& path);
// Removes what interrupted writes left in the folder: the temporary files of
// targets whose names end in target_suffix (".csv"). Returns how many went.
int remove_interrupted_writes(const std::string& folder, const std::string& target_suffix);
// Read the whole file; false with the system's message text on failure.
bool read_whole_file(const std::string& path, std::string& data, std::string* error);
// True when the path names an existing file or directory.
bool path_exists(const std::string& path);
// Rename a file; refused when the new name is taken.
bool rename_file(const std::string& from, const std::string& to);
// Delete a file; true when it is gone (or was never there).
bool remove_file(const std::string& path);
// Longest full path the platform's file calls accept (259 characters on Windows).
inline constexpr size_t kMaxPath = 259;

} // namespace tx9
