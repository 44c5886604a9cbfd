#include "shell_test_support.h"

#include "document/qzhtml.h"
#include "generator/generator.h"
#include "guibase/qtcodec.h"
#include "inspector/gridtreeview.h"
#include "shell/mainform.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>
#include <QWidget>

namespace tw::shelltest {
namespace {

// One application for the whole test program, with settings redirected to
// a temporary directory before anything reads them.
class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        settingsDir_ = std::make_unique<QTemporaryDir>();
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::UserScope, settingsDir_->filePath(QStringLiteral("user")));
            QSettings::setPath(format, QSettings::SystemScope, settingsDir_->filePath(QStringLiteral("system")));
        }
        if (!QApplication::instance()) {
            static int argc = 1;
            static char name[] = "test_shell";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv); // lives for the whole test program
        }
        QApplication::setApplicationName(QStringLiteral("Treeweaver"));
    }

private:
    std::unique_ptr<QTemporaryDir> settingsDir_;
};

[[maybe_unused]] ::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

template <typename T>
T Next(std::deque<T>& queue, const T& fallback, const QString& what)
{
    if (queue.empty()) {
        ADD_FAILURE() << "no scripted answer for: " << what.toStdString();
        return fallback;
    }
    T answer = queue.front();
    queue.pop_front();
    return answer;
}

} // namespace

void ScriptedDialogs::Message(QWidget*, const QString& text)
{
    calls.push_back({.kind = DialogCall::Message, .text = text});
}

Answer ScriptedDialogs::Confirm(QWidget*, const QString& text, bool cancellable)
{
    calls.push_back({.kind = DialogCall::Confirm, .text = text, .cancellable = cancellable});
    if (whileAsking)
        whileAsking();
    return Next(answers, Answer::Cancel, text);
}

int ScriptedDialogs::Choose(QWidget*, const QString& text, const QStringList& buttons)
{
    calls.push_back({.kind = DialogCall::Choose, .text = text, .details = buttons.join(u'|')});
    if (whileAsking)
        whileAsking();
    return Next(choices, -1, text);
}

Answer ScriptedDialogs::ConfirmDeletion(QWidget*, const QString& text, const QString& details)
{
    calls.push_back({.kind = DialogCall::ConfirmDeletion, .text = text, .details = details});
    return Next(answers, Answer::No, text);
}

std::optional<QString> ScriptedDialogs::OpenFile(QWidget*, const QString& filter, const QString& initialDir,
                                                 const QString& fileName)
{
    calls.push_back({.kind = DialogCall::Open, .filter = filter, .initialDir = initialDir, .fileName = fileName});
    const QString answer = Next(openAnswers, CancelOpen, QStringLiteral("open dialog ") + filter);
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

std::optional<SaveChoice> ScriptedDialogs::SaveFile(QWidget*, const SaveRequest& request)
{
    calls.push_back({.kind = DialogCall::Save,
                     .filter = request.filter,
                     .fileName = request.fileName,
                     .filterIndex = request.filterIndex,
                     .defaultSuffix = request.defaultSuffix,
                     .followsFileType = static_cast<bool>(request.onFileTypeChange)});
    if (request.onFileTypeChange)
        lastFileTypeHandler = request.onFileTypeChange;
    const SaveChoice answer = Next(saveAnswers, CancelSave, QStringLiteral("save dialog ") + request.filter);
    if (answer.path.isNull())
        return std::nullopt;
    return answer;
}

std::optional<unsigned> ScriptedDialogs::ChooseColor(QWidget*, unsigned initial)
{
    calls.push_back({.kind = DialogCall::Color, .initialColor = initial});
    return Next(colorAnswers, std::optional<unsigned>(), QStringLiteral("colour dialog"));
}

std::optional<QString> ScriptedDialogs::ChooseImportSource(QWidget*, const QString& initialDir)
{
    calls.push_back({.kind = DialogCall::ImportSource, .initialDir = initialDir});
    const QString answer = Next(importSourceAnswers, CancelOpen, QStringLiteral("import source"));
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

std::optional<QString> ScriptedDialogs::ChooseFolder(QWidget*, const QString& title, const QString& initialDir)
{
    calls.push_back({.kind = DialogCall::Folder, .text = title, .initialDir = initialDir});
    const QString answer = Next(folderAnswers, CancelOpen, QStringLiteral("folder dialog"));
    if (answer.isNull())
        return std::nullopt;
    return answer;
}

bool RecordingOpener::Open(const QUrl& address)
{
    opened.append(address.isLocalFile() ? address.toLocalFile() : address.toString());
    return true;
}

std::vector<DialogCall> ScriptedDialogs::CallsOf(DialogCall::Kind kind) const
{
    std::vector<DialogCall> result;
    for (const auto& call : calls) {
        if (call.kind == kind)
            result.push_back(call);
    }
    return result;
}

QStringList ScriptedDialogs::TextsOf(DialogCall::Kind kind) const
{
    QStringList texts;
    for (const auto& call : CallsOf(kind))
        texts.append(call.text);
    return texts;
}

void ShellTest::SetUp()
{
    ClearSettings();
}

void ShellTest::ClearSettings()
{
    QSettings(QSettings::UserScope, QStringLiteral("Vellmark Software"), QStringLiteral("Treeweaver")).clear();
    QSettings(QSettings::SystemScope, QStringLiteral("Vellmark Software"), QStringLiteral("Paths")).clear();
    QSettings(QSettings::SystemScope, QStringLiteral("Microsoft"), QStringLiteral("Windows")).clear();
}

void MainFormTest::SetUp()
{
    ShellTest::SetUp();
    ASSERT_TRUE(dir_.isValid());
    const QDir root(dir_.path());
    for (const char* sub : {"bin", "Templates/Simple", "Templates/Zweite", "Templates/.versteckt"})
        ASSERT_TRUE(root.mkpath(QString::fromLatin1(sub)));
    WriteTextFile(Path(QStringLiteral("Templates/Simple/template.ini")), "[Main]\r\nVarList=Farbe, Breite\r\n");
    SetTemplatesDirectory(ToCp1252(Path(QStringLiteral("Templates/"))));
}

void MainFormTest::TearDown()
{
    form_.reset();
    SetTemplatesDirectory({});
}

Tmainform& MainFormTest::Form()
{
    if (!form_)
        form_ = std::make_unique<Tmainform>(dialogs_, opener_, ProgramDir());
    return *form_;
}

void MainFormTest::EditSomething(const QString& fileName)
{
    Form().efilename()->setText(Path(fileName));
}

void MainFormTest::MakeDeepTree()
{
    TqzHTML& document = Form().Document();
    MenuTree& tree = document.Tree();
    MenuNode* parent = &tree.Root();
    for (const char* caption : {"Eins", "Zwei", "Drei"}) {
        parent = &tree.AddChild(*parent, caption);
        document.CreateItemData(*parent);
    }
    document.SetModified(true);
}

bool MainFormTest::SaveEnabled()
{
    return Form().CommandAction(Tmainform::cmdSave)->isEnabled();
}

void WriteTextFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

void CopyLibrary(const char* builtLibrary, const QString& to)
{
    ASSERT_TRUE(QFile::copy(QString::fromUtf8(builtLibrary), to)) << to.toStdString();
}

QString LastLibraryCall(const QString& path)
{
    QLibrary library(path);
    const auto lastCall = reinterpret_cast<const char* (*)()>(library.resolve("fake_maker_last_call"));
    const QString text = lastCall ? QString::fromLatin1(lastCall()) : QStringLiteral("<not loaded>");
    library.unload();
    return text;
}

QByteArray ReadTextFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

MenuNode* FindItem(MenuTree& tree, const std::string& caption)
{
    for (MenuNode* node = tree.Root().NextPreOrder(); node != nullptr; node = node->NextPreOrder()) {
        if (node->Caption() == caption)
            return node;
    }
    ADD_FAILURE() << "no item " << caption;
    return nullptr;
}

QString ShownTitle(const QWidget& window)
{
    QString title = window.windowTitle();
    return title.replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

void ClickLayoutRow(GridTreeView& grid, const QString& caption, const QString& group)
{
    const QAbstractItemModel& model = *grid.model();
    QModelIndex parent;
    if (!group.isEmpty()) {
        parent = model.match(model.index(0, 0), Qt::DisplayRole, group, 1, Qt::MatchExactly).value(0);
        if (!grid.isExpanded(parent))
            QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, grid.RowRect(parent).center());
    }
    const QModelIndex row =
        model.match(model.index(0, 0, parent), Qt::DisplayRole, caption, 1, Qt::MatchExactly).value(0);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.RowRect(row).center());
    ASSERT_EQ(grid.currentIndex(), row);
}

} // namespace tw::shelltest
