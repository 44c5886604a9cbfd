#pragma once

#include <QFrame>

#include <functional>

class QPainter;

namespace tw {

// A panel whose painting can be handed to a handler: with OwnerDraw set and a
// handler installed, the handler paints and the panel draws nothing of its
// own; otherwise it paints as an ordinary raised panel with its caption.
class TMyPanel : public QFrame {
    Q_OBJECT
public:
    using PaintHandler = std::function<void(TMyPanel& panel, QPainter& painter)>;

    explicit TMyPanel(QWidget* parent = nullptr);

    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool ownerDraw);
    void SetOnPaint(PaintHandler handler);
    QString Caption() const { return caption_; }
    void SetCaption(const QString& caption);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool ownerDraw_ = false;
    PaintHandler onPaint_;
    QString caption_;
};

} // namespace tw
