#include "shell/windowkeys.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QShortcut>
#include <QTabWidget>

#include <functional>
#include <vector>

namespace tw {
namespace {

// A page and the page controls that must show it, outermost first, each
// with the child of it that leads to the page.
struct PagePlace {
    QWidget* page;
    std::vector<std::pair<QTabWidget*, QWidget*>> path;
};

void CollectPages(QTabWidget* tabs, std::vector<std::pair<QTabWidget*, QWidget*>>& path, std::vector<PagePlace>& places)
{
    for (int i = 0; i < tabs->count(); ++i) {
        QWidget* child = tabs->widget(i);
        path.emplace_back(tabs, child);
        if (auto* inner = qobject_cast<QTabWidget*>(child))
            CollectPages(inner, path, places);
        else
            places.push_back({child, path});
        path.pop_back();
    }
}

QWidget* ShownPage(QTabWidget* tabs)
{
    QWidget* page = tabs->currentWidget();
    while (auto* inner = qobject_cast<QTabWidget*>(page))
        page = inner->currentWidget();
    return page;
}

bool TakesTabFocus(const QWidget* control)
{
    return control != nullptr && control->isVisible() && control->isEnabled() &&
           (control->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

void AddKeys(QWidget* window, const QList<QKeySequence>& keys, std::function<void()> action)
{
    auto* shortcut = new QShortcut(window); // the window owns it
    shortcut->setKeys(keys);
    QObject::connect(shortcut, &QShortcut::activated, window, std::move(action));
}

// A key as the German keyboard labels it.
QString KeyText(const QKeySequence& key)
{
    static const QHash<QString, QString> german{
        {QStringLiteral("Ctrl"), QStringLiteral("Strg")},     {QStringLiteral("Shift"), QStringLiteral("Umschalt")},
        {QStringLiteral("Ins"), QStringLiteral("Einfg")},     {QStringLiteral("Del"), QStringLiteral("Entf")},
        {QStringLiteral("PgUp"), QStringLiteral("Bild auf")}, {QStringLiteral("PgDown"), QStringLiteral("Bild ab")},
        {QStringLiteral("Return"), QStringLiteral("Eingabe")}};
    QStringList names = key.toString(QKeySequence::PortableText).split(u'+');
    for (QString& name : names)
        name = german.value(name, name);
    return names.join(u'+');
}

} // namespace

PageKeys::PageKeys(QWidget* window, QTabWidget* pages) : QObject(window), pages_(pages)
{
    AddKeys(window, {QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
            [this] { step(1); });
    // Shift+Tab arrives as Backtab, which some platforms match as Shift+Tab
    // and others as itself.
    AddKeys(window,
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
             QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
            [this] { step(-1); });
}

void PageKeys::step(int steps)
{
    std::vector<std::pair<QTabWidget*, QWidget*>> path;
    std::vector<PagePlace> places;
    CollectPages(pages_, path, places);
    if (places.empty())
        return;
    const auto count = static_cast<int>(places.size());
    const QWidget* shown = ShownPage(pages_);
    int index = 0;
    while (index < count && places[static_cast<std::size_t>(index)].page != shown)
        ++index;
    const PagePlace& next = places[static_cast<std::size_t>(((index + steps) % count + count) % count)];
    // The focus leaves the page before it is hidden, so that it does not
    // pass through the next controls of the window on its way; it comes
    // back to the control it left.
    if (QWidget* focused = QApplication::focusWidget(); focused != nullptr && pages_->isAncestorOf(focused)) {
        if (index < count)
            leftControls_.insert(places[static_cast<std::size_t>(index)].page, focused);
        focused->clearFocus();
    }
    // Back to where the user was on that page, or to its first control.
    QWidget* focus = next.page->focusWidget();
    if (focus == nullptr)
        focus = leftControls_.value(next.page);
    for (auto [tabs, child] : next.path)
        tabs->setCurrentWidget(child);
    if (!TakesTabFocus(focus))
        focus = firstControls_.value(next.page, next.page);
    focus->setFocus(Qt::TabFocusReason);
}

QString HintWithKey(const QString& hint, const QKeySequence& key)
{
    return key.isEmpty() ? hint : hint + QStringLiteral(" (") + KeyText(key) + QLatin1Char(')');
}

void AddContextMenuKey(QWidget* window)
{
    AddKeys(window, {QKeySequence(Qt::SHIFT | Qt::Key_F10)}, [] {
        QWidget* focused = QApplication::focusWidget();
        if (focused == nullptr || !focused->isEnabled())
            return;
        // Where the menu key opens it: at the current item or the text cursor.
        const QPoint point = focused->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, point, focused->mapToGlobal(point));
        QApplication::sendEvent(focused, &event);
    });
}

} // namespace tw
