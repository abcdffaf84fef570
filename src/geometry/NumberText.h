#pragma once

#include <charconv>
#include <string>

// The shortest decimal text that reads back to exactly value ("0.1",
// "-0.0625", "1e-07"), as std::to_chars writes it. Infinity and NaN come
// out as "inf", "-inf" and "nan": callers that must not print them check
// std::isfinite first.
inline std::string shortestText(double value)
{
    char buffer[32];
    const std::to_chars_result written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}
