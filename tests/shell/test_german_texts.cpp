#include "shell_test_support.h"

#include "shell/desktopidentity.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

namespace tw::shelltest {
namespace {

const char* const Context = "QPlatformTheme";

TEST(GermanTextsTest, QtTextsAndFormatsAreGermanWhateverTheLocale)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCoreApplication& application = *QCoreApplication::instance();
    InstallGermanTexts(application);
    EXPECT_EQ(QCoreApplication::translate(Context, "Cancel"), QStringLiteral("Abbrechen"));
    EXPECT_EQ(QLocale().toString(1234.5, 'f', 1), QStringLiteral("1.234,5"));

    for (QTranslator* translator : application.findChildren<QTranslator*>())
        QCoreApplication::removeTranslator(translator);
    QLocale::setDefault(QLocale::c());
}

TEST(GermanTextsTest, ProgramCarriesQtsGermanTextsForSystemsWithoutThem)
{
    QTranslator builtIn;
    ASSERT_TRUE(builtIn.load(QStringLiteral(":/i18n/qtbase_de.qm")));
    EXPECT_EQ(builtIn.translate(Context, "Cancel"), QStringLiteral("Abbrechen"));
}

} // namespace
} // namespace tw::shelltest
