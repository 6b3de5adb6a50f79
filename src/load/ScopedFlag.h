#pragma once

namespace brimlo {

// Holds a guard flag at a value for one reaction and sets it to the other
// value when the reaction ends, also when a check inside it raises, so a
// refused entry never leaves the window's reactions switched off.
class ScopedFlag {
public:
    ScopedFlag(bool& flag, bool during) : flag_(flag), after_(!during) { flag_ = during; }
    ~ScopedFlag() { flag_ = after_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

private:
    bool& flag_;
    bool after_;
};

} // namespace brimlo
