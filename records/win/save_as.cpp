#include "records/win/save_as.h"

#include "core/text.h"
#include "core/win/win_system.h"
#include "records/csv_export.h"
#include "res/resource.h"

#include <cstring>
#include <string>

namespace tx9 {

namespace {

SaveFileDialogFunction g_save_file_dialog = nullptr;

constexpr char kCsvFilter[] = "CSV (*.csv)\0*.csv\0All files (*.*)\0*.*\0";

} // namespace

SaveFileDialogFunction set_save_file_dialog_function(SaveFileDialogFunction function) {
    SaveFileDialogFunction previous = g_save_file_dialog;
    g_save_file_dialog = function;
    return previous;
}

bool run_save_file_dialog(HWND owner, const char* title, const char* filter, const char* default_extension,
                          char (&file_name)[MAX_PATH]) {
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.lpstrFile = file_name;
    request.nMaxFile = MAX_PATH - 1;
    request.lpstrTitle = title;
    request.lpstrDefExt = default_extension;
    // A Save dialog does not apply OFN_FILEMUSTEXIST: new names are accepted.
    request.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST;
    SaveFileDialogFunction show = g_save_file_dialog ? g_save_file_dialog : GetSaveFileNameA;
    return show(&request) != FALSE;
}

bool save_record_as(HWND owner, const GameRecord& record) {
    char file_name[MAX_PATH] = "";
    // A bare name: the dialog starts in its own folder.
    std::strncpy(file_name, record.csv_name.c_str(), MAX_PATH - 1);
    const std::string title = load_resource_string(IDS_SAVE_AS);
    if (!run_save_file_dialog(owner, title.c_str(), kCsvFilter, "csv", file_name)) return false;

    std::string error;
    if (write_csv_file(record, file_name, &error)) return true;
    MessageBoxA(owner, error.c_str(), kProgramTitle, MB_OK | MB_ICONSTOP);
    return false;
}

} // namespace tx9
