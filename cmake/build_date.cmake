# Writes OUTPUT, a header that defines ZKC_BUILD_DATE as the date of the
# commit being built, in the form of __DATE__ ("Dec 11 2026", "Dec  1
# 2026"), so that two builds of one commit give the same program. The date
# is SOURCE_DATE_EPOCH when set, else the commit's in git at SOURCE, else a
# fixed one. The header is rewritten only when the date changes.
#   cmake -DSOURCE=dir -DOUTPUT=file -P build_date.cmake
include(${CMAKE_CURRENT_LIST_DIR}/source_date.cmake)
# string(TIMESTAMP) takes its time from SOURCE_DATE_EPOCH.
string(TIMESTAMP month "%b" UTC)
string(TIMESTAMP day "%d" UTC)
string(TIMESTAMP year "%Y" UTC)
string(REGEX REPLACE "^0" " " day "${day}")
file(WRITE "${OUTPUT}.new" "#define ZKC_BUILD_DATE \"${month} ${day} ${year}\"\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
