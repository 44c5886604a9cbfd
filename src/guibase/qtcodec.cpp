#include "guibase/qtcodec.h"

#include "platform/codec.h"

namespace tw {

QString FromCp1252(const std::string& text)
{
    return QString::fromStdU16String(Cp1252ToUtf16(text));
}

std::string ToCp1252(const QString& text)
{
    return Utf16ToCp1252(text.toStdU16String());
}

} // namespace tw
