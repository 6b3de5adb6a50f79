#pragma once

#include "support/BrimloError.h"

#include <string>

namespace brimlo::testing {

// The text of the error the work raises, or "no error" when it raises none.
template <typename Work> std::string ErrorText(Work&& work) {
    try {
        work();
    } catch (const BrimloError& e) {
        return e.text();
    }
    return "no error";
}

} // namespace brimlo::testing
