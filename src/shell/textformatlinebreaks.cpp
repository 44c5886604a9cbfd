#include "shell/textformatlinebreaks.h"

#include "guibase/dialogs.h"
#include "guibase/qtcodec.h"
#include "projectfiles/textformat.h"

namespace tw {

bool PrepareLineBreaksForTextFormat(Dialogs& dialogs, QWidget* parent, TqzHTML& document)
{
    const auto where = FindLineBreakForTextFormat(document);
    if (!where)
        return true;
    const QString question =
        FromCp1252(*where) +
        QStringLiteral(" enthält einen Zeilenumbruch, den das Textformat nicht speichern kann. Sollen alle "
                       "Zeilenumbrüche in Menüpunkten und Variablennamen durch Leerzeichen ersetzt werden?");
    if (dialogs.Confirm(parent, question, false) != Answer::Yes)
        return false;
    ReplaceLineBreaksForTextFormat(document);
    return true;
}

} // namespace tw
