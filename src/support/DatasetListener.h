#pragma once

#include "support/Dataset.h"

#include <memory>
#include <utility>

namespace brimlo {

// A window's listener on a dataset that outlives neither. Windows may go
// before the table they show (closed by the user) or after it (the main
// window lets go of its tables before its child windows are deleted): the
// token inside the registered listener dies with the dataset's copy of it,
// so the owner knows whether there is still a dataset to leave.
class DatasetListener {
public:
    DatasetListener() = default;
    ~DatasetListener() { detach(); }
    DatasetListener(const DatasetListener&) = delete;
    DatasetListener& operator=(const DatasetListener&) = delete;

    void attach(Dataset& dataset, Dataset::Listener listener) {
        detach();
        auto token = std::make_shared<char>();
        token_ = token;
        dataset_ = &dataset;
        id_ = dataset.addListener([token, listener = std::move(listener)](
                                      DataEvent event, int field) { listener(event, field); });
    }

    void detach() {
        if (alive())
            dataset_->removeListener(id_);
        dataset_ = nullptr;
        token_.reset();
    }

    // False once the dataset is gone.
    bool alive() const { return dataset_ != nullptr && !token_.expired(); }

private:
    Dataset* dataset_ = nullptr;
    int id_ = 0;
    std::weak_ptr<char> token_;
};

} // namespace brimlo
