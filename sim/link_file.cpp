#include "link_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

bool placeLink(const std::string& linkPath, const std::string& target, std::string& error) {
    struct stat existing {};
    if (lstat(linkPath.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        error = linkPath + " exists and is not a symbolic link";
        return false;
    }
    const std::string temporary = linkPath + ".zkc-sim." + std::to_string(getpid());
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0 ||
        std::rename(temporary.c_str(), linkPath.c_str()) != 0) {
        error = linkPath + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

void removeLink(const std::string& linkPath, const std::string& target) {
    char pointsAt[PATH_MAX];
    const ssize_t length = readlink(linkPath.c_str(), pointsAt, sizeof pointsAt);
    if (length >= 0 && std::string(pointsAt, static_cast<std::size_t>(length)) == target) {
        unlink(linkPath.c_str());
    }
}
