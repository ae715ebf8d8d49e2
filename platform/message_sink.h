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
    // A fixed message with what it concerns (for example the file and the system's cause): on a
    // second line unless the sink keeps its messages to one line.
    virtual void ShowWithDetail(std::string_view text, std::string_view detail);
};

// Shows `text` where there is a sink; a caller without one (a search the engine runs for its own
// ends, such as the advisor's) stays silent.
inline void Tell(MessageSink* sink, std::string_view text) {
    if (sink != nullptr) {
        sink->Show(text);
    }
}

class StderrSink final : public MessageSink {
public:
    void Show(std::string_view text) override;
    // One line, "message: detail", as command-line tools report a failure.
    void ShowWithDetail(std::string_view text, std::string_view detail) override;
};

class RecordingSink final : public MessageSink {
public:
    void Show(std::string_view text) override { messages.emplace_back(text); }
    // The fixed texts stay comparable on their own; the details are kept beside them.
    void ShowWithDetail(std::string_view text, std::string_view detail) override {
        Show(text);
        details.emplace_back(detail);
    }
    std::vector<std::string> messages;
    std::vector<std::string> details;
};

} // namespace platform
