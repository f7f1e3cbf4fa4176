#pragma once
// The class library's exception: a message text and a help context. The SNMP
// access layer raises its failures with the negative error code as the help
// context, and every event dispatch of the GUI layer catches and shows them.
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
    explicit Exception(std::string message, int helpContext = 0)
        : message_(std::move(message)), helpContext_(helpContext) {}

    const std::string& Message() const noexcept { return message_; }
    void SetMessage(std::string m) { message_ = std::move(m); }
    int HelpContext() const noexcept { return helpContext_; }
    void SetHelpContext(int h) noexcept { helpContext_ = h; }

    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    int helpContext_;
};

// The text of any exception, the class library's or another.
inline std::string MessageOf(const std::exception& e) {
    if (auto* ours = dynamic_cast<const Exception*>(&e)) return ours->Message();
    return e.what();
}

// A text that is no number, or a date-time text that does not parse.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};
