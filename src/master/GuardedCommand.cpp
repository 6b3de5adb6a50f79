#include "master/GuardedCommand.h"

#include "support/BrimloError.h"
#include "support/Prompt.h"

#include <exception>

namespace brimlo {

void ShowCurrentException(Prompt& prompt) {
    try {
        throw;
    } catch (const BrimloError& error) {
        prompt.error(error.text());
    } catch (const std::exception& error) {
        prompt.error(error.what());
    } catch (...) {
        prompt.error("Unknown error");
    }
}

bool RunGuarded(Prompt& prompt, const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (...) {
        ShowCurrentException(prompt);
        return false;
    }
}

} // namespace brimlo
