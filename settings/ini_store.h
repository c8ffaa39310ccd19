// A reader and writer of INI files of its own: the whole file is parsed into
// ordered sections and keys, queried and changed, and written back whole, so
// comments, unknown keys and the order survive a save.
//
// The program keeps one document for the whole process and uses it in short
// cycles: ini_load, gets and puts, ini_write when something was put, ini_free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tx9 {

// Section and key names are kept to this many characters.
inline constexpr std::size_t kIniNameMax = 255;

// Hash of a section or key name: spaces skipped, A-Z folded, hash = 2 * hash +
// the byte as a signed 8-bit number, unsigned 32-bit wrap-around.
std::uint32_t name_hash(std::string_view name);

// A value as the gets see it: blanks trimmed, then one leading and one
// trailing double quote dropped, each on its own.
std::string_view ini_unquote(std::string_view value);

class IniDocument {
  public:
    struct Key {
        std::string name;       // the whole line for a comment
        std::uint32_t hash = 0; // 0 for a comment
        std::string value;      // raw text after the first '='
        bool comment = false;
    };

    // Finds entries by name in time independent of their number; first entry
    // of a name wins, as the plain scan would have it.
    class NameIndex {
      public:
        static constexpr std::uint32_t kNone = 0xFFFFFFFFu;
        // Every entry is added in order; unindexed ones (root, comments) are never found.
        void add(std::string_view name, bool indexed);
        // Candidates for a name, in entry order: first(), then next() until kNone.
        // They share a fingerprint of the folded name; the caller compares the names.
        std::uint32_t first(std::string_view name) const;
        std::uint32_t next(std::uint32_t position) const { return next_[position]; }

      private:
        struct Chain {
            std::uint32_t first = kNone, last = kNone;
        };
        std::unordered_map<std::uint64_t, Chain> chains_;
        std::vector<std::uint32_t> next_; // one per entry: next entry of the same folded name
    };

    struct Section {
        std::string name; // empty for the root section (entry 0)
        std::uint32_t hash = 0;
        std::vector<Key> keys; // a section without keys is not written
        NameIndex index;
    };

    // Reads and parses the file; on failure the document stays as it was.
    bool load(const std::string& path);
    // Replaces the document with the parse of the text.
    void parse(std::string_view text);
    // The file's bytes as written: sections with keys, CR LF line ends, no BOM.
    std::string text() const;
    // Replaces the file (atomically) with text().
    bool write(const std::string& path) const;
    void clear();
    bool empty() const { return sections_.empty(); }

    // Lookups: case-insensitive, first match wins, the root and comments are never found.
    const Section* find_section(std::string_view section) const;
    const Key* find_key(std::string_view section, std::string_view key) const;

    // The found value (or the default), trimmed and unquoted, cut to fit a
    // buffer of buffer_size bytes with its terminator. Returns the length placed.
    std::size_t get_string(std::string_view section, std::string_view key, std::string_view default_value,
                           char* out, std::size_t buffer_size) const;
    std::string get_string(std::string_view section, std::string_view key, std::string_view default_value,
                           std::size_t buffer_size = 256) const;
    // Found value: trimmed, unquoted, decimal conversion (empty gives 0). Missing: the default.
    int get_int(std::string_view section, std::string_view key, int default_value) const;
    // Non-empty values are stored between double quotes.
    bool put_string(std::string_view section, std::string_view key, std::string_view value);
    bool put_int(std::string_view section, std::string_view key, int value);
    // Stores the raw text: the first key of that name gets it in place, or a new key is
    // appended to the first section of that name, or a new section at the end.
    // Refuses names that are empty once trimmed.
    bool put_value(std::string_view section, std::string_view key, std::string_view raw);

    const std::vector<Section>& sections() const { return sections_; }

  private:
    Section& add_section(std::string_view name);
    static void add_key(Section& section, std::string name, std::string_view value, bool comment);
    void parse_line(std::string_view line, std::size_t& current);

    std::vector<Section> sections_;
    NameIndex section_index_;
};

// The process-wide document and the operations the program names. Gets and
// puts take the INI path last, like the platform's private-profile calls; they
// act on the loaded document and do not use it.
IniDocument& ini_document();
bool ini_load(std::string_view path);
std::size_t ini_get_string(std::string_view section, std::string_view key, std::string_view default_value,
                           char* out, std::size_t buffer_size, std::string_view path);
// As above with a 256-byte buffer: at most 255 characters.
std::string ini_get_string(std::string_view section, std::string_view key, std::string_view default_value,
                           std::string_view path);
int ini_get_int(std::string_view section, std::string_view key, int default_value, std::string_view path);
bool ini_put_string(std::string_view section, std::string_view key, std::string_view value,
                    std::string_view path);
bool ini_put_int(std::string_view section, std::string_view key, int value, std::string_view path);
bool ini_put_value(std::string_view section, std::string_view key, std::string_view text);
bool ini_write(std::string_view path);
void ini_free();

} // namespace tx9
