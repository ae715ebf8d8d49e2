#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Where a fixed message to the user goes: a message box in the window, stderr in the CLI, a
// list in tests. Texts are UTF-8.
class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void Show(std::string_view text) = 0;
};

class StderrSink final : public MessageSink {
public:
    void Show(std::string_view text) override;
};

class RecordingSink final : public MessageSink {
public:
    void Show(std::string_view text) override { messages.emplace_back(text); }
    std::vector<std::string> messages;
};

} // namespace platform
