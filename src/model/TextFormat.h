#pragma once

#include <cstdio>
#include <string>

// printf-style formatting into a std::string, for the scene's messages and
// read-out words; a text longer than 255 characters is cut there.
template <typename... Args> std::string textFormat(const char *pattern, Args... args)
{
    char text[256];
    std::snprintf(text, sizeof text, pattern, args...);
    return text;
}
