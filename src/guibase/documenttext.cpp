#include "guibase/documenttext.h"

#include "guibase/qtcodec.h"
#include "platform/codec.h"

#include <QList>
#include <QRegularExpression>

namespace tw {
namespace {

template <typename Escape>
DocumentText Encode(const QString& text, Escape escape)
{
    DocumentText result;
    result.bytes.reserve(static_cast<std::size_t>(text.size()));
    for (const auto codePoint : text.toUcs4()) {
        const char byte = CodePointToCp1252(codePoint);
        if (byte == '?' && codePoint != U'?') {
            escape(result.bytes, static_cast<char32_t>(codePoint));
            result.escaped = true;
        } else {
            result.bytes += byte;
        }
    }
    return result;
}

} // namespace

DocumentText EncodeText(const QString& text)
{
    return Encode(text, [](std::string& out, char32_t codePoint) {
        out += "&#" + std::to_string(static_cast<unsigned long>(codePoint)) + ';';
    });
}

DocumentText EncodeLink(const QString& text)
{
    return Encode(text, [](std::string& out, char32_t codePoint) {
        static const char Hex[] = "0123456789ABCDEF";
        for (const char byte : QString::fromUcs4(&codePoint, 1).toUtf8()) {
            const auto value = static_cast<unsigned char>(byte);
            out += '%';
            out += Hex[value >> 4];
            out += Hex[value & 0x0F];
        }
    });
}

QString DocumentTextToShow(const std::string& text)
{
    QString shown = FromCp1252(text);
    static const QRegularExpression reference(QStringLiteral("&#([0-9]{1,7});"));
    qsizetype from = 0;
    QRegularExpressionMatch match;
    while ((match = reference.match(shown, from)).hasMatch()) {
        const uint codePoint = match.captured(1).toUInt();
        const bool escaped = codePoint <= 0x10FFFF && !(codePoint >= 0xD800 && codePoint <= 0xDFFF) &&
                             CodePointToCp1252(codePoint) == '?';
        if (!escaped) {
            from = match.capturedEnd();
            continue;
        }
        const auto character = static_cast<char32_t>(codePoint);
        const QString replacement = QString::fromUcs4(&character, 1);
        shown.replace(match.capturedStart(), match.capturedLength(), replacement);
        from = match.capturedStart() + replacement.size();
    }
    return shown;
}

} // namespace tw
