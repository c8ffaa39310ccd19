#include "settings/win/setup_saved.h"

#include "core/text.h"
#include "core/win/win_system.h"
#include "res/resource.h"

namespace tx9 {

void report_setup_saved(HWND owner, bool saved)
{
    if (!saved) {
        const DWORD code = GetLastError();
        return show_system_error(owner, code ? code : ERROR_WRITE_FAULT);
    }
    MessageBoxA(owner, load_resource_string(IDS_SETUP_SAVED).c_str(), kProgramTitle,
                MB_OK | MB_ICONINFORMATION);
}

} // namespace tx9
