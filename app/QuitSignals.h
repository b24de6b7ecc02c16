#pragma once

// Ctrl+C in the terminal, a plain `kill` and the end of the session end the program through
// its exit path, as "/Kill" does, so that nothing it keeps at exit is lost. The signals are
// turned into a call on the window's thread.

#include <QObject>
#include <QSocketNotifier>
#include <functional>

#include "platform/UniqueFd.h"

namespace zarvin {

class QuitSignals : public QObject {
    Q_OBJECT

public:
    // One per process: SIGINT, SIGTERM and SIGHUP run `onSignal` on this object's thread until
    // it goes, then get their default action back.
    explicit QuitSignals(std::function<void()> onSignal, QObject* parent = nullptr);
    ~QuitSignals() override;

private:
    void OnSignal();

    UniqueFd readEnd_;
    std::function<void()> onSignal_;
    QSocketNotifier notifier_;
};

}  // namespace zarvin
