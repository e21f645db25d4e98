# Writes OUTPUT, a header that defines ZKC_BUILD_DATE as the date of the
# commit being built, in the form of __DATE__ ("Dec 11 2026", "Dec  1
# 2026"), so that two builds of one commit give the same program. The date
# is SOURCE_DATE_EPOCH when set, else the commit's in git at SOURCE, else a
# fixed one. The header is rewritten only when the date changes.
#   cmake -DSOURCE=dir -DOUTPUT=file -P build_date.cmake
set(fallbackEpoch 1796947200)  # 2026-12-11, for a build outside git
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${SOURCE}" log -1 --format=%ct
                  OUTPUT_VARIABLE commitEpoch OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE gitStatus ERROR_QUIET)
  if(gitStatus EQUAL 0 AND commitEpoch MATCHES "^[0-9]+$")
    set(ENV{SOURCE_DATE_EPOCH} "${commitEpoch}")
  else()
    set(ENV{SOURCE_DATE_EPOCH} "${fallbackEpoch}")
  endif()
endif()
# string(TIMESTAMP) takes its time from SOURCE_DATE_EPOCH.
string(TIMESTAMP month "%b" UTC)
string(TIMESTAMP day "%d" UTC)
string(TIMESTAMP year "%Y" UTC)
string(REGEX REPLACE "^0" " " day "${day}")
file(WRITE "${OUTPUT}.new" "#define ZKC_BUILD_DATE \"${month} ${day} ${year}\"\n")
file(COPY_FILE "${OUTPUT}.new" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.new")
