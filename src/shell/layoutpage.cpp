#include "shell/layoutpage.h"

#include "document/qzhtml.h"
#include "inspector/gridtreeview.h"
#include "inspector/lengthsettings.h"
#include "inspector/mybutton.h"
#include "inspector/mypanel.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace tw {
namespace {

constexpr int DividerWidth = 2;

struct RowDefinition {
    const char16_t* caption;
    int kind;
    int setting;
    // Rows below a group row follow it with isChild set.
    bool isChild;
};

constexpr RowDefinition Rows[] = {
    {u"Menüpunkt", ikGroup, 0, false},
    {u"Schrift(en)", ikFont, siFont, true},
    {u"Schriftgröße", ikText, siFontSize, true},
    {u"Untermenü", ikGroup, 0, false},
    {u"Schrift(en)", ikFont, siSubmenuFont, true},
    {u"Schriftgröße", ikText, siSubmenuFontSize, true},
    {u"Abstand", ikText, siSubmenuLeftMargin, true},
    {u"Farben", ikGroup, 0, false},
    {u"Text", ikColor, ciText, true},
    {u"Hintergrund", ikColor, ciBackground, true},
    {u"Link", ikColor, ciLink, true},
    {u"1. Buchstabe", ikColor, ciFirstLetter, true},
    {u"besuchter Link", ikColor, ciVLink, true},
    {u"aktiver Link", ikColor, ciALink, true},
    {u"Hover Link", ikColor, ciHover, true},
    {u"Titel", ikText, siTitle, false},
    {u"Trennlinie", ikText, siHr, false},
    {u"Hintergrundbild", ikPicture, siBackgroundImage, false},
};

} // namespace

LayoutPage::LayoutPage(QWidget* parent) : QWidget(parent), rows_(new QStandardItemModel(this))
{
    auto* tree = new GridTreeView;
    tree->setObjectName(QStringLiteral("TreeView2"));
    tree->setAccessibleName(QStringLiteral("Layout"));
    tree->setFrameShape(QFrame::NoFrame);
    tree->setHeaderHidden(true);
    tree->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setRootIsDecorated(false);
    tree->setIndentation(16);
    tree->setUniformRowHeights(true);
    // A stop of the Tab order: without it the keyboard could not reach the
    // rows before one is selected.
    tree->setFocusPolicy(Qt::StrongFocus);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    tree->viewport()->setBackgroundRole(QPalette::Button);
    tree->setModel(rows_);
    // The grid takes the application's font; its rows grow with it.
    AddRows(QFontMetrics(tree->font()).height() + 3);

    auto* editor = new QLineEdit(tree);
    editor->setObjectName(QStringLiteral("Edit1"));
    editor->setFrame(false);
    editor->hide();
    auto* button = new TMYButton(tree);
    button->setObjectName(QStringLiteral("MYButton1"));
    QFont buttonFont(QStringLiteral("Arial"));
    buttonFont.setPointSize(8);
    buttonFont.setBold(true);
    button->setFont(buttonFont);
    button->SetCaption(QStringLiteral("···"));
    button->hide();
    auto* divider = new TMyPanel(tree->viewport());
    divider->setObjectName(QStringLiteral("MyPanel1"));
    divider->resize(DividerWidth, tree->viewport()->height());
    divider->setCursor(Qt::SplitHCursor);

    auto* info = new QLineEdit;
    info->setObjectName(QStringLiteral("Edit2"));
    info->setFrame(false);
    info->setReadOnly(true);
    info->setFocusPolicy(Qt::ClickFocus);
    QPalette infoPalette = info->palette();
    infoPalette.setColor(QPalette::Base, infoPalette.color(QPalette::Button));
    info->setPalette(infoPalette);
    auto* infoBox = new QGroupBox(QStringLiteral("Info"));
    auto* infoLayout = new QHBoxLayout;
    auto* infoLabel = new QLabel(QStringLiteral("Variable:"));
    infoLabel->setBuddy(info);
    infoLayout->addWidget(infoLabel);
    infoLayout->addWidget(info, 1);
    auto* need = new QLabel;
    need->setObjectName(QStringLiteral("Need"));
    need->setWordWrap(true);
    auto* infoLines = new QVBoxLayout;
    infoLines->addLayout(infoLayout);
    infoLines->addWidget(need);
    infoBox->setLayout(infoLines);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree, 1);
    layout->addWidget(infoBox);

    controls_ = {tree, editor, button, info, need, divider};
}

void LayoutPage::AddRows(int rowHeight)
{
    QStandardItem* group = nullptr;
    for (const RowDefinition& definition : Rows) {
        auto* item = new QStandardItem(QString::fromUtf16(definition.caption));
        item->setData(definition.kind, InspectorKindRole);
        item->setData(definition.setting, InspectorSettingRole);
        item->setSizeHint(QSize(0, rowHeight));
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setToolTip(LengthNeed(definition.setting));
        if (definition.isChild) {
            group->appendRow(item);
        } else {
            rows_->appendRow(item);
            group = item;
        }
    }
}

} // namespace tw
