#include "fake_system.h"

#include <fstream>
#include <sstream>

namespace tx9::test {

const std::map<int, std::string>& english_strings()
{
    static const std::map<int, std::string> table = [] {
        std::map<int, std::string> out;
        std::ifstream in(std::string(TX9_SOURCE_DIR) + "/res/strings_en.inc", std::ios::binary);
        std::string line;
        while (std::getline(in, line)) {
            // S(id, "text") with "" for a quote
            if (line.rfind("S(", 0) != 0) continue;
            size_t comma = line.find(',');
            size_t open = line.find('"', comma);
            size_t close = line.rfind('"');
            if (comma == std::string::npos || open == std::string::npos || close <= open) continue;
            int id = std::stoi(line.substr(2, comma - 2));
            std::string text;
            for (size_t i = open + 1; i < close; ++i) {
                if (line[i] == '"' && i + 1 < close && line[i + 1] == '"') ++i;
                text += line[i];
            }
            out[id] = text;
        }
        return out;
    }();
    return table;
}

FakeSystem::FakeSystem() : strings(english_strings()) {}

std::string FakeSystem::load_string(int id) const
{
    auto it = strings.find(id);
    return it == strings.end() ? std::string() : it->second.substr(0, 255);
}

Color FakeSystem::sys_color(int index) const
{
    auto it = sys_colors.find(index);
    if (it != sys_colors.end()) return it->second;
    return 0x00101010u * static_cast<Color>(index + 1) & 0x00FFFFFFu;
}

bool FakeSystem::is_lead_byte(unsigned char c) const
{
    return shift_jis && ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC));
}

int FakeSystem::compare_text_no_case(std::string_view a, std::string_view b) const
{
    auto fold = [](std::string_view text) {
        std::string out(text);
        for (char& c : out) {
            unsigned char u = static_cast<unsigned char>(c);
            if ((u >= 'a' && u <= 'z') || (u >= 0xE0 && u <= 0xFE && u != 0xF7)) c = static_cast<char>(u - 0x20);
        }
        return out;
    };
    return fold(a).compare(fold(b));
}

std::string FakeKeyNamer::key_name(int vk) const
{
    if (vk >= 0x70 && vk <= 0x7B) return "F" + std::to_string(vk - 0x70 + 1);
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, static_cast<char>(vk));
    auto it = names.find(vk);
    return it == names.end() ? std::string() : it->second;
}

std::string describe(const GameSettings& g)
{
    std::ostringstream out;
    out << g.start_score << '/' << g.round_limit << '/' << g.round << '/' << g.leg_limit << '/' << g.max_leg
        << '/' << g.best_of << " [" << g.p1_name << "] " << g.p1_start_score << '/' << g.p1_com << '/'
        << g.p1_com_level << " [" << g.p2_name << "] " << g.p2_start_score << '/' << g.p2_com << '/'
        << g.p2_com_level << " entry " << g.schedule_entry;
    return out.str();
}

std::string describe(const std::vector<GameSettings>& games)
{
    std::string out;
    for (const GameSettings& g : games)
        out += describe(g) + "\n";
    return out;
}

std::string describe(const std::vector<KeyBinding>& bindings)
{
    std::ostringstream out;
    for (const KeyBinding& b : bindings)
        out << b.action << ':' << b.modifiers << ':' << b.key << ' ';
    return out.str();
}

ScopedFakeSystem::ScopedFakeSystem() { set_system_services(&sys); }
ScopedFakeSystem::~ScopedFakeSystem() { set_system_services(nullptr); }

} // namespace tx9::test
