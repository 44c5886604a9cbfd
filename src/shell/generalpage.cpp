#include "shell/generalpage.h"

#include "document/qzhtml.h"
#include "inspector/itemviewkeys.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace tw {
namespace {

constexpr const char* TagProperty = "tag";

void SetTag(QWidget* control, int fileSetting)
{
    control->setProperty(TagProperty, fileSetting);
}

} // namespace

int Tag(const QWidget* control)
{
    return control->property(TagProperty).toInt();
}

GeneralPage::GeneralPage(QWidget* parent)
    : QWidget(parent), efilename_(new QLineEdit), Button2_(new QPushButton(QStringLiteral("Durchsuchen..."))),
      feedit_(new QLineEdit), lbTemplates_(new QListWidget)
{
    efilename_->setObjectName(QStringLiteral("efilename"));
    efilename_->setToolTip(QStringLiteral("Das fertige Menü wird unter diesem Dateinamen gespeichert."));
    SetTag(efilename_, fsFilename);
    Button2_->setObjectName(QStringLiteral("Button2"));
    feedit_->setObjectName(QStringLiteral("feedit"));
    feedit_->setToolTip(QStringLiteral("Geben Sie hier die Endung an, die die Dateien mit den Untermenüs haben "
                                       "sollen.\nFalls Sie keine Endung angeben, wird die Endung der Hauptdatei "
                                       "benutzt"));
    SetTag(feedit_, fsFileExt);
    lbTemplates_->setObjectName(QStringLiteral("lbTemplates"));
    lbTemplates_->setToolTip(QStringLiteral("Wählen Sie hier die Vorlage aus, aus der das Menü erstellt werden soll."));
    lbTemplates_->setSelectionMode(QAbstractItemView::SingleSelection);
    lbTemplates_->setAccessibleName(QStringLiteral("Vorlage(n)"));
    new FirstMoveSelects(lbTemplates_); // the list owns it
    SetTag(lbTemplates_, fsTemplate);

    auto* fileBox = new QGroupBox(QStringLiteral("Dateiname"));
    auto* fileGrid = new QGridLayout(fileBox);
    auto* fileLabel = new QLabel(QStringLiteral("&Dateiname:"));
    fileLabel->setBuddy(efilename_);
    fileGrid->addWidget(fileLabel, 0, 0);
    fileGrid->addWidget(efilename_, 0, 1);
    fileGrid->addWidget(Button2_, 0, 2);
    auto* extensionLabel = new QLabel(QStringLiteral("Datei&endung:"));
    extensionLabel->setBuddy(feedit_);
    fileGrid->addWidget(extensionLabel, 1, 0);
    fileGrid->addWidget(feedit_, 1, 1);

    auto* templateBox = new QGroupBox(QStringLiteral("Vorlage"));
    auto* templateLayout = new QVBoxLayout(templateBox);
    auto* templateLabel = new QLabel(QStringLiteral("&Vorlage(n):"));
    templateLabel->setBuddy(lbTemplates_);
    templateLayout->addWidget(templateLabel);
    templateLayout->addWidget(lbTemplates_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fileBox);
    layout->addWidget(templateBox, 1);
}

} // namespace tw
