// A reader and writer of INI files of its own: the whole file is parsed into
// ordered sections and keys, queried and changed, and written back whole, so
// comments, unknown keys and the order survive a save.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tx9 {

std::uint32_t ini_name_hash(std::string_view name);

class IniDocument {
public:
    struct Key {
        std::string name; // the whole line for a comment
        std::uint32_t hash = 0;
        std::string value; // raw text after the first '='
        bool comment = false;
    };
    struct Section {
        std::string name; // empty for the root section
        std::uint32_t hash = 0;
        bool has_keys = false; // a section that never received a key is not written
        std::vector<Key> keys;
    };

    bool load(const std::string& path);
    void parse(std::string_view text);
    // The file's bytes as written: sections with keys, CR LF line ends.
    std::string text() const;
    bool write(const std::string& path) const;
    void clear() { sections_.clear(); }
    bool empty() const { return sections_.empty(); }

    int get_string(std::string_view section, std::string_view key, std::string_view default_value,
                   std::string& out, size_t buffer_size = 256) const;
    std::string get_string(std::string_view section, std::string_view key, std::string_view default_value) const;
    int get_int(std::string_view section, std::string_view key, int default_value) const;
    bool put_string(std::string_view section, std::string_view key, std::string_view value);
    bool put_int(std::string_view section, std::string_view key, int value);
    bool put_value(std::string_view section, std::string_view key, std::string_view raw);

    const std::vector<Section>& sections() const { return sections_; }

private:
    const Key* find_key(std::string_view section, std::string_view key) const;
    std::vector<Section> sections_;
};

} // namespace tx9
