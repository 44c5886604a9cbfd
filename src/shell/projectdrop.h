#pragma once

#include <QObject>
#include <QString>

class QMimeData;

namespace tw {

class Tmainform;

// The project file among dropped data: the first local file that is a
// .twf or .twb file or the menu file of an older project (one with a .tmf
// file of its name beside it); empty when there is none.
QString DroppedProjectFile(const QMimeData& data);

// Lets a project file be dropped anywhere on the window, its controls
// included; the drop opens it as "Öffnen" does.
class ProjectDrop : public QObject {
    Q_OBJECT
public:
    explicit ProjectDrop(Tmainform& window);
    ~ProjectDrop() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Tmainform& window_;
};

} // namespace tw
