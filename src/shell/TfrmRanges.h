#pragma once

#include <QWidget>

namespace brimlo {

// "Codes, Values, and Ranges": the code lists, allowed cull methods and
// valid ranges for the scaler to look up. Fixed texts only.
class TfrmRanges : public QWidget {
public:
    explicit TfrmRanges(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

} // namespace brimlo
