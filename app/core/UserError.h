#pragma once

#include <stdexcept>
#include <string>

// An error whose what() is the exact text the operator is shown.
class UserError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Raised by the readers of our binary files when the content cannot be a valid file; the
// caller turns it into its own "Neplatny subor: ..." message.
class InvalidFile : public UserError {
public:
    InvalidFile() : UserError("Invalid file") {}
};
