#include "settings/ini_store.h"

#include "core/text.h"
#include "records/file_util.h"

#include <new>

namespace tx9 {

namespace {

// Names are held cut to 255 characters, then trimmed.
std::string stored_name(std::string_view text) {
    return std::string(trim_blanks_view(text.substr(0, kIniNameMax)));
}

char fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Fingerprint of a name with A-Z folded, as the case-insensitive compare sees it.
std::uint64_t folded_fingerprint(std::string_view name) {
    std::uint64_t h = 14695981039346656037ull;
    for (char c : name) {
        h ^= static_cast<unsigned char>(fold(c));
        h *= 1099511628211ull;
    }
    return h;
}

constexpr std::uint32_t kNone = IniDocument::NameIndex::kNone;

// Growing ahead of a push_back, so that whatever can run out of memory happens
// before the document changes and an entry is added whole or not at all.
template <class Vector> void make_room(Vector& v) {
    if (v.size() == v.capacity()) v.reserve(v.empty() ? 16 : v.size() * 2);
}

// The first entry whose hash equals the name's and whose name equals it
// case-insensitively; empty names never match.
template <class Entry>
std::uint32_t find_entry(const std::vector<Entry>& entries, const IniDocument::NameIndex& index,
                         std::string_view name) {
    if (name.empty()) return kNone;
    std::uint32_t hash = name_hash(name);
    for (std::uint32_t i = index.first(name); i != kNone; i = index.next(i)) {
        const Entry& entry = entries[i];
        if (entry.hash == hash && compare_no_case(entry.name, name) == 0) return i;
    }
    return kNone;
}

} // namespace

std::uint32_t name_hash(std::string_view name) {
    std::uint32_t hash = 0;
    for (char c : name) {
        if (c == ' ') continue;
        hash = 2u * hash +
               static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(fold(c))));
    }
    return hash;
}

std::string_view ini_unquote(std::string_view value) {
    value = trim_blanks_view(value);
    if (!value.empty() && value.front() == '"') value.remove_prefix(1);
    if (!value.empty() && value.back() == '"') value.remove_suffix(1);
    return value;
}

// ---- NameIndex

void IniDocument::NameIndex::add(std::string_view name, bool indexed) {
    make_room(next_);
    Chain* chain = indexed ? &chains_[folded_fingerprint(name)] : nullptr;
    auto position = static_cast<std::uint32_t>(next_.size());
    next_.push_back(kNone);
    if (!chain) return;
    if (chain->first == kNone)
        chain->first = position;
    else
        next_[chain->last] = position;
    chain->last = position;
}

std::uint32_t IniDocument::NameIndex::first(std::string_view name) const {
    auto it = chains_.find(folded_fingerprint(name));
    return it == chains_.end() ? kNone : it->second.first;
}

// ---- Document

void IniDocument::clear() {
    sections_.clear();
    section_index_ = NameIndex();
}

IniDocument::Section& IniDocument::add_section(std::string_view name) {
    Section section;
    section.name = std::string(name);
    section.hash = name_hash(section.name);
    make_room(sections_);
    section_index_.add(section.name, !sections_.empty());
    sections_.push_back(std::move(section));
    return sections_.back();
}

void IniDocument::add_key(Section& section, std::string name, std::string_view value, bool comment) {
    Key key;
    key.hash = comment ? 0 : name_hash(name);
    key.name = std::move(name);
    key.value = std::string(value);
    key.comment = comment;
    make_room(section.keys);
    section.index.add(key.name, !comment);
    section.keys.push_back(std::move(key));
}

void IniDocument::parse_line(std::string_view line, std::size_t& current) {
    if (!line.empty() && line.front() == '[') {
        // Only a line that ends in ']' is a header; an empty one is ignored.
        if (line.size() < 2 || line.back() != ']') return;
        std::string name = stored_name(line.substr(1, line.size() - 2));
        if (name.empty()) return;
        add_section(name);
        current = sections_.size() - 1;
        return;
    }
    if (!line.empty() && line.front() == '#') {
        add_key(sections_[current], stored_name(line), std::string_view(), true);
        return;
    }
    size_t equals = line.find('=');
    std::string name = stored_name(line.substr(0, equals));
    if (name.empty()) return;
    std::string_view value = equals == std::string_view::npos ? std::string_view() : line.substr(equals + 1);
    add_key(sections_[current], std::move(name), value, false);
}

void IniDocument::parse(std::string_view text) {
    clear();
    add_section(std::string_view());
    size_t current = 0;
    size_t pos = 0;
    while (pos < text.size() && text[pos] != '\0') {
        size_t end = pos;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        std::string_view line = text.substr(pos, end - pos);
        // A NUL inside a line ends the text of that line.
        size_t nul = line.find('\0');
        if (nul != std::string_view::npos) line = line.substr(0, nul);
        parse_line(line, current);
        pos = end;
        while (pos < text.size() && (text[pos] == '\r' || text[pos] == '\n'))
            ++pos;
    }
}

// Running out of memory fails the operation in hand and leaves the document usable.
bool IniDocument::load(const std::string& path) {
    try {
        std::string data;
        if (!read_whole_file(path, data, nullptr)) return false;
        IniDocument loaded;
        loaded.parse(data);
        *this = std::move(loaded);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

namespace {
// A key whose name starts like a header or a comment (it came from an indented
// line) is written indented, so the next load reads it as the same key.
bool written_indented(const IniDocument::Key& key) {
    return !key.comment && (key.name[0] == '[' || key.name[0] == '#');
}
} // namespace

std::string IniDocument::text() const {
    static constexpr std::string_view kLineEnd = "\r\n";
    size_t length = 0;
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        if (section.keys.empty()) continue;
        if (i != 0) length += section.name.size() + 2 + kLineEnd.size();
        for (const Key& key : section.keys) {
            if (key.name.empty()) continue;
            length += key.name.size() + kLineEnd.size() + (written_indented(key) ? 1 : 0);
            if (!key.comment) length += 1 + key.value.size();
        }
        length += kLineEnd.size();
    }

    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < sections_.size(); ++i) {
        const Section& section = sections_[i];
        if (section.keys.empty()) continue;
        if (i != 0) {
            out += '[';
            out += section.name;
            out += ']';
            out += kLineEnd;
        }
        for (const Key& key : section.keys) {
            if (key.name.empty()) continue;
            if (written_indented(key)) out += ' ';
            out += key.name;
            if (!key.comment) {
                out += '=';
                out += key.value;
            }
            out += kLineEnd;
        }
        out += kLineEnd;
    }
    return out;
}

bool IniDocument::write(const std::string& path) const {
    try {
        return write_whole_file(path, text(), nullptr);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

const IniDocument::Section* IniDocument::find_section(std::string_view section) const {
    std::uint32_t i = find_entry(sections_, section_index_, section);
    return i == kNone ? nullptr : &sections_[i];
}

const IniDocument::Key* IniDocument::find_key(std::string_view section, std::string_view key) const {
    const Section* found = find_section(section);
    if (!found) return nullptr;
    std::uint32_t i = find_entry(found->keys, found->index, key);
    return i == kNone ? nullptr : &found->keys[i];
}

std::size_t IniDocument::get_string(std::string_view section, std::string_view key,
                                    std::string_view default_value, char* out,
                                    std::size_t buffer_size) const {
    if (!out || buffer_size == 0) return 0;
    const Key* found = find_key(section, key);
    std::string_view value = ini_unquote(found ? std::string_view(found->value) : default_value);
    size_t length = value.size() < buffer_size - 1 ? value.size() : buffer_size - 1;
    value.copy(out, length);
    out[length] = '\0';
    return length;
}

std::string IniDocument::get_string(std::string_view section, std::string_view key,
                                    std::string_view default_value, std::size_t buffer_size) const {
    if (buffer_size == 0) return std::string();
    const Key* found = find_key(section, key);
    std::string_view value = ini_unquote(found ? std::string_view(found->value) : default_value);
    return std::string(value.substr(0, buffer_size - 1));
}

int IniDocument::get_int(std::string_view section, std::string_view key, int default_value) const {
    const Key* found = find_key(section, key);
    return found ? parse_int(ini_unquote(found->value)) : default_value;
}

bool IniDocument::put_string(std::string_view section, std::string_view key, std::string_view value) {
    if (value.empty()) return put_value(section, key, std::string_view());
    std::string quoted;
    quoted.reserve(value.size() + 2);
    quoted += '"';
    quoted += value;
    quoted += '"';
    return put_value(section, key, quoted);
}

bool IniDocument::put_int(std::string_view section, std::string_view key, int value) {
    return put_value(section, key, std::to_string(value));
}

bool IniDocument::put_value(std::string_view section, std::string_view key, std::string_view raw) {
    try {
        if (sections_.empty()) add_section(std::string_view());

        std::uint32_t at = find_entry(sections_, section_index_, section);
        Section* target = at == kNone ? nullptr : &sections_[at];
        if (!target) {
            std::string name = stored_name(section);
            if (name.empty() || stored_name(key).empty()) return false;
            target = &add_section(name);
        }
        std::uint32_t found = find_entry(target->keys, target->index, key);
        if (found != kNone) {
            target->keys[found].value = std::string(raw);
            return true;
        }
        std::string name = stored_name(key);
        if (name.empty()) return false;
        add_key(*target, std::move(name), raw, false);
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// ---- The process-wide document

IniDocument& ini_document() {
    static IniDocument document;
    return document;
}

bool ini_load(std::string_view path) {
    return ini_document().load(std::string(path));
}

std::size_t ini_get_string(std::string_view section, std::string_view key, std::string_view default_value,
                           char* out, std::size_t buffer_size, std::string_view /*path*/) {
    return ini_document().get_string(section, key, default_value, out, buffer_size);
}

std::string ini_get_string(std::string_view section, std::string_view key, std::string_view default_value,
                           std::string_view /*path*/) {
    return ini_document().get_string(section, key, default_value);
}

int ini_get_int(std::string_view section, std::string_view key, int default_value,
                std::string_view /*path*/) {
    return ini_document().get_int(section, key, default_value);
}

bool ini_put_string(std::string_view section, std::string_view key, std::string_view value,
                    std::string_view /*path*/) {
    return ini_document().put_string(section, key, value);
}

bool ini_put_int(std::string_view section, std::string_view key, int value, std::string_view /*path*/) {
    return ini_document().put_int(section, key, value);
}

bool ini_put_value(std::string_view section, std::string_view key, std::string_view text) {
    return ini_document().put_value(section, key, text);
}

bool ini_write(std::string_view path) {
    return ini_document().write(std::string(path));
}

void ini_free() {
    ini_document().clear();
}

} // namespace tx9
