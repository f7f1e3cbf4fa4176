#pragma once
// Text, number and date-time helpers with the class library's behaviour.
// Texts are 8-bit strings; positions given to and returned by these helpers
// are 1-based where the class library's were.
#include <cstdint>
#include <string>
#include <vector>

// --- numbers ---------------------------------------------------------------
std::string IntToStr(long long value);
std::string UIntToStr(unsigned long long value);
std::string IntToHex(unsigned long long value, int digits);
// Whole text as a decimal (or "$"/"0x" hexadecimal) integer, blanks around it
// allowed; anything else raises EConvertError.
long long StrToInt(const std::string& text);
long long StrToIntDef(const std::string& text, long long defaultValue);
// Plain decimal text, a sign and blanks before it allowed, nothing after the
// digits (no hexadecimal): false for anything else, value untouched. For the
// device's numbers and the keys and switches the program reads.
bool ParseDecimal(const std::string& text, long long& value);
long long DecimalOr(const std::string& text, long long fallback);
// The leading integer of a text ("12ab" -> 12, "ab" -> 0); reads as far as it can.
long long LeadingInt(const std::string& text);
// The leading floating-point number of a text, 0 when there is none.
double LeadingFloat(const std::string& text, bool* found = nullptr);
double StrToFloat(const std::string& text); // raises EConvertError
// General form with up to 15 significant digits: "1", "0.5", "1E20", "-2.5E-7".
std::string FloatToStr(double value);

// --- texts -------------------------------------------------------------------
std::string Trim(const std::string& text); // removes characters <= ' ' at both ends
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
std::string UpperCase(const std::string& text); // ASCII letters only
std::string LowerCase(const std::string& text);
bool SameText(const std::string& a, const std::string& b);   // equal without case
int CompareText(const std::string& a, const std::string& b); // <0, 0, >0 without case
int CompareStr(const std::string& a, const std::string& b);  // <0, 0, >0 with case
// Characters start..start+count-1 (1-based); out-of-range parts are dropped.
std::string SubStr(const std::string& text, int start, int count);
// 1-based position of the first occurrence of sub in text, 0 when absent.
int Pos(const std::string& sub, const std::string& text);
std::string StringOfChar(char c, int count);
std::vector<std::string> SplitString(const std::string& text, char delimiter);

// --- file names (both "\" and "/" count as separators) ------------------------
std::string ExtractFileName(const std::string& path);
std::string ExtractFilePath(const std::string& path); // with its final separator
std::string ExtractFileExt(const std::string& path);  // with the dot

// --- date and time -------------------------------------------------------------
// A date-time is a day count since 1899-12-30 with the time of day as fraction.
using TDateTime = double;
TDateTime Now(); // local time
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second,
                         int msec = 0);
void DecodeDateTime(TDateTime value, int& year, int& month, int& day, int& hour, int& minute,
                    int& second, int& msec);
// Format codes: yyyy yy m mm d dd h hh n nn s ss zzz, am/pm AM/PM a/p ampm (the
// C locale's AM/PM), '...' and "..." literal text. With an am/pm code the hour
// is on the 12-hour clock.
std::string FormatDateTime(const std::string& format, TDateTime value);
// Reads "yyyy/mm/dd hh:nn:ss am/pm" (also "-" as date separator, without the
// seconds or the am/pm part, or a date alone); false when the text is none.
bool TryStrToDateTime(const std::string& text, TDateTime& value);
TDateTime StrToDateTime(const std::string& text); // raises EConvertError
