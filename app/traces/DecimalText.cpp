#include "DecimalText.h"

#include <charconv>

namespace DecimalText {

namespace {

constexpr int kSignificantDigits = 6;
// Longest "%.6g" text: sign, six digits, point, "e-308".
constexpr int kMaxNumberLength = 32;

// The end of the number that starts at `begin`, or null when none does.
const char* parsePrefix(const char* begin, const char* end, double& value)
{
    // from_chars takes no plus sign; a sign after it would be a second sign.
    if (begin < end && *begin == '+') {
        ++begin;
        if (begin < end && (*begin == '+' || *begin == '-'))
            return nullptr;
    }
    const std::from_chars_result result = std::from_chars(begin, end, value, std::chars_format::general);
    return result.ec == std::errc() ? result.ptr : nullptr;
}

} // namespace

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void appendNumber(QByteArray& text, double value)
{
    char buffer[kMaxNumberLength];
    const std::to_chars_result result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, kSignificantDigits);
    text.append(buffer, int(result.ptr - buffer));
}

QString number(double value)
{
    QByteArray text;
    appendNumber(text, value);
    return QString::fromLatin1(text);
}

bool parseNumber(const char* begin, const char* end, double& value)
{
    double parsed = 0;
    if (begin == end || parsePrefix(begin, end, parsed) != end)
        return false;
    value = parsed;
    return true;
}

bool parseNumber(const QString& text, double& value)
{
    const QByteArray bytes = text.toUtf8();
    return parseNumber(bytes.constData(), bytes.constData() + bytes.size(), value);
}

double toNumber(const QString& text)
{
    double value = 0;
    return parseNumber(text, value) ? value : 0;
}

ReadStatus readNumber(const char*& position, const char* end, double& value)
{
    while (position < end && isSpace(*position))
        ++position;
    if (position == end)
        return ReadStatus::Missing;
    const char* numberEnd = parsePrefix(position, end, value);
    if (!numberEnd)
        return ReadStatus::Malformed;
    position = numberEnd;
    return ReadStatus::Parsed;
}

} // namespace DecimalText
