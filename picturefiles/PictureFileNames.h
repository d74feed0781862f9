#pragma once

#include <QString>

#include <filesystem>

// The windows' view of the table of picture kinds: the open dialog's filter and which
// file names are pictures (for a file dropped onto a window), and the conversions of
// file names between Qt and the picture files.

// "所有图片 (*.jpg *.jpeg ...)" with every kind's suffixes, then one filter for each kind
// that has its own line in the dialog.
QString OpenDialogFilter();

// Whether the name ends in the suffix of a kind we open, in any letter case.
bool IsPictureFileName(const QString& path);

// A path as the file system spells it, and back.
std::filesystem::path FileSystemPath(const QString& path);
QString DisplayPath(const std::filesystem::path& path);
