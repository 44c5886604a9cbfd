#pragma once

#include "platform/messages.h"

class QWidget;

namespace tw {

class Dialogs;

// Shows what loading, saving, generating or importing reports as message
// boxes over owner, one per report.
class MessageBoxReporter : public MessageSink {
public:
    MessageBoxReporter(Dialogs& dialogs, QWidget* owner) : dialogs_(dialogs), owner_(owner) {}
    void ShowMessage(const std::string& text) override;

private:
    Dialogs& dialogs_;
    QWidget* owner_;
};

} // namespace tw
