#pragma once

namespace brimlo {

// Checks run by the log field reactions: they return when the value passes
// and raise BrimloError with the message otherwise. Zero passes every range
// rule, so a log can be keyed one field at a time.
void CheckTopDiameter(int top, int butt);
void CheckLogLength(int length);
void CheckButtDiameter(int butt, int top);

} // namespace brimlo
