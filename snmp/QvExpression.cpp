#include "snmp/QvExpression.h"

#include <cmath>

#include "snmp/QvErrors.h"
#include "base/SysUtils.h"

namespace {

constexpr size_t npos = std::string::npos;

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// Position of the ")" that closes the "(" at open, npos when there is none.
size_t Partner(const std::string& text, size_t open) {
    int depth = 1;
    for (size_t i = open + 1; i < text.size(); ++i) {
        if (text[i] == '(')
            ++depth;
        else if (text[i] == ')' && --depth == 0)
            return i;
    }
    return npos;
}

// An operand that is not evaluated further: the keyword NOW or a leading number.
double PlainOperand(const std::string& text) {
    if (SameText(Trim(text), "NOW")) return Now();
    return Finite(LeadingFloat(text));
}

} // namespace

double EvaluateNumericExpression(const std::string& text) {
    size_t open = text.find('(');
    if (open != npos) {
        size_t close = Partner(text, open);
        if (close != npos) {
            double inner = EvaluateNumericExpression(text.substr(open + 1, close - open - 1));
            return EvaluateNumericExpression(text.substr(0, open) + FloatToStr(inner) +
                                             text.substr(close + 1));
        }
    }
    size_t p;
    if ((p = text.find('+')) != npos)
        return Finite(EvaluateNumericExpression(text.substr(0, p)) +
                      EvaluateNumericExpression(text.substr(p + 1)));
    if ((p = text.find('-')) != npos)
        return Finite(EvaluateNumericExpression(text.substr(0, p)) -
                      EvaluateNumericExpression(text.substr(p + 1)));
    if ((p = text.find('*')) != npos)
        return Finite(PlainOperand(text.substr(0, p)) *
                      EvaluateNumericExpression(text.substr(p + 1)));
    if ((p = text.find('/')) != npos) {
        double divisor = EvaluateNumericExpression(text.substr(p + 1));
        if (divisor == 0) return 0;
        return Finite(PlainOperand(text.substr(0, p)) / divisor);
    }
    return PlainOperand(text);
}

bool EvaluateLogicExpression(const std::string& text) {
    // Only the first quoted span shields operators.
    size_t q1 = text.find('"');
    size_t q2 = q1 == npos ? npos : text.find('"', q1 + 1);
    auto outside = [&](size_t pos) { return pos != npos && !(q2 != npos && pos > q1 && pos < q2); };
    size_t open = text.find('(');
    size_t close = open == npos ? npos : Partner(text, open);
    if (close != npos && outside(open) && outside(close)) {
        bool inner = EvaluateLogicExpression(text.substr(open + 1, close - open - 1));
        return EvaluateLogicExpression(text.substr(0, open) + (inner ? "true" : "false") +
                                       text.substr(close + 1));
    }
    size_t p = text.find('|');
    if (outside(p))
        return EvaluateLogicExpression(text.substr(0, p)) ||
               EvaluateLogicExpression(text.substr(p + 1));
    p = text.find('&');
    if (outside(p))
        return EvaluateLogicExpression(text.substr(0, p)) &&
               EvaluateLogicExpression(text.substr(p + 1));
    p = text.find('!');
    if (outside(p)) return !EvaluateLogicExpression(text.substr(1));
    return EvaluateComparison(text);
}

bool EvaluateComparison(const std::string& text) {
    static const char* const kOperators[] = {"<>", ">=", "<=", ">", "<", "=", nullptr};
    std::string left, right;
    int op = SplitAtFirstOperator(kOperators, text, left, right);
    if (op < 0) {
        std::string word = Trim(text);
        if (SameText(word, "true")) return true;
        if (SameText(word, "false")) return false;
        RaiseQvCommonError(QVCOM_BAD_LOGIC_OPERAND);
    }
    auto side = [](const std::string& s) {
        std::string v = StripQuotes(Trim(s));
        return SameText(v, "NOW") ? FloatToStr(Now()) : v;
    };
    int c = CompareStr(side(left), side(right));
    switch (op) {
    case 0:
        return c != 0;
    case 1:
        return c >= 0;
    case 2:
        return c <= 0;
    case 3:
        return c > 0;
    case 4:
        return c < 0;
    default:
        return c == 0;
    }
}

std::string StripQuotes(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    return text;
}

int SplitAtFirstOperator(const char* const* operators, const std::string& text, std::string& left,
                         std::string& right) {
    for (int i = 0; operators && operators[i]; ++i) {
        size_t p = text.find(operators[i]);
        if (p != npos) {
            left = text.substr(0, p);
            right = text.substr(p + std::char_traits<char>::length(operators[i]));
            return i;
        }
    }
    return -1;
}

int SpanOfChars(const std::string& text, int start, const std::string& charSet) {
    if (start < 1 || static_cast<size_t>(start) > text.size()) return 0;
    size_t i = static_cast<size_t>(start) - 1;
    if (charSet.find(text[i]) == npos) return 0;
    while (i + 1 < text.size() && charSet.find(text[i + 1]) != npos)
        ++i;
    return static_cast<int>(i) + 1;
}

std::string StringReplaceAll(const std::string& text, const std::string& from,
                             const std::string& to) {
    if (from.empty()) return text;
    std::string out;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(from, pos)) != npos; pos = hit + from.size())
        out.append(text, pos, hit - pos).append(to);
    out.append(text, pos, npos);
    return out;
}
