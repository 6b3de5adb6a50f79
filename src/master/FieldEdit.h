#pragma once

#include "support/FieldBinding.h"
#include "support/KeyPolicy.h"

#include <QLineEdit>
#include <functional>
#include <string>

namespace brimlo {

class Dataset;
class Prompt;

// An edit bound to one field of a dataset. It shows the field anew whenever
// the record, its state or the field changes, unless the scaler has typed
// into it; typed text is written to the field when the edit is left or the
// record is about to be posted. A value the field's reaction refused stays
// in the edit and is written again on the next attempt, so the record
// cannot be posted until it passes or the edit is cancelled. Bound with
// bindShowing (the maintenance window), it only shows the field: read-only,
// numbers in a display picture ("#0.000"), the text from its start.
class FieldEdit : public QLineEdit {
public:
    // A value the field refuses is told on prompt.
    FieldEdit(QWidget* parent, std::string field, Prompt& prompt, int maxLength = 0);

    // assignmentsWin: a value assigned from elsewhere replaces text typed
    // but not yet written (see FieldBinding).
    void bind(Dataset& dataset, bool assignmentsWin = false);
    // picture: the display picture of a number field; empty for text.
    void bindShowing(Dataset& dataset, std::string picture = {});
    void unbind() { binding_.unbind(); }
    const std::string& fieldName() const { return binding_.fieldName(); }

    // Capitals and moving on when full, as the window sets them.
    KeyPolicy keys;
    // Runs after every change the scaler typed.
    std::function<void()> onTyped;

    // Writes the typed (or refused) text to the field; raises what the
    // field's reaction raised.
    void commit();
    bool pending() const { return binding_.pending(); }
    void showField();
    void forget() { binding_.forget(); }
    // False once the dataset is gone.
    bool alive() const { return binding_.alive(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    Prompt& prompt() const { return prompt_; }

private:
    void typed();
    QString shownText() const;

    FieldBinding binding_;
    Prompt& prompt_;
    bool showsOnly_ = false;
    std::string picture_;
};

} // namespace brimlo
