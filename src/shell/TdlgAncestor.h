#pragma once

#include "shell/TOKBottomDlg.h"

namespace brimlo {

// The common ancestor of the program's own dialogs.
class TdlgAncestor : public TOKBottomDlg {
public:
    using TOKBottomDlg::TOKBottomDlg;
};

} // namespace brimlo
