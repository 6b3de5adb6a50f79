// Any bytes given to the load file reader end in a load, a refusal box or
// a BrimloError: never a crash, a hang or a read out of bounds.
#include "load/LoadFileReader.h"
#include "support/BrimloError.h"
#include "support/Prompt.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Answers every question both ways over the run, so both branches of the
// Alberta conversion get explored.
class AlternatingPrompt : public brimlo::Prompt {
public:
    brimlo::PromptAnswer show(const std::string&, const std::string&, brimlo::PromptIcon,
                              brimlo::PromptButtons buttons) override {
        flip_ = !flip_;
        if (buttons == brimlo::PromptButtons::Ok)
            return brimlo::PromptAnswer::Ok;
        return flip_ ? brimlo::PromptAnswer::Yes : brimlo::PromptAnswer::No;
    }

private:
    bool flip_ = false;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static AlternatingPrompt prompt;
    try {
        brimlo::ReadLoadText(std::string(reinterpret_cast<const char*>(data), size), "fuzz.txt",
                             prompt);
    } catch (const brimlo::BrimloError&) {
    }
    return 0;
}
