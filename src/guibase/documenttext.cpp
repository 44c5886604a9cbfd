#include "guibase/documenttext.h"

#include "guibase/qtcodec.h"
#include "platform/codec.h"
#include "platform/messages.h"

#include <QList>

namespace tw {
namespace {

CharacterNotice* g_notice = nullptr;

const QString NoticeText = QStringLiteral(
    "Einige Zeichen gibt es im Zeichensatz Windows-1252 nicht. Sie wurden als HTML-Zeichenreferenz (etwa "
    "„&#128512;“), in Links als Prozentkodierung gespeichert; der Browser zeigt sie richtig an.");

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

std::string Told(DocumentText text)
{
    if (text.escaped && g_notice)
        g_notice->Tell();
    return std::move(text.bytes);
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

std::string TextToDocument(const QString& text)
{
    return Told(EncodeText(text));
}

std::string LinkToDocument(const QString& text)
{
    return Told(EncodeLink(text));
}

CharacterNotice::CharacterNotice() : previous_(g_notice)
{
    g_notice = this;
}

CharacterNotice::~CharacterNotice()
{
    g_notice = previous_;
}

void CharacterNotice::Tell()
{
    if (told_)
        return;
    told_ = true;
    ShowMessage(ToCp1252(NoticeText));
}

} // namespace tw
