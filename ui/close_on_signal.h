#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <memory>

class QWidget;

// While it lives, SIGTERM, SIGINT and SIGHUP close `window` as its close box does, so that the
// end of a desktop session or a plain `kill` keeps what the window writes when it closes. Only
// one may exist at a time; the default handlers come back when it is destroyed.
class CloseOnSignal : public QObject {
public:
    explicit CloseOnSignal(QWidget& window);
    ~CloseOnSignal() override;
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    void OnSignalArrived();

    QWidget& window_;
    std::unique_ptr<QSocketNotifier> notifier_;
};
