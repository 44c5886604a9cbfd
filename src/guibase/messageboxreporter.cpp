#include "guibase/messageboxreporter.h"

#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"

namespace tw {

void MessageBoxReporter::ShowMessage(const std::string& text)
{
    dialogs_.Message(owner_, FromCp1252(text));
}

} // namespace tw
