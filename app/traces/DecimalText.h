#pragma once

#include <QByteArray>
#include <QString>

// Numbers as trace files hold them, independent of the process locale: a
// point as decimal separator, written like printf's "%g" with six
// significant digits (20, 0.001, 1e-05, 1e+06, 2.71828).
namespace DecimalText {

// The white space that separates numbers and ends lines: blank, TAB, CR, LF,
// vertical tab and form feed.
inline bool isSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Appends the number in "%g" with six significant digits.
void appendNumber(QByteArray& text, double value);
QString number(double value);

// The whole text is one number (an optional sign, digits with an optional
// point and exponent, or inf/nan); false otherwise.
bool parseNumber(const char* begin, const char* end, double& value);
bool parseNumber(const QString& text, double& value);
// 0 when the text is not a number.
double toNumber(const QString& text);

// Reads the first `count` numbers of a line (without its LF) into `values`
// the way a text stream reads them: white space skipped, the longest number
// at each place taken. The numbers the line lacks are 0, anything after the
// last one is ignored. False when something else than white space stands
// where a number should (a malformed number).
bool readNumbers(const char* begin, const char* end, double* values, int count);

// readNumbers for the line that starts at `begin` and ends at the next LF
// (or at `end`): the position after that LF, or null when a number of the
// line is malformed.
const char* readLineNumbers(const char* begin, const char* end, double* values, int count);

} // namespace DecimalText
