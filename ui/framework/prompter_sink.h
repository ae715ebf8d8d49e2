#pragma once

#include "platform/message_sink.h"
#include "ui/framework/prompter.h"

namespace ui {

// Lets the core layers show their fixed messages as message boxes.
class PrompterSink final : public platform::MessageSink {
public:
    explicit PrompterSink(Prompter& prompter) : prompter_(prompter) {}
    void Show(std::string_view text) override { prompter_.MessageBox(text, MessageButtons::kOk); }

private:
    Prompter& prompter_;
};

} // namespace ui
