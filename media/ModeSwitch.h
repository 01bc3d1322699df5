#pragma once
// Switching between the window and full screen, one switch at a time. A switch is a
// request the desktop answers later (a window manager resizes the window in its own
// time); a second request sent before the answer confuses the manager, and each one then
// keeps the game waiting inside SDL. So a press only turns the mode wanted around, and a
// switch starts once the last one is answered: a storm of presses costs a few switches,
// never one per press, and the window keeps serving its other events meanwhile.
#include <cstdint>

namespace zorbo {

class ModeSwitch {
public:
    // How long a switch may go unanswered before the next may start: a desktop without a
    // window manager, or one that ignores the request, never answers.
    static constexpr uint32_t AnswerWaitMs = 400;

    explicit ModeSwitch(bool fullScreen = false) : shown_(fullScreen), wanted_(fullScreen) {}

    // F11 or Alt+Enter: the mode wanted turns around, however many presses came before.
    void Press() { wanted_ = !wanted_; }

    // True when a switch should start now: the mode wanted is not the one shown, and the
    // switch before (if any) was answered or has waited long enough.
    bool Due(uint32_t now) const
    {
        return wanted_ != shown_ && (!switching_ || now - began_ >= AnswerWaitMs);
    }

    // The switch to the mode wanted starts; returns that mode (true = full screen).
    bool Begin(uint32_t now)
    {
        shown_ = wanted_;
        switching_ = true;
        began_ = now;
        return shown_;
    }

    // The desktop answered the switch under way.
    void Answered() { switching_ = false; }

    bool FullScreen() const { return shown_; }
    bool Switching() const { return switching_; }

private:
    bool shown_;
    bool wanted_;
    bool switching_ = false;
    uint32_t began_ = 0;
};

} // namespace zorbo
