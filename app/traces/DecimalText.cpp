#include "DecimalText.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace DecimalText {

namespace {

constexpr int kSignificantDigits = 6;
// Longest "%.6g" text: sign, six digits, point, "e-308".
constexpr int kMaxNumberLength = 32;

// Every power of ten up to 1e22 is a double exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kMaxExactPower = 22;
constexpr std::uint64_t kMaxExactMantissa = std::uint64_t(1) << 53;
// More digits than this could overflow the 64-bit mantissa.
constexpr int kMaxMantissaDigits = 19;
// An exponent is only read up to this size; larger ones leave the fast path.
constexpr int kExponentLimit = 100000;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The common case of the files' numbers, read without from_chars: a sign,
// at most 19 digits with an optional point, an optional exponent, the digits
// forming an integer of at most 2^53 and the decimal exponent at most 22
// either way. Both the digits and the power of ten are then exact doubles, so
// one multiplication or division rounds to the nearest double, as from_chars
// does. Null, with nothing read, for any other text.
const char* parseExactDecimal(const char* p, const char* end, double& value)
{
    const bool negative = p < end && *p == '-';
    if (p < end && (*p == '-' || *p == '+'))
        ++p;
    std::uint64_t mantissa = 0;
    const char* const integerBegin = p;
    for (; p < end && isDigit(*p); ++p)
        mantissa = mantissa * 10 + std::uint64_t(*p - '0');
    int digits = int(p - integerBegin);
    int fractionDigits = 0;
    if (p < end && *p == '.') {
        const char* const fractionBegin = ++p;
        for (; p < end && isDigit(*p); ++p)
            mantissa = mantissa * 10 + std::uint64_t(*p - '0');
        fractionDigits = int(p - fractionBegin);
        digits += fractionDigits;
    }
    // Beyond 19 digits the mantissa may have wrapped around.
    if (digits == 0 || digits > kMaxMantissaDigits)
        return nullptr;

    int exponent = 0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        const bool negativeExponent = q < end && *q == '-';
        if (q < end && (*q == '-' || *q == '+'))
            ++q;
        // Without digits the 'e' is no part of the number.
        if (q < end && isDigit(*q)) {
            for (; q < end && isDigit(*q); ++q) {
                if (exponent >= kExponentLimit)
                    return nullptr;
                exponent = exponent * 10 + (*q - '0');
            }
            if (negativeExponent)
                exponent = -exponent;
            p = q;
        }
    }

    if (mantissa == 0) {
        value = negative ? -0.0 : 0.0;
        return p;
    }
    const int power = exponent - fractionDigits;
    if (mantissa > kMaxExactMantissa || power > kMaxExactPower || power < -kMaxExactPower)
        return nullptr;
    const double magnitude =
        power >= 0 ? double(mantissa) * kExactPowersOfTen[power] : double(mantissa) / kExactPowersOfTen[-power];
    value = negative ? -magnitude : magnitude;
    return p;
}

// The end of the number that starts at `begin`, or null when none does.
const char* parsePrefix(const char* begin, const char* end, double& value)
{
    if (const char* numberEnd = parseExactDecimal(begin, end, value))
        return numberEnd;
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

bool readNumbers(const char* begin, const char* end, double* values, int count)
{
    return readLineNumbers(begin, end, values, count) != nullptr;
}

const char* readLineNumbers(const char* begin, const char* end, double* values, int count)
{
    // A number never holds an LF, so it ends before the line's end.
    const char* position = begin;
    int i = 0;
    for (; i < count; ++i) {
        while (position < end && *position != '\n' && isSpace(*position))
            ++position;
        if (position == end || *position == '\n')
            break;
        position = parsePrefix(position, end, values[i]);
        if (!position)
            return nullptr;
    }
    std::fill(values + i, values + count, 0.0);
    while (position < end && *position != '\n')
        ++position;
    return position < end ? position + 1 : end;
}

} // namespace DecimalText
