#pragma once

#include <filesystem>
#include <string>

// What a save attempt did: the file written, or why nothing was, as the text to show
// (UTF-8).
struct SaveResult {
    bool saved = false;
    std::filesystem::path path;
    std::string message;
};

// The failure text for an errno value from writing a file.
std::string SaveFailureMessage(int error);
