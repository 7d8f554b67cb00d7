// The folder picker behind "+DIR".
#pragma once

#include "controls/filedialogdriver.h"

#include <QLatin1StringView>

namespace modBrowseFolder {

inline constexpr QLatin1StringView Title{"Select Directory"};

// The chosen folder's path, or "" when the user cancels.
QString BrowseFolder(FileDialogDriver& driver);

} // namespace modBrowseFolder
