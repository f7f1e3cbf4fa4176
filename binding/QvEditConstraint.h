#pragma once
// Input constraints of edit boxes: a short text such as "%u{n1x65535}" bound
// to an edit. While the user types, characters the type does not allow are
// removed with a beep; when the focus leaves the edit, length, count and range
// limits are checked, a broken one shows a "(QvCommon) " message, puts the
// last good text back and keeps the focus in the edit.
//
// Grammar: "%" type [delimiter] ["{" items "}"], type one of f h i n s u (n
// takes a delimiter character), items "n<min>" "x<max>" "l<len>[a][f][n]"
// (auto-advance, exact length, value required) "w<width>" "e<exit char>".
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ui/Component.h"

class TEdit;
class TWinControl;

// A modal box with an OK button, owned by owner's window and captioned with
// the file name of the running executable.
int QvShowOwnedMessage(TWinControl* owner, const std::string& text);

// Flags of a binding.
constexpr uint16_t QV_EC_AUTO_ADVANCE = 1;
constexpr uint16_t QV_EC_EXACT_LENGTH = 2;
constexpr uint16_t QV_EC_REQUIRED = 4;

// The binding of one edit box.
struct _EditConstraint_s {
    TEdit* edit = nullptr;
    char type = 's';
    char delimiter = 0;
    double minimum = 0;
    double maximum = 0;
    int length = 0;
    uint16_t flags = 0;
    char exitChar = 0;
    std::string savedText;
    TNotifyEvent previousChange;
    TNotifyEvent previousExit;
    int width = 0; // from a "w" item; 0 leaves the edit's width alone
};

class QvEditConstraint {
public:
    QvEditConstraint(TWinControl* owner, uint8_t storeFlag);
    ~QvEditConstraint();
    QvEditConstraint(const QvEditConstraint&) = delete;
    QvEditConstraint& operator=(const QvEditConstraint&) = delete;

    // Binds a constraint to an edit (an edit already bound is bound anew).
    // Raises "(QvCommon) Bad format specifier of edit's constraint!" (-2).
    void CheckEdit(TEdit* edit, const std::string& constraint);
    // One constraint per "%" of the format (a "%" in the first position does
    // not split), the k-th for the k-th edit. A "%" without a type letter
    // takes no edit, and text after a constraint is a separator.
    void CheckAll(const std::string& format, const std::vector<TEdit*>& edits);
    // Gives the edit its own handlers back and forgets its binding.
    void Remove(TEdit* edit);
    void SetOwner(TWinControl* owner) { owner_ = owner; }
    TWinControl* Owner() const { return owner_; }

    // Installed as the edit's change and exit events.
    void NormalizeEdit(TObject* sender);
    void ValidateEdit(TObject* sender);
    // The exit check run on demand (an Apply pressed while the edit still
    // has the focus): false after showing the message, with the last good
    // text back and the focus in the edit. The form's own exit handler is
    // not run.
    bool CheckNow(TEdit* edit);
    // The edit's current text becomes the text restored after a failure.
    void StoreText(TEdit* edit);

    // The binding of an edit, or null.
    const _EditConstraint_s* Find(const TEdit* edit) const;
    int Count() const { return static_cast<int>(bindings_.size()); }

    // Parses a constraint text into a binding record (edit and handlers left
    // as they are). Raises -2 on a bad text.
    static void Parse(const std::string& constraint, _EditConstraint_s& out);
    // Position of the first character the type refuses at that place, -1 when
    // every character is allowed.
    static int FirstRefused(const _EditConstraint_s& c, const std::string& text);
    // The message for a value that fails the exit check ("" when it passes).
    static std::string ExitMessage(const _EditConstraint_s& c, const std::string& text);

private:
    _EditConstraint_s* FindMutable(const TObject* edit);
    void PostNextControl();

    TWinControl* owner_;
    uint8_t storeFlag_;
    std::vector<_EditConstraint_s*> bindings_;
    // Shared with the handlers installed on edits; cleared by the destructor.
    std::shared_ptr<QvEditConstraint*> self_;
};
