#include "master/GuardedCommand.h"

#include "support/BrimloError.h"
#include "support/Prompt.h"

#include <exception>

namespace brimlo {

void ShowCurrentException() {
    try {
        throw;
    } catch (const BrimloError& error) {
        Prompt::current().error(error.text());
    } catch (const std::exception& error) {
        Prompt::current().error(error.what());
    } catch (...) {
        Prompt::current().error("Unknown error");
    }
}

bool RunGuarded(const std::function<void()>& command) {
    try {
        command();
        return true;
    } catch (...) {
        ShowCurrentException();
        return false;
    }
}

} // namespace brimlo
