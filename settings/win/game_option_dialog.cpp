#include "settings/win/game_option_dialog.h"

#include "core/win/guard.h"
#include "core/win/placement.h"
#include "core/win/win_system.h"
#include "core/text.h"
#include "res/resource.h"
#include "settings/settings.h"
#include "settings/win/setup_saved.h"

#include <algorithm>
#include <string>

#include <imm.h>

namespace tx9 {

namespace {

constexpr int kMaxNameLength = 255;

struct NumberEdit {
    int id;
    int digits;
};
constexpr NumberEdit kNumberEdits[] = {
    {IDC_OTHER_SCORE, 5},     {IDC_ROUND, 4},           {IDC_MAX_LEG, 4},
    {IDC_HANDICAP_SCORE1, 5}, {IDC_HANDICAP_SCORE2, 5},
};

// The start-score buttons with the usual round count of each; "other:" has no
// score of its own (0) and reads its edit.
struct StartScoreButton {
    int id;
    int score;
    int rounds;
};
constexpr StartScoreButton kStartScores[] = {
    {IDC_SCORE_301, 301, 10},
    {IDC_SCORE_501, 501, 15},
    {IDC_SCORE_1001, 1001, 30},
    {IDC_SCORE_OTHER, 0, 60},
};

// One player's controls and the record fields they edit.
struct PlayerSide {
    int name_box;
    int caption;
    int com;
    int level_list;
    int handicap;
    int handicap_edit;
    int default_name; // string id
    std::string GameSettings::*name;
    int GameSettings::*start_score;
    int GameSettings::*com_flag;
    int GameSettings::*com_level;
};
const PlayerSide kSides[2] = {
    {IDC_NAME1, IDC_NAME1_LABEL, IDC_COM1, IDC_LEVEL1, IDC_HANDICAP1, IDC_HANDICAP_SCORE1, 103,
     &GameSettings::p1_name, &GameSettings::p1_start_score, &GameSettings::p1_com,
     &GameSettings::p1_com_level},
    {IDC_NAME2, IDC_NAME2_LABEL, IDC_COM2, IDC_LEVEL2, IDC_HANDICAP2, IDC_HANDICAP_SCORE2, 104,
     &GameSettings::p2_name, &GameSettings::p2_start_score, &GameSettings::p2_com,
     &GameSettings::p2_com_level},
};

GameSettings* record_of(HWND dialog) {
    return reinterpret_cast<GameSettings*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

bool is_checked(HWND dialog, int id) {
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}
void set_checked(HWND dialog, int id, bool on) {
    CheckDlgButton(dialog, id, on ? BST_CHECKED : BST_UNCHECKED);
}
void enable_item(HWND dialog, int id, bool on) {
    EnableWindow(GetDlgItem(dialog, id), on ? TRUE : FALSE);
}
void show_item(HWND dialog, int id, bool on) {
    ShowWindow(GetDlgItem(dialog, id), on ? SW_SHOW : SW_HIDE);
}

std::string item_text(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    int length = GetWindowTextLengthA(item);
    if (length <= 0) return {};
    std::string text(static_cast<size_t>(length) + 1, '\0');
    int copied = GetWindowTextA(item, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

// An empty or non-numeric edit reads as 0, as atoi would.
int read_number(HWND dialog, int id) {
    return parse_int(item_text(dialog, id));
}
void show_number(HWND dialog, int id, int value) {
    SetDlgItemInt(dialog, id, static_cast<UINT>(value), TRUE);
}

// Save Option writes the Settings' game settings, so it makes sense only when
// those are what the dialog edits.
bool offers_saving(const GameSettings& record) {
    return !record.schedule_entry && &record == &settings().game;
}

void prepare_controls(HWND dialog) {
    for (const NumberEdit& edit : kNumberEdits) {
        HWND item = GetDlgItem(dialog, edit.id);
        SendMessageA(item, EM_LIMITTEXT, static_cast<WPARAM>(edit.digits), 0);
        // Numbers only: a composition window would just get in the way.
        ImmAssociateContext(item, nullptr);
    }
    for (const PlayerSide& side : kSides) {
        HWND names = GetDlgItem(dialog, side.name_box);
        SendMessageA(names, CB_SETEXTENDEDUI, TRUE, 0);
        SendMessageA(names, CB_LIMITTEXT, kMaxNameLength, 0);
        for (const std::string& name : settings().name_list)
            if (!name.empty()) SendMessageA(names, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));

        HWND levels = GetDlgItem(dialog, side.level_list);
        for (int level = 1; level <= kComLevelCount; ++level) {
            std::string text = strprintf("Level %d", level);
            SendMessageA(levels, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        }
        SendMessageA(levels, CB_SETCURSEL, 0, 0);
    }
}

// COM players are chosen by level, people by name; the caption says which.
void show_player_kind(HWND dialog, const PlayerSide& side, bool com) {
    show_item(dialog, side.name_box, !com);
    show_item(dialog, side.level_list, com);
    SetDlgItemTextA(dialog, side.caption,
                    load_resource_string(com ? IDS_LEVEL_CAPTION : IDS_NAME_CAPTION).c_str());
}

void update_enabling(HWND dialog) {
    enable_item(dialog, IDC_OTHER_SCORE, is_checked(dialog, IDC_SCORE_OTHER));
    enable_item(dialog, IDC_ROUND, is_checked(dialog, IDC_ROUND_LIMIT));
    bool legs = is_checked(dialog, IDC_LEG_LIMIT);
    enable_item(dialog, IDC_MAX_LEG, legs);
    enable_item(dialog, IDC_BEST_OF, legs);
    for (const PlayerSide& side : kSides)
        enable_item(dialog, side.handicap_edit, is_checked(dialog, side.handicap));
}

// Puts the record into the controls; returns the start-score button in use.
int show_record(HWND dialog, const GameSettings& record) {
    int score_button = IDC_SCORE_OTHER;
    for (const StartScoreButton& button : kStartScores)
        if (button.score != 0 && button.score == record.start_score) score_button = button.id;
    // One by one: CheckRadioButton would touch every id between 1017 and 1050.
    for (const StartScoreButton& button : kStartScores)
        set_checked(dialog, button.id, button.id == score_button);
    if (score_button == IDC_SCORE_OTHER) show_number(dialog, IDC_OTHER_SCORE, record.start_score);

    set_checked(dialog, IDC_ROUND_LIMIT, record.round_limit != 0);
    show_number(dialog, IDC_ROUND, record.round);
    set_checked(dialog, IDC_LEG_LIMIT, record.leg_limit != 0);
    show_number(dialog, IDC_MAX_LEG, record.max_leg);
    set_checked(dialog, IDC_BEST_OF, record.best_of != 0);

    for (const PlayerSide& side : kSides) {
        // A set definition may leave a name empty on purpose; a game shows the default name.
        std::string name = record.*side.name;
        if (name.empty() && !record.schedule_entry) name = load_resource_string(side.default_name);
        SetDlgItemTextA(dialog, side.name_box, name.c_str());

        bool com = record.*side.com_flag != 0;
        set_checked(dialog, side.com, com);
        if (com) {
            int level = std::clamp(record.*side.com_level, 0, kComLevelCount - 1);
            SendDlgItemMessageA(dialog, side.level_list, CB_SETCURSEL, static_cast<WPARAM>(level), 0);
        }
        show_player_kind(dialog, side, com);

        int handicap = record.*side.start_score;
        bool has_handicap = handicap != 0 && handicap != record.start_score;
        set_checked(dialog, side.handicap, has_handicap);
        show_number(dialog, side.handicap_edit, has_handicap ? handicap : record.start_score);
    }

    bool entry = record.schedule_entry != 0;
    show_item(dialog, IDC_SAVE_OPTION, offers_saving(record));
    show_item(dialog, IDC_LEG_LIMIT, !entry);
    show_item(dialog, IDC_LEG_LABEL, entry);

    update_enabling(dialog);
    return score_button;
}

// The controls as a record, with out-of-range numbers brought into range.
// The `schedule_entry` flag comes back cleared.
GameSettings read_record(HWND dialog) {
    GameSettings read;
    read.start_score = 0;
    for (const StartScoreButton& button : kStartScores)
        if (button.score != 0 && is_checked(dialog, button.id)) read.start_score = button.score;
    if (read.start_score == 0)
        read.start_score = std::clamp(read_number(dialog, IDC_OTHER_SCORE), kMinStartScore, kMaxStartScore);

    read.round_limit = is_checked(dialog, IDC_ROUND_LIMIT) ? 1 : 0;
    read.round = std::clamp(read_number(dialog, IDC_ROUND), kMinRounds, kMaxRounds);
    // A Schedule entry's hidden box still holds the state it was opened with.
    read.leg_limit = is_checked(dialog, IDC_LEG_LIMIT) ? 1 : 0;
    read.max_leg = read_number(dialog, IDC_MAX_LEG);
    read.best_of = is_checked(dialog, IDC_BEST_OF) ? 1 : 0;

    for (const PlayerSide& side : kSides) {
        read.*side.name = cut255(item_text(dialog, side.name_box));
        if (is_checked(dialog, side.com)) {
            read.*side.com_flag = 1;
            LRESULT level = SendDlgItemMessageA(dialog, side.level_list, CB_GETCURSEL, 0, 0);
            read.*side.com_level = level == CB_ERR ? 0 : static_cast<int>(level);
        }
        read.*side.start_score = read.start_score;
        if (is_checked(dialog, side.handicap)) {
            int handicap = read_number(dialog, side.handicap_edit);
            if (handicap >= kMinStartScore && handicap <= kMaxStartScore) read.*side.start_score = handicap;
        }
    }
    return read;
}

// Player 1 first, so player 2's name ends up at the front of the list.
void remember_names(const GameSettings& record) {
    name_list_update(settings().name_list, record.p1_name);
    name_list_update(settings().name_list, record.p2_name);
}

INT_PTR on_init_dialog(HWND dialog, GameSettings* record) {
    if (!record) {
        EndDialog(dialog, 0);
        return TRUE;
    }
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(record));
    centre_over_owner(dialog);
    prepare_controls(dialog);
    int score_button = show_record(dialog, *record);
    // Start on the checked button: focusing another radio button of the group
    // would check it and change the start score.
    SetFocus(GetDlgItem(dialog, score_button));
    return FALSE;
}

void on_start_score(HWND dialog, const StartScoreButton& button) {
    enable_item(dialog, IDC_OTHER_SCORE, button.id == IDC_SCORE_OTHER);
    show_number(dialog, IDC_ROUND, button.rounds);
}

void on_com(HWND dialog, const PlayerSide& side) {
    show_player_kind(dialog, side, is_checked(dialog, side.com));
}

void on_ok(HWND dialog, GameSettings& record) {
    record = read_record(dialog);
    remember_names(record);
    EndDialog(dialog, 1);
}

// Stores the values shown as the game settings of the next start, while the
// running game keeps its settings until OK.
void on_save_option(HWND dialog, GameSettings& record) {
    if (!offers_saving(record)) return;
    GameSettings kept = record;
    record = read_record(dialog);
    remember_names(record);
    const bool saved = settings_save_game(settings());
    record = kept;
    report_setup_saved(dialog, saved);
}

void on_command(HWND dialog, GameSettings& record, int id, int code) {
    if (code == BN_CLICKED) {
        for (const StartScoreButton& button : kStartScores)
            if (button.id == id) return on_start_score(dialog, button);
        for (const PlayerSide& side : kSides)
            if (side.com == id) return on_com(dialog, side);
    }
    switch (id) {
    case IDC_ROUND_LIMIT:
    case IDC_LEG_LIMIT:
    case IDC_HANDICAP1:
    case IDC_HANDICAP2:
        if (code == BN_CLICKED) update_enabling(dialog);
        break;
    case IDOK: on_ok(dialog, record); break;
    case IDC_SAVE_OPTION: on_save_option(dialog, record); break;
    case IDCANCEL: EndDialog(dialog, 0); break;
    default: break;
    }
}

INT_PTR CALLBACK game_option_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    return guarded(
        [&]() -> INT_PTR {
            if (message == WM_INITDIALOG)
                return on_init_dialog(dialog, reinterpret_cast<GameSettings*>(lparam));
            GameSettings* record = record_of(dialog);
            if (!record) return FALSE;
            switch (message) {
            case WM_COMMAND: on_command(dialog, *record, LOWORD(wparam), HIWORD(wparam)); return TRUE;
            default: return FALSE;
            }
        },
        // Out of memory while copying texts: the dialog carries on as it was.
        [] { return FALSE; });
}

} // namespace

bool run_game_option_dialog(HWND owner, GameSettings* record) {
    return DialogBoxParamA(app_instance(), MAKEINTRESOURCEA(IDD_GAME_OPTION), owner, game_option_proc,
                           reinterpret_cast<LPARAM>(record)) == 1;
}

} // namespace tx9
