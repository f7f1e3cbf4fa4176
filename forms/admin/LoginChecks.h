#pragma once
// The checks both administrator forms make on a new login before anything
// is written: the old password against the one read, the name's length (and
// on the newer firmware its characters), the new password's length and its
// confirmation.
#include <cstddef>
#include <string>

class TEdit;
class TWinControl;

struct LoginEdits {
    TEdit* user = nullptr;
    TEdit* oldPassword = nullptr;
    TEdit* newPassword = nullptr;
    TEdit* confirm = nullptr;
};

struct LoginRules {
    std::size_t userNameLimit = 0;
    const char* userNameTooLong = ""; // the message for a longer name
    bool nameCharactersChecked = false;
};

// Letters, digits, "@", ".", "_" and "-"; an empty name is valid.
bool ValidUserName(const std::string& name);

// The checks in order. The first that fails shows its message in a box
// captioned "Warning" owned by owner, empties or focuses its edit as the
// check says, and gives false.
bool CheckLogin(TWinControl* owner, const LoginEdits& edits, const std::string& passwordRead,
                const LoginRules& rules);
