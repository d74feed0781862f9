#pragma once

#include <QString>

// What a save attempt did: the file written, or why nothing was, as the text to show.
struct SaveResult {
    bool saved = false;
    QString path;
    QString message;
};

// The failure text for an errno value from writing a file.
QString SaveFailureMessage(int error);
