#include "forms/admin/LoginChecks.h"

#include "ui/Dialogs.h"
#include "ui/Widgets.h"

#include <cctype>

namespace {

constexpr std::size_t kPasswordLimit = 12;

bool Refuse(TWinControl* owner, const std::string& text) {
    MessageBox(owner, text, "Warning", MB_OK | MB_ICONWARNING);
    return false;
}

} // namespace

bool ValidUserName(const std::string& name) {
    for (char c : name) {
        const bool ok = std::isalnum(static_cast<unsigned char>(c)) || c == '@' || c == '.' ||
                        c == '_' || c == '-';
        if (!ok) return false;
    }
    return true;
}

bool CheckLogin(TWinControl* owner, const LoginEdits& edits, const std::string& passwordRead,
                const LoginRules& rules) {
    if (edits.oldPassword->Text() != passwordRead)
        return Refuse(owner, "Please input the current password correctly!");
    if (edits.user->Text().size() > rules.userNameLimit) {
        Refuse(owner, rules.userNameTooLong);
        edits.user->SetText("");
        return false;
    }
    if (rules.nameCharactersChecked && !ValidUserName(edits.user->Text())) {
        Refuse(owner, "Invaild UserName!");
        edits.user->SetText("");
        edits.user->SetFocus();
        return false;
    }
    if (edits.newPassword->Text().size() > kPasswordLimit) {
        Refuse(owner, "Please limit password to 12 characters!");
        edits.newPassword->SetText("");
        return false;
    }
    if (edits.confirm->Text() != edits.newPassword->Text())
        return Refuse(owner, "Please input the confirm new password correctly!");
    return true;
}
