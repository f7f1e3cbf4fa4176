#pragma once
// Numeric and logic evaluators for the get/set expressions and row
// conditions of variables (references already replaced by values), and the
// placeholder filler of the message texts.
//
// Both evaluators split at the FIRST occurrence of an operator and evaluate
// both sides recursively, so "-" and "/" group to the right (10-2-3 is 11,
// 8/4/2 is 4) and the left operand of "*" and "/" is read as a plain number
// (8/2*3 is 24). Comparisons compare texts, not numbers (10>9 is false).
//
// Arithmetic never leaves the finite doubles: a division by zero gives 0, and
// so does any operand or result that overflows a double.
#include <string>

double EvaluateNumericExpression(const std::string& text);
// Raises "(QvCommon) Bad logic operand!" (code -1) for an operand that is
// neither a comparison nor "true"/"false".
bool EvaluateLogicExpression(const std::string& text);
bool EvaluateComparison(const std::string& text);

// The text without one enclosing pair of double quotes.
std::string StripQuotes(const std::string& text);
// Tries the null-terminated operator list in order; for the first operator
// found anywhere, left/right get the text around its first occurrence and
// its index is returned; -1 when none occurs.
int SplitAtFirstOperator(const char* const* operators, const std::string& text, std::string& left,
                         std::string& right);
// 1-based: the last position, from start on, of an unbroken run of characters
// of charSet; 0 when the character at start is not in it or start is outside.
int SpanOfChars(const std::string& text, int start, const std::string& charSet);
// Every occurrence of from, left to right, replaced by to; the replacement is
// not scanned again. An empty from changes nothing.
std::string StringReplaceAll(const std::string& text, const std::string& from,
                             const std::string& to);
