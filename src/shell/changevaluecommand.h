#pragma once

#include <QUndoCommand>

#include <functional>
#include <utility>

namespace tw {

// One value of the document changed from an old to a new state: a caption,
// a link, a setting, a variable, the variable list. Changes of the same value
// that follow each other with the same merge id become one step, so that
// typing into a field is undone at once.
template <typename Value>
class ChangeValueCommand : public QUndoCommand {
public:
    using Setter = std::function<void(const Value&)>;

    ChangeValueCommand(const QString& text, Setter set, Value oldValue, Value newValue, int mergeId = -1)
        : QUndoCommand(text), set_(std::move(set)), old_(std::move(oldValue)), new_(std::move(newValue)),
          mergeId_(mergeId)
    {
    }

    void undo() override { set_(old_); }
    void redo() override { set_(new_); }
    int id() const override { return mergeId_; }
    bool mergeWith(const QUndoCommand* other) override
    {
        new_ = static_cast<const ChangeValueCommand*>(other)->new_;
        // Typed and taken back: no step remains, and no modified mark.
        setObsolete(new_ == old_);
        return true;
    }

private:
    Setter set_;
    Value old_;
    Value new_;
    int mergeId_;
};

} // namespace tw
