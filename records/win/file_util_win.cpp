// File helpers on the Win32 file API.
#include "records/file_util.h"

#include <windows.h>

#include <vector>

namespace tx9 {

namespace {

void set_error(std::string* error, DWORD code)
{
    if (!error) return;
    char buffer[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), buffer, sizeof buffer - 1, nullptr);
    *error = buffer;
}

bool is_separator(char c) { return c == '\\' || c == '/'; }

} // namespace

bool directory_exists(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool create_directories(const std::string& path)
{
    std::string prefix;
    size_t before_separator = std::string::npos; // length of prefix before a trailing separator
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < path.size()) {
            prefix += c;
            prefix += path[++i];
            before_separator = std::string::npos;
            continue;
        }
        if (is_separator(c)) {
            if (!prefix.empty() && !directory_exists(prefix)) CreateDirectoryA(prefix.c_str(), nullptr);
            if (before_separator == std::string::npos) before_separator = prefix.size();
            prefix += c;
            continue;
        }
        prefix += c;
        before_separator = std::string::npos;
    }
    // FindFirstFileA finds nothing for "dir\", so trailing separators are
    // dropped for the last check (the loop above has made that level already).
    if (before_separator != std::string::npos && before_separator > 0) prefix.resize(before_separator);
    if (directory_exists(prefix)) return true;
    return CreateDirectoryA(prefix.c_str(), nullptr) != 0;
}

std::string temp_path_for(const std::string& path)
{
    return path + ".tmp~";
}

int remove_interrupted_writes(const std::string& folder, const std::string& target_suffix)
{
    const std::string prefix = folder.empty() || is_separator(folder.back()) ? folder : folder + "\\";
    const std::string ending = temp_path_for(target_suffix);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((prefix + "*" + ending).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    std::vector<std::string> names;
    do {
        // Wildcards also match short 8.3 names: the long name must end as asked.
        const std::string name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > ending.size() &&
            lstrcmpiA(name.c_str() + name.size() - ending.size(), ending.c_str()) == 0)
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    int removed = 0;
    for (const std::string& name : names)
        if (DeleteFileA((prefix + name).c_str())) ++removed;
    return removed;
}

bool write_whole_file(const std::string& path, const std::string& data, std::string* error)
{
    // Windows itself refuses to replace a read-only file, but not every system
    // running the program does: the attribute is the user's "keep as it is".
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        set_error(error, ERROR_ACCESS_DENIED);
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    // Write beside the target and move it over, so an interrupted write never
    // leaves a short file where a whole one was.
    std::string temp = temp_path_for(path);
    HANDLE file = CreateFileA(temp.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        set_error(error, GetLastError());
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    if (ok && written == data.size()) ok = FlushFileBuffers(file);
    else if (ok) {
        ok = FALSE;
        SetLastError(ERROR_WRITE_FAULT);
    }
    DWORD code = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (ok && !MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        ok = FALSE;
        code = GetLastError();
    }
    if (!ok) {
        DeleteFileA(temp.c_str());
        set_error(error, code);
        return false;
    }
    return true;
}

bool read_whole_file(const std::string& path, std::string& data, std::string* error)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        set_error(error, GetLastError());
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size) || size.QuadPart > 0x7FFFFFFF) {
        set_error(error, GetLastError());
        CloseHandle(file);
        return false;
    }
    std::string out(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    BOOL ok = out.empty() || ReadFile(file, out.data(), static_cast<DWORD>(out.size()), &read, nullptr);
    DWORD code = ok ? 0 : GetLastError();
    CloseHandle(file);
    if (!ok) {
        set_error(error, code);
        return false;
    }
    out.resize(read);
    data.swap(out);
    return true;
}

bool path_exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool rename_file(const std::string& from, const std::string& to)
{
    return MoveFileA(from.c_str(), to.c_str()) != 0;
}

bool remove_file(const std::string& path)
{
    return DeleteFileA(path.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND;
}

} // namespace tx9
