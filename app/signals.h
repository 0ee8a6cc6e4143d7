#pragma once

#include <functional>

namespace zelk {

// Runs `onSignal` on the UI thread when the process is asked to end
// (SIGTERM, SIGINT, SIGHUP), so that it goes the way of a closed window.
void closeOnTerminationSignals(std::function<void()> onSignal);

} // namespace zelk
