#pragma once

#include "support/DatasetListener.h"

#include <QLineEdit>
#include <string>

namespace brimlo {

// A read-only edit showing one field of the master table's current record,
// numbers in their display picture ("#0.000"); an empty field shows empty.
class MasterFieldEdit : public QLineEdit {
public:
    MasterFieldEdit(Dataset& master, int field, std::string picture = {},
                    QWidget* parent = nullptr);
    ~MasterFieldEdit() override;
    MasterFieldEdit(const MasterFieldEdit&) = delete;
    MasterFieldEdit& operator=(const MasterFieldEdit&) = delete;

    int field() const { return field_; }
    void showField();

private:
    Dataset& master_;
    int field_;
    std::string picture_;
    DatasetListener listener_;
};

} // namespace brimlo
