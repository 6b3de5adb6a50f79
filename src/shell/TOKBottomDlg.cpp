#include "shell/TOKBottomDlg.h"

#include <QFrame>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>

namespace brimlo {

TOKBottomDlg::TOKBottomDlg(QWidget* parent, int width, int height) : QDialog(parent) {
    setFixedSize(width, height);
    panel_ = new QFrame(this);
    panel_->setFrameShape(QFrame::StyledPanel);
    panel_->setGeometry(8, 8, width - 16, height - 50);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    const int buttonTop = height - 35;
    ok_->setGeometry(width - 166, buttonTop, 75, 25);
    cancel_->setGeometry(width - 83, buttonTop, 75, 25);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(width / 2, height / 2));
    }
}

} // namespace brimlo
