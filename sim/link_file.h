#pragma once

#include <string>

// Points linkPath at target, replacing a symlink already there (but no other
// kind of file) in one step, so a watcher never sees a half-made link.
bool placeLink(const std::string& linkPath, const std::string& target, std::string& error);
// Removes linkPath if it still points at target.
void removeLink(const std::string& linkPath, const std::string& target);
