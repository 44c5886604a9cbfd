#include "shell/projectfilenames.h"

namespace tw {
namespace {

bool IsSeparator(QChar c)
{
    return c == QLatin1Char('\\') || c == QLatin1Char('/') || c == QLatin1Char(':');
}

qsizetype LastSeparator(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (IsSeparator(path[i]))
            return i;
    }
    return -1;
}

// Position of the extension's dot, or -1 when the name has none.
qsizetype ExtensionStart(const QString& text)
{
    const qsizetype dot = text.lastIndexOf(QLatin1Char('.'));
    return dot > LastSeparator(text) ? dot : -1;
}

} // namespace

QString SavetwbFileName(const QString& text, int fileType)
{
    if (text.isEmpty())
        return text;
    const QString extension = fileType == 3 ? QStringLiteral(".twf") : QStringLiteral(".twb");
    const qsizetype dot = ExtensionStart(text);
    if (dot >= 0) {
        const QString current = text.mid(dot).toLower();
        if (current == QLatin1String(".twf") || current == QLatin1String(".twb"))
            return text.left(dot) + extension;
    }
    return text + extension;
}

QString ChangeExtension(const QString& path, const QString& extension)
{
    const qsizetype dot = ExtensionStart(path);
    return (dot >= 0 ? path.left(dot) : path) + extension;
}

QString FileNameOnly(const QString& path)
{
    return path.mid(LastSeparator(path) + 1);
}

QString DirectoryPart(const QString& path)
{
    return path.left(LastSeparator(path) + 1);
}

QString QuotedFileName(const QString& path)
{
    return QLatin1Char('"') + FileNameOnly(path) + QLatin1Char('"');
}

} // namespace tw
