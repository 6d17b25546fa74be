// The error the tag readers and writers raise to their callers.
#pragma once

#include <stdexcept>
#include <string>

class TagError : public std::runtime_error {
 public:
  explicit TagError(const std::string& text) : std::runtime_error(text) {}
};
