#pragma once

// Test support for the main window and the support services: the
// application object, settings kept in a temporary place instead of the
// user's, and dialogs answered from a script.

#include "guibase/dialogs.h"
#include "shell/fmxutils.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

// Readable failure output for Qt strings.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace tw {
class GridTreeView;
class MenuNode;
class MenuTree;
class Tmainform;
} // namespace tw

namespace tw::shelltest {

// One dialog or message the program showed, with what it was set up with.
// Records what the program asks the desktop to open.
class RecordingOpener : public ShellOpener {
public:
    // Local files as paths, other addresses as they are written.
    bool Open(const QUrl& address) override;
    QStringList opened;
};

struct DialogCall {
    enum Kind { Message, Confirm, Choose, ConfirmDeletion, Open, Save, Color, ImportSource, Folder };
    Kind kind = Message;
    QString text{}; // message or question
    QString details{};
    bool cancellable = false;
    QString filter{};
    QString initialDir{};
    QString fileName{};
    int filterIndex = 0;
    QString defaultSuffix{};
    bool followsFileType = false;
    unsigned initialColor = 0;
};

inline const QString CancelOpen;
inline const SaveChoice CancelSave;

// Records every call and answers from queues; a question or dialog without a
// scripted answer fails the test and is cancelled.
class ScriptedDialogs : public Dialogs {
public:
    std::vector<DialogCall> calls;
    std::deque<Answer> answers;
    // Indexes of the buttons chosen; -1 closes the box.
    std::deque<int> choices;
    // A null path stands for a cancelled dialog.
    std::deque<QString> openAnswers;
    std::deque<SaveChoice> saveAnswers;
    // Nothing stands for a cancelled colour dialog.
    std::deque<std::optional<unsigned>> colorAnswers;
    // A null path stands for a cancelled choice.
    std::deque<QString> importSourceAnswers;
    // A null path stands for a cancelled folder dialog.
    std::deque<QString> folderAnswers;
    // Runs while a question is open, as time passes while a user reads it.
    std::function<void()> whileAsking;
    // The file-type handler of the last save dialog that had one.
    FileTypeChangeHandler lastFileTypeHandler;

    void Message(QWidget* parent, const QString& text) override;
    Answer Confirm(QWidget* parent, const QString& text, bool cancellable) override;
    int Choose(QWidget* parent, const QString& text, const QStringList& buttons) override;
    Answer ConfirmDeletion(QWidget* parent, const QString& text, const QString& details) override;
    std::optional<QString> OpenFile(QWidget* parent, const QString& filter, const QString& initialDir,
                                    const QString& fileName) override;
    std::optional<unsigned> ChooseColor(QWidget* parent, unsigned initial) override;
    std::optional<SaveChoice> SaveFile(QWidget* parent, const SaveRequest& request) override;
    std::optional<QString> ChooseImportSource(QWidget* parent, const QString& initialDir) override;
    std::optional<QString> ChooseFolder(QWidget* parent, const QString& title, const QString& initialDir) override;

    std::vector<DialogCall> CallsOf(DialogCall::Kind kind) const;
    QStringList TextsOf(DialogCall::Kind kind) const;
    // True when every scripted answer was used.
    bool Exhausted() const
    {
        return answers.empty() && choices.empty() && openAnswers.empty() && saveAnswers.empty() &&
               colorAnswers.empty() && importSourceAnswers.empty() && folderAnswers.empty();
    }
};

// Base of the GUI tests: empties the program's settings before each test.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    static void ClearSettings();
};

// A main window on scratch directories: template sets "Simple" (declaring
// the variables Farbe and Breite) and "Zweite" plus a hidden one, and a
// program directory without the maker's libraries.
class MainFormTest : public ShellTest {
protected:
    void SetUp() override;
    void TearDown() override;

    Tmainform& Form();
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QString ProgramDir() const { return Path(QStringLiteral("bin")); }
    // Marks the document modified through the output file name field.
    void EditSomething(const QString& fileName = QStringLiteral("index.htm"));
    // Gives the document an item on level 3 (the formats 2 and 3 keep two).
    void MakeDeepTree();
    bool SaveEnabled();

    QTemporaryDir dir_;
    ScriptedDialogs dialogs_;
    RecordingOpener opener_;
    std::unique_ptr<Tmainform> form_;
};

void WriteTextFile(const QString& path, const QByteArray& bytes);
// The window's title as the title bar shows it: "[*]" is "*" while the
// window has unsaved work and nothing otherwise.
QString ShownTitle(const QWidget& window);
// Copies one of the built stand-in libraries.
void CopyLibrary(const char* builtLibrary, const QString& to);
// What the recording stand-in library at path was last called with.
QString LastLibraryCall(const QString& path);
QByteArray ReadTextFile(const QString& path);
// The first item with the caption, in tree order; a failure when there is none.
MenuNode* FindItem(MenuTree& tree, const std::string& caption);
// Clicks the layout row with the caption, below the group with that caption
// when given (opened first); a failure when the row does not become current.
void ClickLayoutRow(GridTreeView& grid, const QString& caption, const QString& group = {});

} // namespace tw::shelltest
