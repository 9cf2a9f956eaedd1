#pragma once

#include <string>

// Replaces the file at `path` with `content` so that readers see either the
// old file or the complete new one: the bytes go to a temporary file in the
// same directory, are flushed to the disk and then renamed over the target.
// Returns false, leaving the old file untouched, when any step fails.
bool WriteFileAtomically(const std::string &path, const std::string &content);
