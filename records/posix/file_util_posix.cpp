// File helpers on POSIX systems (the native build of the core and its tests).
#include "records/file_util.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace tx9 {

namespace {

void set_error(std::string* error)
{
    if (error) *error = std::strerror(errno);
}

// The program writes Windows paths ("%s\\data\\%s"); here a backslash is a separator too.
std::string native_path(const std::string& path)
{
    std::string out = path;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

} // namespace

bool directory_exists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(native_path(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool create_directories(const std::string& path)
{
    std::string prefix;
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (c == '\\' || c == '/') {
            if (!prefix.empty() && !directory_exists(prefix)) ::mkdir(prefix.c_str(), 0777);
            prefix += '/';
            continue;
        }
        prefix += c;
    }
    if (directory_exists(prefix)) return true;
    return ::mkdir(prefix.c_str(), 0777) == 0;
}

std::string temp_path_for(const std::string& path)
{
    return path + ".tmp~";
}

int remove_interrupted_writes(const std::string& folder, const std::string& target_suffix)
{
    const std::string ending = temp_path_for(target_suffix);
    DIR* dir = ::opendir(native_path(folder).c_str());
    if (!dir) return 0;
    std::vector<std::string> found;
    while (const dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name.size() > ending.size() && name.compare(name.size() - ending.size(), ending.size(), ending) == 0)
            found.push_back(name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& name : found)
        if (::unlink((native_path(folder) + "/" + name).c_str()) == 0) ++removed;
    return removed;
}

bool write_whole_file(const std::string& given_path, const std::string& data, std::string* error)
{
    std::string path = native_path(given_path);
    std::string temp = temp_path_for(path);
    // A file nobody may write to is the user's way of keeping it as it is.
    struct stat target {};
    if (::stat(path.c_str(), &target) == 0 && (target.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        errno = EACCES;
        set_error(error);
        return false;
    }
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        set_error(error);
        return false;
    }
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            set_error(error);
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        done += static_cast<size_t>(n);
    }
    // Close even when the flush failed, and report the flush's error first.
    const bool synced = ::fsync(fd) == 0;
    const int sync_error = errno;
    const bool closed = ::close(fd) == 0;
    if (!synced || !closed) {
        if (!synced) errno = sync_error;
        set_error(error);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        set_error(error);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool read_whole_file(const std::string& path, std::string& data, std::string* error)
{
    FILE* f = std::fopen(native_path(path).c_str(), "rb");
    if (!f) {
        set_error(error);
        return false;
    }
    std::string out;
    char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
    bool ok = !std::ferror(f);
    if (!ok) set_error(error);
    std::fclose(f);
    if (ok) data.swap(out);
    return ok;
}

bool path_exists(const std::string& path)
{
    struct stat st {};
    return !path.empty() && ::stat(native_path(path).c_str(), &st) == 0;
}

bool rename_file(const std::string& from, const std::string& to)
{
    // link() refuses a taken name, as MoveFileA does; rename() would replace it.
    const std::string source = native_path(from), target = native_path(to);
    if (::link(source.c_str(), target.c_str()) != 0) return false;
    return ::unlink(source.c_str()) == 0;
}

bool remove_file(const std::string& path)
{
    return ::unlink(native_path(path).c_str()) == 0 || errno == ENOENT;
}

} // namespace tx9
