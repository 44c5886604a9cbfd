#include "shell/corepath.h"

#include "guibase/qtcodec.h"
#include "platform/codec.h"
#include "shell/projectfilenames.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>

namespace tw {

QString CharactersOutsideCodePage(const QString& text)
{
    QString found;
    for (const char32_t codePoint : text.toUcs4()) {
        if (CodePointToCp1252(codePoint) == '?' && codePoint != U'?') {
            const QString character = QString::fromUcs4(&codePoint, 1);
            if (!found.contains(character))
                found += character;
        }
    }
    return found;
}

CorePath::CorePath(const QString& path)
{
    const QString name = FileNameOnly(path);
    const QString folder = DirectoryPart(path);
    if (const QString odd = CharactersOutsideCodePage(name); !odd.isEmpty()) {
        problem_ = QStringLiteral("„") + name + QStringLiteral("“: Dateinamen mit den Zeichen „") + odd +
                   QStringLiteral("“ kann Treeweaver nicht verwenden. Bitte wählen Sie einen anderen Namen.");
        return;
    }
    if (CharactersOutsideCodePage(folder).isEmpty()) {
        path_ = ToCp1252(path);
        return;
    }
    folder_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder_ < 0) {
        problem_ = QStringLiteral("Der Ordner „") + folder + QStringLiteral("“ kann nicht geöffnet werden.");
        return;
    }
    path_ = "/proc/self/fd/" + std::to_string(folder_) + '/' + ToCp1252(name);
}

CorePath::~CorePath()
{
    if (folder_ >= 0)
        ::close(folder_);
}

} // namespace tw
