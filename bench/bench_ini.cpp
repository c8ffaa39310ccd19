// One INI cycle as the program runs it (load, gets, puts, write, free) on a
// large hand-grown file, and the settings cycles on full tables. The in-memory
// variants show the cost grows linearly with the file.
#include "settings/ini_store.h"
#include "settings/settings.h"
#include "support/fake_system.h"
#include "support/temp_dir.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

constexpr int kKeysPerSection = 49; // with its header, 50 lines a section

// A file of about `lines` lines: sections of 49 keys each, or one section of
// them all (the worst case for a key scan), with a comment now and then.
std::string make_ini(int lines, bool one_section) {
    std::string text;
    int section = 0, key = 0;
    for (int line = 0; line < lines; ++line) {
        bool header = one_section ? line == 0 : line % (kKeysPerSection + 1) == 0;
        if (header) {
            text += "[section_" + std::to_string(section++) + "]\r\n";
            key = 0;
        } else if (line % 97 == 0) {
            text += "# comment line " + std::to_string(line) + "\r\n";
        } else {
            text += "key_" + std::to_string(key++) + "=\"value number " + std::to_string(line) + "\"\r\n";
        }
    }
    return text;
}

// 50 (section, key) names spread over the file, the last keys of their sections.
std::vector<std::pair<std::string, std::string>> probes(int lines, bool one_section) {
    std::vector<std::pair<std::string, std::string>> out;
    int sections = one_section ? 1 : (lines + kKeysPerSection) / (kKeysPerSection + 1);
    int keys = one_section ? lines - lines / 97 - 2 : kKeysPerSection - 2;
    for (int i = 0; i < 50; ++i) {
        int s = sections * i / 50;
        int k = one_section ? keys - (keys * i / 50) : keys;
        out.emplace_back("SECTION_" + std::to_string(s), "Key_" + std::to_string(k));
    }
    return out;
}

// The cycle on the process-wide document, through a real file.
void BM_IniCycleFile(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const bool one_section = state.range(1) != 0;
    tx9::test::ScopedTempDir dir;
    const std::string path = dir.file("tx9.ini");
    const std::string text = make_ini(lines, one_section);
    tx9::test::write_test_file(path, text);
    const auto names = probes(lines, one_section);
    for (auto _ : state) {
        tx9::ini_load(path);
        for (const auto& [section, key] : names)
            benchmark::DoNotOptimize(tx9::ini_get_string(section, key, "", path));
        for (size_t i = 0; i < names.size(); ++i) {
            if (i % 2 == 0)
                tx9::ini_put_int(names[i].first, names[i].second, 42, path); // in place
            else
                tx9::ini_put_string(names[i].first, "new_key_" + std::to_string(i), "new", path);
        }
        tx9::ini_write(path);
        tx9::ini_free();
        state.PauseTiming();
        tx9::test::write_test_file(path, text); // every round starts from the same file
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_IniCycleFile)->Args({5000, 0})->Args({5000, 1})->Unit(benchmark::kMicrosecond);

// The same work without the disk, over growing files.
void BM_IniCycleInMemory(benchmark::State& state) {
    const int lines = static_cast<int>(state.range(0));
    const bool one_section = state.range(1) != 0;
    const std::string text = make_ini(lines, one_section);
    const auto names = probes(lines, one_section);
    for (auto _ : state) {
        tx9::IniDocument doc;
        doc.parse(text);
        for (const auto& [section, key] : names)
            benchmark::DoNotOptimize(doc.get_string(section, key, ""));
        for (size_t i = 0; i < names.size(); ++i) {
            if (i % 2 == 0)
                doc.put_int(names[i].first, names[i].second, 42);
            else
                doc.put_string(names[i].first, "new_key_" + std::to_string(i), "new");
        }
        benchmark::DoNotOptimize(doc.text());
    }
    state.SetComplexityN(lines);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_IniCycleInMemory)
    ->ArgsProduct({benchmark::CreateRange(1250, 80000, 4), {0}})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_IniCycleInMemory)
    ->ArgsProduct({benchmark::CreateRange(1250, 80000, 4), {1}})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMicrosecond);

// Settings with every table full: 30 names, 256 Schedule entries, 256 bindings.
tx9::Settings full_settings(const std::string& path, const tx9::SystemServices& sys) {
    tx9::Settings s;
    s.ini_path = path;
    tx9::settings_load(s, sys);
    for (int i = 0; i < tx9::kMaxNameList; ++i)
        s.name_list.push_back("Player name " + std::to_string(i));
    s.schedule.assign(tx9::kMaxScheduleEntries, s.schedule[1]);
    s.keys.bindings.assign(tx9::kMaxKeyBindings, s.keys.bindings[0]);
    s.keys.keys_customised = 1;
    return s;
}

void BM_SettingsLoadFullTables(benchmark::State& state) {
    tx9::test::ScopedFakeSystem fake;
    tx9::test::ScopedTempDir dir;
    tx9::Settings s = full_settings(dir.file("tx9.ini"), fake.sys);
    tx9::settings_save(s, fake.sys);
    tx9::settings_save_game(s);
    tx9::settings_save_schedule(s);
    for (auto _ : state) {
        tx9::settings_load(s, fake.sys);
        benchmark::DoNotOptimize(s.schedule.size());
    }
}
BENCHMARK(BM_SettingsLoadFullTables)->Unit(benchmark::kMicrosecond);

void BM_SettingsSaveFullTables(benchmark::State& state) {
    tx9::test::ScopedFakeSystem fake;
    tx9::test::ScopedTempDir dir;
    tx9::Settings s = full_settings(dir.file("tx9.ini"), fake.sys);
    tx9::settings_save_schedule(s);
    for (auto _ : state)
        benchmark::DoNotOptimize(tx9::settings_save(s, fake.sys));
}
BENCHMARK(BM_SettingsSaveFullTables)->Unit(benchmark::kMicrosecond);

} // namespace
