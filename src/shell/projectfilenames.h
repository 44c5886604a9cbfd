#pragma once

#include <QString>

namespace tw {

// File types of the project open and save dialogs; the 1-based position of
// a save type is the project format number (1 binary V1.1, 2 binary V1.0,
// 3 text).
inline const QString ProjectOpenFilter =
    QStringLiteral("Alle unterstützten Formate (*.twb;*.twf)|*.twb;*.twf|Treeweaver Binary File (*.twb)|*.twb|"
                   "Treeweaver File (*.twf)|*.twf|Alle Dateien (*.*)|*.*");
inline const QString ProjectSaveFilter =
    QStringLiteral("Treeweaver Binary File V1.1(*.twb)|*.twb|Treeweaver Binary File (*.twb)|*.twb|"
                   "Treeweaver File (*.twf)|*.twf");
inline const QString ProjectDefaultSuffix = QStringLiteral("twb");
inline const QString HtmlSaveFilter = QStringLiteral("HTML (*.htm, *html)|*.htm; *.html|Alle Dateien (*.*)|*.*");
inline const QString HtmlDefaultSuffix = QStringLiteral("htm");

// The name the save dialog's file-name box shows after the user picked
// another file type: a known project extension (.twb, .twf, any case) is
// replaced by the type's extension, any other text gets it appended; an
// empty text stays empty.
QString SavetwbFileName(const QString& text, int fileType);

// The path with the extension of its file name (from the last dot on)
// replaced by extension, or extension appended when the name has none.
QString ChangeExtension(const QString& path, const QString& extension);

// The file name without directory ("\" and "/" both separate).
QString FileNameOnly(const QString& path);
// The file name without directory in double quotes, as questions name it.
QString QuotedFileName(const QString& path);
// Everything up to and including the last separator; empty if none.
QString DirectoryPart(const QString& path);

} // namespace tw
