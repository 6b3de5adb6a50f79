#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

namespace brimlo {

// The base of the program's modal dialogs: fixed size, centred on the
// screen, a framed panel above "OK" (the default button) and "Cancel"
// (which Esc presses).
class TOKBottomDlg : public QDialog {
public:
    TOKBottomDlg(QWidget* parent, int width, int height);

    QFrame* panel() const { return panel_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    // "OK": a derived dialog checks its entries before it closes.
    virtual void OKBtnClick() { accept(); }

private:
    QFrame* panel_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

} // namespace brimlo
