#pragma once

#include <QWidget>

namespace brimlo {

// "Keyboard Shortcuts": the keys of the data entry window. Fixed texts only.
class TfrmShortcuts : public QWidget {
public:
    explicit TfrmShortcuts(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

} // namespace brimlo
