#include "controls/modbrowsefolder.h"

namespace modBrowseFolder {

QString BrowseFolder(FileDialogDriver& driver)
{
    return driver.pickFolder(Title, QString());
}

} // namespace modBrowseFolder
