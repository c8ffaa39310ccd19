#include "core/system.h"
#include "core/text.h"
#include "records/csv_export.h"

namespace tx9 {

// The hour is on the 24-hour clock so that sets begun twelve hours apart on
// the same day keep files of their own.
std::string csv_file_name(int start_score, const LocalTime& when)
{
    return strprintf("%d_%04d%02d%02d_%02d%02d%02d.csv", start_score, when.year, when.month, when.day, when.hour,
                     when.minute, when.second);
}

} // namespace tx9
