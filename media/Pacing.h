#pragma once
// When the pictures between two game frames go up: at the display's rate, and never so
// near a game frame that showing one would make the frame late (a late frame is not made
// up for, so lateness would slow the game down).
namespace zorbo {

class PicturePacer {
public:
    explicit PicturePacer(double refreshMs = 1000.0 / 60) : refresh_(refreshMs) {}
    void SetRefresh(double refreshMs) { refresh_ = refreshMs; }

    // When the next picture is due (milliseconds, the clock Shown was given).
    double Due() const { return due_; }
    // When to wake for it: a wait may end a little late, so it ends a little early.
    double WakeAt() const { return due_ - Slack; }
    // Whether a picture goes up now, with the next game frame due at frameDue.
    bool ShowNow(double now, double frameDue) const { return ShowNow(now) && frameDue - now > cost_ + 1.0; }
    // Whether a picture goes up now, with no game frame waiting (a pause in the game).
    bool ShowNow(double now) const { return now + Slack >= due_; }

    // A picture went up from start to end. Pictures keep to a grid one refresh apart (one
    // held back by a game frame goes up after it, and the next keeps its time). Where the
    // display waits for its refresh, the picture ends at the refresh, and the grid moves
    // so that the next one starts just early enough to meet the next refresh.
    void Shown(double start, double end)
    {
        const double took = end - start;
        cost_ = cost_ * 0.8 + took * 0.2;
        if (took > cost_)
            cost_ = took;
        waited_ = took > work_ + 1.0;
        work_ = took < work_ ? took : work_ + 0.05;
        due_ = waited_ ? end + refresh_ - work_ - 1.0 : due_ + refresh_;
        // Far behind (a stall, a pause): start again from now rather than catch up.
        if (due_ < end - refresh_)
            due_ = end + refresh_ - work_;
    }
    // Whether the last picture waited for the display's refresh.
    bool Waited() const { return waited_; }

private:
    static constexpr double Slack = 1.0;
    double refresh_;
    double due_ = 0.0;
    double cost_ = 2.0; // what a picture costs, on the high side
    double work_ = 1.0; // what it costs without a wait for the refresh
    bool waited_ = false;
};

} // namespace zorbo
