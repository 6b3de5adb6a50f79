#pragma once

#include "shell/TdlgAncestor.h"

#include <cstdint>

class QLineEdit;

namespace brimlo {

class Prompt;

// "Go To Log #": asks for a log number between 1 and the number of logs.
class TdlgGoToLog : public TdlgAncestor {
public:
    TdlgGoToLog(QWidget* owner, int32_t logCount, Prompt& prompt);

    // The number accepted, -1 until OK accepted one.
    int32_t logNumber() const { return number_; }
    QLineEdit* edit() const { return edit_; }

protected:
    void OKBtnClick() override;
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* edit_ = nullptr;
    int32_t logCount_ = 0;
    Prompt& prompt_;
    int32_t number_ = -1;
};

} // namespace brimlo
