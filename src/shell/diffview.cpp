#include "shell/diffview.h"

#include <QFontDatabase>
#include <QTextBlock>
#include <QTextCursor>

namespace tw {
namespace {

// Fixed colours on both sides, so that a dark theme reads them as well.
QTextCharFormat LineFormat(const QString& line)
{
    QTextCharFormat format;
    if (line.startsWith(QLatin1String("+++")) || line.startsWith(QLatin1String("---"))) {
        format.setFontWeight(QFont::Bold);
    } else if (line.startsWith(u'+')) {
        format.setForeground(QColor(0x0B, 0x4F, 0x1C));
        format.setBackground(QColor(0xDD, 0xF4, 0xE1));
    } else if (line.startsWith(u'-')) {
        format.setForeground(QColor(0x7A, 0x12, 0x12));
        format.setBackground(QColor(0xFB, 0xE0, 0xE0));
    } else if (line.startsWith(QLatin1String("@@"))) {
        format.setForeground(QColor(0x1A, 0x3E, 0x8C));
        format.setBackground(QColor(0xE4, 0xEC, 0xFA));
    }
    return format;
}

} // namespace

DiffView::DiffView(QWidget* parent) : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Read-only, yet the keys move through it and Tab leaves it.
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    setTabChangesFocus(true);
}

void DiffView::ShowDiff(const QString& text, const QString& note)
{
    clear();
    if (text.isEmpty()) {
        setPlainText(note);
        return;
    }
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    bool first = true;
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (!first)
            cursor.insertBlock();
        first = false;
        QTextBlockFormat block;
        const QTextCharFormat format = LineFormat(line);
        if (format.hasProperty(QTextFormat::BackgroundBrush))
            block.setBackground(format.background());
        cursor.setBlockFormat(block);
        cursor.insertText(line, format);
    }
    cursor.endEditBlock();
    moveCursor(QTextCursor::Start);
}

} // namespace tw
