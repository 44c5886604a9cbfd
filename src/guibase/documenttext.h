#pragma once

#include <QString>

#include <string>

namespace tw {

// Typed text in the document's code page. A character that Windows-1252
// cannot hold becomes an HTML character reference ("&#128512;"), which every
// browser shows as the character; in a link it becomes percent-encoded UTF-8
// instead, as addresses expect. escaped tells whether that happened.
struct DocumentText {
    std::string bytes;
    bool escaped = false;
};
DocumentText EncodeText(const QString& text);
DocumentText EncodeLink(const QString& text);

// The conversions for text that goes into the document: they tell the user
// through the current CharacterNotice when characters were replaced.
std::string TextToDocument(const QString& text);
std::string LinkToDocument(const QString& text);

// Tells the user once, for as long as it lives, that characters were
// written as references. The newest notice is the current one; it restores
// the one before when it goes.
class CharacterNotice {
public:
    CharacterNotice();
    ~CharacterNotice();
    CharacterNotice(const CharacterNotice&) = delete;
    CharacterNotice& operator=(const CharacterNotice&) = delete;

    void Tell();

private:
    CharacterNotice* previous_;
    bool told_ = false;
};

} // namespace tw
