// The INI store on arbitrary bytes: what it writes, it reads back as the same
// document, so a second write gives the same bytes; and every lookup finds the
// first entry of a name.
#include "fuzz_check.h"
#include "settings/ini_store.h"

#include <cstdint>
#include <string>

using tx9::IniDocument;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    IniDocument document;
    document.parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string first = document.text();

    IniDocument again;
    again.parse(first);
    const std::string second = again.text();
    FUZZ_CHECK(second == first, "written %zu bytes, rewritten %zu", first.size(), second.size());

    for (const IniDocument::Section& section : again.sections()) {
        FUZZ_CHECK(section.name.size() <= tx9::kIniNameMax, "section name of %zu", section.name.size());
        for (const IniDocument::Key& key : section.keys) {
            FUZZ_CHECK(!key.name.empty() && key.name.size() <= tx9::kIniNameMax, "key name of %zu",
                       key.name.size());
            FUZZ_CHECK(key.name.find_first_of("\r\n") == std::string::npos, "line end in a name");
            // Only the first section of a name and the first key of a name can be found.
            if (key.comment || section.name.empty() || again.find_section(section.name) != &section) continue;
            const IniDocument::Key* found = again.find_key(section.name, key.name);
            FUZZ_CHECK(found != nullptr, "key [%s] %s not found", section.name.c_str(), key.name.c_str());
        }
    }

    // A put replaces the first key of its name, or adds one; either way it is read back.
    if (!again.sections().empty() && again.sections().back().keys.size() > 0) {
        const std::string section = again.sections().back().name;
        const std::string key = again.sections().back().keys.back().name;
        if (!section.empty() && again.put_int(section, key, 12345))
            FUZZ_CHECK(again.get_int(section, key, 0) == 12345, "put %s was not read back", key.c_str());
    }
    return 0;
}
