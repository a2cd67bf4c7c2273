#pragma once

#include <stdexcept>
#include <string>

// Raised when the text data is broken. The texts are compiled into the
// program, so this means a bad build: the program must not start with
// silently empty captions or messages.
class TextTableError : public std::runtime_error
{
public:
    explicit TextTableError(const std::string &what) : std::runtime_error(what) {}
};
