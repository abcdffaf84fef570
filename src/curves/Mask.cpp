#include "curves/Mask.h"

#include "geometry/NumberText.h"

#include <charconv>
#include <cmath>

namespace {

const char *const example = "a mask reads 'M: c0 c1 ... cn' with an optional '/ d', for example '2: 1 3 3 1 / 4'";

// The words of the text after the colon: runs of other characters between
// spaces and commas, with every '/' a word of its own.
std::vector<std::string_view> wordsOf(std::string_view text)
{
    std::vector<std::string_view> words;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',') {
            ++i;
        } else if (c == '/') {
            words.push_back(text.substr(i, 1));
            ++i;
        } else {
            std::size_t end = i;
            while (end < text.size() && std::string_view(" \t\n\r,/").find(text[end]) == std::string_view::npos)
                ++end;
            words.push_back(text.substr(i, end - i));
            i = end;
        }
    }
    return words;
}

std::string quoted(std::string_view word)
{
    // A word of binary garbage stays one readable line.
    std::string out = "'";
    for (const char c : word.substr(0, 40))
        out += (c >= ' ' && c <= '~') ? c : '?';
    return out + (word.size() > 40 ? "...'" : "'");
}

// The number a whole word spells, or an error message.
std::string readNumber(std::string_view word, double &value)
{
    std::string_view digits = word;
    if (!digits.empty() && digits.front() == '+') {
        digits.remove_prefix(1);
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            return quoted(word) + " is not a number";
    }
    const char *end = digits.data() + digits.size();
    const std::from_chars_result read = std::from_chars(digits.data(), end, value);
    if (read.ec == std::errc::result_out_of_range)
        return quoted(word) + " is too large a number";
    if (read.ec != std::errc() || read.ptr != end || digits.empty())
        return quoted(word) + " is not a number";
    if (!std::isfinite(value))
        return quoted(word) + " is not a finite number";
    return {};
}

std::string trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\n\r");
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(" \t\n\r");
    return std::string(text.substr(first, last - first + 1));
}

} // namespace

Mask::Mask(int arity, std::vector<double> coefficients) : arity_(arity), coefficients_(std::move(coefficients)) {}

std::string Mask::problem(int arity, const std::vector<double> &coefficients)
{
    if (arity != 2 && arity != 3)
        return "the arity must be 2 or 3, not " + std::to_string(arity);
    if (coefficients.empty())
        return "the mask has no coefficients";
    if (coefficients.size() > maxCoefficients)
        return "the mask has " + std::to_string(coefficients.size()) + " coefficients, at most " +
               std::to_string(maxCoefficients) + " are allowed";
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        if (!std::isfinite(coefficients[i]))
            return "coefficient " + std::to_string(i) + " is not a finite number";
        if (std::abs(coefficients[i]) > largestCoefficient)
            return "coefficient " + std::to_string(i) + " is " + shortestText(coefficients[i]) +
                   ", larger than the largest allowed, 1e9";
    }
    return {};
}

Mask::Parsed Mask::parse(std::string_view text)
{
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos)
        return {std::nullopt, std::string("no ':' after the arity: ") + example};
    const std::string arityText = trimmed(text.substr(0, colon));
    int arity = 0;
    const char *arityEnd = arityText.data() + arityText.size();
    const std::from_chars_result read = std::from_chars(arityText.data(), arityEnd, arity);
    if (arityText.empty() || read.ec != std::errc() || read.ptr != arityEnd)
        return {std::nullopt, "the arity must be 2 or 3, not " + quoted(arityText)};
    if (arity != 2 && arity != 3)
        return {std::nullopt, "the arity must be 2 or 3, not " + arityText};

    const std::vector<std::string_view> words = wordsOf(text.substr(colon + 1));
    std::vector<double> coefficients;
    std::size_t i = 0;
    for (; i < words.size() && words[i] != "/"; ++i) {
        if (coefficients.size() == maxCoefficients)
            return {std::nullopt, "more than " + std::to_string(maxCoefficients) + " coefficients"};
        double value = 0.0;
        if (std::string error = readNumber(words[i], value); !error.empty())
            return {std::nullopt, error};
        coefficients.push_back(value);
    }
    if (coefficients.empty())
        return {std::nullopt, std::string("no coefficients after the colon: ") + example};
    if (i < words.size()) {
        if (i + 1 == words.size())
            return {std::nullopt, "no denominator after '/'"};
        if (i + 2 < words.size())
            return {std::nullopt, quoted(words[i + 2]) + " after the denominator: only one number may follow '/'"};
        double denominator = 0.0;
        if (std::string error = readNumber(words[i + 1], denominator); !error.empty())
            return {std::nullopt, "the denominator " + error};
        if (denominator == 0.0)
            return {std::nullopt, "the denominator is zero"};
        for (double &c : coefficients)
            c /= denominator;
    }
    if (std::string error = problem(arity, coefficients); !error.empty())
        return {std::nullopt, error};
    return {Mask(arity, std::move(coefficients)), {}};
}

std::string Mask::text() const
{
    std::string out = std::to_string(arity_) + ":";
    for (const double c : coefficients_) {
        out += ' ';
        out += shortestText(c);
    }
    return out;
}
